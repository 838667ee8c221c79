#include "ShortCut.h"

#include <QKeyCombination>
#include <iterator>

namespace {

// The keys that are neither letters nor digits: virtual-key code, Qt's key, the name shown.
struct NamedKey {
    int code;
    Qt::Key key;
    const char* name;
};
constexpr NamedKey NamedKeys[] = {
    {0x08, Qt::Key_Backspace, "BkSp"}, {0x09, Qt::Key_Tab, "Tab"},
    {0x0D, Qt::Key_Return, "Enter"},   {0x1B, Qt::Key_Escape, "Esc"},
    {0x20, Qt::Key_Space, "Space"},    {0x21, Qt::Key_PageUp, "PgUp"},
    {0x22, Qt::Key_PageDown, "PgDn"},  {0x23, Qt::Key_End, "End"},
    {0x24, Qt::Key_Home, "Home"},      {0x25, Qt::Key_Left, "Left"},
    {0x26, Qt::Key_Up, "Up"},          {0x27, Qt::Key_Right, "Right"},
    {0x28, Qt::Key_Down, "Down"},      {0x2D, Qt::Key_Insert, "Ins"},
    {0x2E, Qt::Key_Delete, "Del"},
};

} // namespace

QKeyCombination ShortCutToKey(TShortCut shortCut) {
    const int code = shortCut & 0xFF;
    Qt::Key key = Qt::Key_unknown;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        key = static_cast<Qt::Key>(code); // Qt's keys for them are their ASCII codes too
    else if (code >= 0x70 && code <= 0x7B)
        key = static_cast<Qt::Key>(Qt::Key_F1 + code - 0x70);
    for (const NamedKey& named : NamedKeys)
        if (named.code == code) key = named.key;
    if (key == Qt::Key_unknown) return {};
    Qt::KeyboardModifiers modifiers;
    if (shortCut & scShift) modifiers |= Qt::ShiftModifier;
    if (shortCut & scCtrl) modifiers |= Qt::ControlModifier;
    if (shortCut & scAlt) modifiers |= Qt::AltModifier;
    return QKeyCombination(modifiers, key);
}

std::string ShortCutToText(TShortCut shortCut) {
    const int code = shortCut & 0xFF;
    std::string name;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        name = std::string(1, static_cast<char>(code));
    else if (code >= 0x70 && code <= 0x7B) // appended: GCC 12 at -O3 wrongly warns of "F" + temp
        name.append("F").append(std::to_string(code - 0x70 + 1));
    for (const NamedKey& named : NamedKeys)
        if (named.code == code) name = named.name;
    if (name.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

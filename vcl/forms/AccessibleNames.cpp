#include "AccessibleNames.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace {

// The role a widget tells in place of its class's own.
constexpr const char* RoleProperty = "kelvaneAccessibleRole";

// Consulted before Qt's own interfaces, for every class in the chain of the asked object's
// classes; it answers for the object's own class.
QAccessibleInterface* RoleFactory(const QString& className, QObject* object) {
    if (!object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    const QVariant role = object->property(RoleProperty);
    if (!role.isValid()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Role(role.toInt()));
}

void SetRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = (QAccessible::installFactory(RoleFactory), true);
    (void)installed;
    widget->setProperty(RoleProperty, int(role));
}

} // namespace

std::string CaptionWithoutMarker(std::string_view caption) {
    // "(&T)" at the end: the Japanese way of giving a caption its key.
    const std::size_t n = caption.size();
    if (n >= 4 && caption.substr(n - 4, 2) == "(&" && caption[n - 2] != '&' &&
        caption[n - 1] == ')')
        caption.remove_suffix(4);
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i; // "&&" keeps its second "&"
        text += caption[i];
    }
    return text;
}

void ShowAsSeparator(QWidget* widget) {
    SetRole(widget, QAccessible::Separator);
}

void ShowAsWindow(QWidget* widget, bool dialog) {
    SetRole(widget, dialog ? QAccessible::Dialog : QAccessible::Window);
}

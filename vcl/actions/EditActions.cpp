#include "EditActions.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

// Whether the clipboard holds text, asked of the clipboard's owner only when it changes: on a
// desktop that is a round trip to another program, and the actions ask at every idle moment.
class ClipboardWatch {
  public:
    ClipboardWatch() {
        QClipboard* clipboard = QApplication::clipboard();
        QObject::connect(clipboard, &QClipboard::dataChanged, clipboard,
                         [this] { known_ = false; });
    }
    bool HasText() {
        if (!known_) {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            hasText_ = data && data->hasText() && !data->text().isEmpty();
            known_ = true;
        }
        return hasText_;
    }

  private:
    bool known_ = false;
    bool hasText_ = false;
};

bool ClipboardHasText() {
    static ClipboardWatch watch;
    return watch.HasText();
}

// The widget with the focus in the active window; while a menu is open, the one it came from.
QWidget* FocusedWidget() {
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window()->windowType() != Qt::Popup) return focus;
    QWidget* window = QApplication::activeWindow();
    return window ? window->focusWidget() : nullptr;
}

QPlainTextEdit* AsView(QWidget* target) {
    return qobject_cast<QPlainTextEdit*>(target);
}

QLineEdit* AsBox(QWidget* target) {
    return qobject_cast<QLineEdit*>(target);
}

bool HasSelection(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target)) return view->textCursor().hasSelection();
    return AsBox(target)->hasSelectedText();
}

bool ReadOnly(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target)) return view->isReadOnly();
    return AsBox(target)->isReadOnly();
}

} // namespace

QWidget* TEditAction::Target() {
    QWidget* focus = FocusedWidget();
    if (AsView(focus)) return focus;
    if (AsBox(focus) && !qobject_cast<QComboBox*>(focus->parentWidget())) return focus;
    return nullptr;
}

void TEditAction::Update() {
    QWidget* target = Target();
    SetEnabled(target && EnabledFor(target));
}

void TEditAction::ExecuteTarget() {
    if (QWidget* target = Target()) ExecuteOn(target);
}

bool TEditCopy::EnabledFor(QWidget* target) const {
    return HasSelection(target);
}

void TEditCopy::ExecuteOn(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target))
        view->copy();
    else
        AsBox(target)->copy();
}

bool TEditCut::EnabledFor(QWidget* target) const {
    return HasSelection(target) && !ReadOnly(target);
}

void TEditCut::ExecuteOn(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target))
        view->cut();
    else
        AsBox(target)->cut();
}

bool TEditDelete::EnabledFor(QWidget* target) const {
    return HasSelection(target) && !ReadOnly(target);
}

void TEditDelete::ExecuteOn(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target))
        view->textCursor().removeSelectedText();
    else if (AsBox(target)->hasSelectedText())
        AsBox(target)->del();
}

bool TEditPaste::EnabledFor(QWidget* target) const {
    return !ReadOnly(target) && ClipboardHasText();
}

void TEditPaste::ExecuteOn(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target))
        view->paste();
    else
        AsBox(target)->paste();
}

bool TEditSelectAll::EnabledFor(QWidget* target) const {
    if (QPlainTextEdit* view = AsView(target)) return !view->document()->isEmpty();
    return !AsBox(target)->text().isEmpty();
}

void TEditSelectAll::ExecuteOn(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target))
        view->selectAll();
    else
        AsBox(target)->selectAll();
}

bool TEditUndo::EnabledFor(QWidget* target) const {
    if (ReadOnly(target)) return false;
    if (QPlainTextEdit* view = AsView(target)) return view->document()->isUndoAvailable();
    return AsBox(target)->isUndoAvailable();
}

void TEditUndo::ExecuteOn(QWidget* target) {
    if (QPlainTextEdit* view = AsView(target))
        view->undo();
    else
        AsBox(target)->undo();
}

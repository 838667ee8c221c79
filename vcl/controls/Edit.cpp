#include "Edit.h"

#include "Application.h"
#include "Cp932.h"
#include "ScreenGraphics.h"
#include "SingleLineValidator.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <functional>
#include <limits>

namespace {

class KeyFilter : public QObject {
  public:
    explicit KeyFilter(TEdit& edit) : edit_(edit) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !edit_.OnKeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        char ch;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            ch = 13;
        else if (key->text().size() == 1 && key->text().at(0).unicode() < 0x80)
            ch = static_cast<char>(key->text().at(0).unicode());
        else
            return false; // not a character of a single byte: the box takes it as usual
        bool swallow = false;
        RunEventHandler([&] {
            edit_.OnKeyPress(&edit_, ch);
            swallow = ch == 0;
        });
        return swallow;
    }

  private:
    TEdit& edit_;
};

// The box's widget tells of a click once it has taken the release itself: the press has placed
// the caret, a drag has made the selection. The second press of a double click comes as a
// double-click event, not as a press, so a double click is one click.
class EditWidget : public QLineEdit {
  public:
    std::function<void()> OnClick;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QLineEdit::mousePressEvent(event);
        pressed_ = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        if (!pressed_ || event->button() != Qt::LeftButton) return;
        pressed_ = false;
        if (rect().contains(event->position().toPoint()) && OnClick) OnClick();
    }

  private:
    bool pressed_ = false;
};

} // namespace

TEdit::TEdit() : TControl(new EditWidget), edit_(static_cast<QLineEdit*>(Widget())) {
    edit_->setMaxLength(std::numeric_limits<int>::max()); // no limit of its own
    edit_->setValidator(new SingleLineValidator(edit_));  // a pasted line break ends the paste
    keyFilter_ = std::make_unique<KeyFilter>(*this);
    edit_->installEventFilter(keyFilter_.get());
    static_cast<EditWidget*>(edit_)->OnClick = [this] {
        if (OnClick) RunEventHandler([this] { OnClick(this); });
    };
}

TEdit::~TEdit() {
    if (edit_) {
        edit_->removeEventFilter(keyFilter_.get());
        static_cast<EditWidget*>(edit_)->OnClick = nullptr;
    }
}

std::string TEdit::Text() const {
    return ScreenToCp932(edit_->text());
}

void TEdit::SetText(const std::string& text) {
    edit_->setText(Cp932ToScreen(text));
}

bool TEdit::ReadOnly() const {
    return edit_->isReadOnly();
}

// The box sets its own pointer when it turns read-only; a pointer the form chose stays.
void TEdit::SetReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
    if (Cursor() != crDefault) SetCursor(Cursor());
}

TBorderStyle TEdit::BorderStyle() const {
    return edit_->hasFrame() ? TBorderStyle::Single : TBorderStyle::None;
}

void TEdit::SetBorderStyle(TBorderStyle style) {
    edit_->setFrame(style == TBorderStyle::Single);
}

void TEdit::SetColor(TColor color) {
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, ColorOnScreen(color));
    edit_->setPalette(palette);
    edit_->setAutoFillBackground(true);
}

#include "Edit.h"

#include "Application.h"
#include "Cp932.h"
#include "SingleLineValidator.h"

#include <QKeyEvent>
#include <QLineEdit>
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

} // namespace

TEdit::TEdit() : TControl(new QLineEdit), edit_(static_cast<QLineEdit*>(Widget())) {
    edit_->setMaxLength(std::numeric_limits<int>::max()); // no limit of its own
    edit_->setValidator(new SingleLineValidator(edit_));  // a pasted line break ends the paste
    keyFilter_ = std::make_unique<KeyFilter>(*this);
    edit_->installEventFilter(keyFilter_.get());
}

TEdit::~TEdit() {
    if (edit_) edit_->removeEventFilter(keyFilter_.get());
}

std::string TEdit::Text() const {
    return ScreenToCp932(edit_->text());
}

void TEdit::SetText(const std::string& text) {
    edit_->setText(Cp932ToScreen(text));
}

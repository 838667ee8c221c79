#include "ToolBar.h"

#include "MenuItem.h"
#include "ToolButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// The letter marked by "&" in a caption ("&&" is an "&" of its own), upper case; 0 for none.
char Accelerator(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return static_cast<char>(std::toupper(caption[i + 1]));
        ++i;
    }
    return 0;
}

} // namespace

// Watches the keys of the bar's window for the menus' keyboard mode.
class TToolBar::MenuKeys : public QObject {
  public:
    explicit MenuKeys(TToolBar& bar) : bar_(bar) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != bar_.Widget()->window()) return false;
        switch (event->type()) {
        case QEvent::ShortcutOverride: // a key of a shortcut, such as Alt+F: not Alt alone
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (event->type() == QEvent::KeyPress && bar_.highlighted_ >= 0) return InMode(*key);
            altAlone_ = key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == 0;
            return false;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Alt || !altAlone_) return bar_.highlighted_ >= 0;
            altAlone_ = false;
            bar_.Highlight(bar_.highlighted_ >= 0 ? -1 : 0);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::WindowDeactivate:
            altAlone_ = false;
            bar_.Highlight(-1);
            return false;
        default:
            return false;
        }
    }

  private:
    // While a button is highlighted the keys are the menus'.
    bool InMode(const QKeyEvent& key) {
        const std::vector<TToolButton*> buttons = bar_.MenuButtons();
        const int count = static_cast<int>(buttons.size());
        const int at = bar_.highlighted_;
        switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            Open(buttons[static_cast<std::size_t>(at)]);
            return true;
        case Qt::Key_Left:
            bar_.Highlight((at + count - 1) % count);
            return true;
        case Qt::Key_Right:
            bar_.Highlight((at + 1) % count);
            return true;
        case Qt::Key_Alt:
            altAlone_ = true; // its release leaves the mode
            return true;
        default:
            break;
        }
        for (TToolButton* button : buttons)
            if (key.key() < 0x80 && Accelerator(button->Caption()) == std::toupper(key.key())) {
                Open(button);
                return true;
            }
        bar_.Highlight(-1); // Esc, or a key that is no menu's
        return true;
    }

    void Open(TToolButton* button) {
        bar_.Highlight(-1);
        button->DropDown();
    }

    TToolBar& bar_;
    bool altAlone_ = false;
};

TToolBar::TToolBar() : TControl(new QWidget) {}

TToolBar::~TToolBar() {
    if (menuKeys_ && QApplication::instance())
        QApplication::instance()->removeEventFilter(menuKeys_.get());
}

void TToolBar::Add(TControl* control) {
    const QPoint place = control->Widget()->pos();
    control->Widget()->setParent(Widget());
    control->Widget()->move(place);
    controls_.push_back(control);
    auto* button = dynamic_cast<TToolButton*>(control);
    if (!button) return;
    button->SetBar(this);
    if (button->MenuItem() && !menuKeys_) {
        menuKeys_ = std::make_unique<MenuKeys>(*this);
        QApplication::instance()->installEventFilter(menuKeys_.get());
    }
}

std::vector<TToolButton*> TToolBar::MenuButtons() const {
    std::vector<TToolButton*> buttons;
    for (TControl* control : controls_)
        if (auto* button = dynamic_cast<TToolButton*>(control); button && button->MenuItem())
            buttons.push_back(button);
    return buttons;
}

void TToolBar::Highlight(int index) {
    highlighted_ = index;
    const std::vector<TToolButton*> buttons = MenuButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->SetHighlighted(static_cast<int>(i) == index);
}

void TToolBar::SetShowCaptions(bool show) {
    showCaptions_ = show;
    Refresh();
}

void TToolBar::SetImages(const TImageList* images) {
    images_ = images;
    Refresh();
}

void TToolBar::Refresh() {
    for (TControl* control : controls_)
        if (auto* button = dynamic_cast<TToolButton*>(control)) button->SetBar(this);
}

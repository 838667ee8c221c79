#include "Form.h"

#include "Application.h"
#include "Cp932.h"
#include "ScreenGraphics.h"
#include "SjisText.h"

#include <QEvent>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace {

// The window's property that leads from its widgets back to the form.
constexpr char FormProperty[] = "kelvaneForm";

} // namespace

// Ends a modal showing when the window goes away by any other way than its result: the close
// box, the system menu or Close() hide it.
class TForm::ModalEnd : public QObject {
  public:
    explicit ModalEnd(TForm& form) : form_(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && !event->spontaneous() && form_.modalLoop_) {
            if (form_.modalResult_ == mrNone) form_.modalResult_ = mrCancel;
            form_.modalLoop_->quit();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    TForm& form_;
};

TForm::TForm() : window_(std::make_unique<QWidget>()), layout_(new QVBoxLayout(window_.get())) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    window_->setProperty(FormProperty, QVariant::fromValue(static_cast<void*>(this)));
    if (Application) Application->RegisterForm(this);
}

// Components go in the reverse order of their making: a later one may refer to an earlier one
// (an entry to its action, a button to its menu), never the other way round.
TForm::~TForm() {
    while (!components_.empty())
        components_.pop_back();
    if (Application) Application->UnregisterForm(this);
}

std::string TForm::Caption() const {
    return ScreenToCp932(window_->windowTitle());
}

void TForm::SetCaption(const std::string& caption) {
    window_->setWindowTitle(Cp932ToScreen(caption));
}

void TForm::SetClientSize(int width, int height) {
    if (borderStyle_ == TFormBorderStyle::Dialog)
        window_->setFixedSize(width, height);
    else
        window_->resize(width, height);
}

int TForm::ClientWidth() const {
    return window_->width();
}

int TForm::ClientHeight() const {
    return window_->height();
}

void TForm::SetPlace(int left, int top) {
    window_->move(left, top); // a top-level widget's position is its frame's
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    if (style == TFormBorderStyle::Dialog) {
        window_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
        window_->setFixedSize(window_->size());
    } else {
        window_->setWindowFlags(Qt::Window);
    }
}

void TForm::SetFont(const TFont& font) {
    font_ = font;
    window_->setFont(FontOnScreen(font));
    QPalette palette = window_->palette();
    palette.setColor(QPalette::WindowText, ColorOnScreen(font.Color));
    window_->setPalette(palette);
}

void TForm::SetColor(TColor color) {
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, ColorOnScreen(color));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
}

void TForm::SetIcon(const char* const* xpm) {
    window_->setWindowIcon(QIcon(QPixmap(xpm)));
}

void TForm::SetPosition(TPosition position) {
    position_ = position;
}

void TForm::SetActiveControl(TControl* control) {
    activeControl_ = control;
}

void TForm::Show() {
    BeforeFirstShowing();
    window_->show();
}

bool TForm::Visible() const {
    return window_->isVisible();
}

void TForm::Close() {
    window_->close();
}

TModalResult TForm::ShowModal() {
    if (window_->isVisible())
        throw Exception(SjisText("表示されているウィンドウはモーダルにできません"));
    modalResult_ = mrNone;
    BeforeFirstShowing();
    StayAboveMainForm();
    QEventLoop loop;
    ModalEnd end(*this);
    window_->installEventFilter(&end);
    window_->setWindowModality(Qt::ApplicationModal);
    modalLoop_ = &loop;
    window_->show();
    window_->activateWindow();
    if (modalResult_ == mrNone && window_->isVisible()) loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    window_->removeEventFilter(&end);
    window_->hide();
    window_->setWindowModality(Qt::NonModal);
    return modalResult_;
}

// The window goes at once, as the button that ended the showing is let go.
void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (result == mrNone || !modalLoop_) return;
    modalLoop_->quit();
    window_->hide();
}

TForm* TForm::FormOf(const QWidget* widget) {
    if (!widget) return nullptr;
    return static_cast<TForm*>(widget->window()->property(FormProperty).value<void*>());
}

void TForm::BeforeFirstShowing() {
    if (shownBefore_) return;
    shownBefore_ = true;
    if (position_ == TPosition::ScreenCenter) CentreOnScreen();
    if (activeControl_) activeControl_->SetFocus();
}

// The frame is centred where its size is known before the first showing; where the window manager
// tells it only later, the window itself is.
void TForm::CentreOnScreen() {
    window_->winId(); // gives the window its handle
    const QMargins frame = window_->windowHandle()->frameMargins();
    const QSize outside = window_->size().grownBy(frame);
    const QRect screen = window_->screen()->availableGeometry();
    window_->move(screen.left() + (screen.width() - outside.width()) / 2,
                  screen.top() + (screen.height() - outside.height()) / 2);
}

// The window manager keeps a modal window above the main window it belongs to.
void TForm::StayAboveMainForm() {
    const TForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || main == this || !main->window_->windowHandle()) return;
    window_->winId(); // gives the window its handle
    window_->windowHandle()->setTransientParent(main->window_->windowHandle());
}

void TForm::Align(TControl* control, TAlign align) {
    switch (align) {
    case TAlign::Top:
        layout_->insertWidget(topCount_++, control->Widget());
        break;
    case TAlign::Client:
        layout_->insertWidget(topCount_, control->Widget(), 1);
        break;
    case TAlign::Bottom:
        layout_->addWidget(control->Widget());
        break;
    }
}

void TForm::SetTabOrder(std::initializer_list<TControl*> order) {
    const TControl* previous = nullptr;
    for (TControl* control : order) {
        if (previous) QWidget::setTabOrder(previous->Widget(), control->Widget());
        previous = control;
    }
}

void TForm::Put(TControl* control) {
    control->Widget()->setParent(window_.get());
}

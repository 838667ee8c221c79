#pragma once
// A top-level window and the components it owns. Controls are stacked by their alignment: the
// top ones first, then the one that fills the rest, then the bottom ones.

#include "Color.h"
#include "Control.h"
#include "Font.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class QEventLoop;
class QWidget;
class QVBoxLayout;

enum class TAlign { Top, Client, Bottom };
enum class TFormBorderStyle { Sizeable, Dialog };
// Where a window first appears: where SetPlace put it, or in the middle of the screen.
enum class TPosition { Designed, ScreenCenter };

// How a modal showing ended: mrNone while it goes on, mrOk from an OK button, mrCancel when the
// window was closed.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

class TForm {
  public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    QWidget* Widget() const { return window_.get(); }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The client area's size: the window manager's frame comes around it. A dialog frame keeps
    // the window at this size.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    // Where the frame's top-left corner goes on the screen.
    void SetPlace(int left, int top);
    void SetBorderStyle(TFormBorderStyle style);
    // Every control takes this font unless it has one of its own.
    void SetFont(const TFont& font);
    TFont Font() const { return font_; }
    void SetColor(TColor color);
    // The window's icon, an XPM picture.
    void SetIcon(const char* const* xpm);

    // The screen centring is used up by the first showing: later showings find the window where
    // it was left.
    void SetPosition(TPosition position);
    // The control that has the focus when the window is first shown.
    void SetActiveControl(TControl* control);
    TControl* ActiveControl() const { return activeControl_; }

    void Show();
    bool Visible() const;
    void Close();

    // Shows the window modally: input to the other windows waits until a button with a modal
    // result is pressed or the window is closed (mrCancel), while events go on (a lookup keeps
    // receiving). The window is then hidden, not destroyed. Fails for a window already shown.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    // A result other than mrNone ends the modal showing in progress.
    void SetModalResult(TModalResult result);
    // The form whose window holds `widget`, or null.
    static TForm* FormOf(const QWidget* widget);

  protected:
    // Creates a component owned by this form for its whole life.
    template <class T, class... Args> T* Make(Args&&... args) {
        auto component = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = component.get();
        components_.push_back(std::move(component));
        return raw;
    }
    // Places a control on the window by its alignment, in the order of the calls.
    void Align(TControl* control, TAlign align);
    // Tab goes from each control to the next in this order, and from the last to the first.
    void SetTabOrder(std::initializer_list<TControl*> order);
    // Puts a control on the window at its own bounds, apart from the aligned ones.
    void Put(TControl* control);

  private:
    class ModalEnd;
    void BeforeFirstShowing();
    void CentreOnScreen();
    void StayAboveMainForm();

    std::unique_ptr<QWidget> window_;
    QVBoxLayout* layout_;
    int topCount_ = 0;
    TFont font_;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::Sizeable;
    TPosition position_ = TPosition::Designed;
    TControl* activeControl_ = nullptr;
    bool shownBefore_ = false;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;                     // while a modal showing goes on
    std::vector<std::unique_ptr<TComponent>> components_; // destroyed before the window
};

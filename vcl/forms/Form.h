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

class QWidget;
class QVBoxLayout;

enum class TAlign { Top, Client, Bottom };
enum class TFormBorderStyle { Sizeable, Dialog };

class TForm {
  public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    QWidget* Widget() const { return window_.get(); }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The client area's size: the window manager's frame comes around it.
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

    void Show();
    bool Visible() const;
    void Close();

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

  private:
    std::unique_ptr<QWidget> window_;
    QVBoxLayout* layout_;
    int topCount_ = 0;
    TFont font_;
    std::vector<std::unique_ptr<TComponent>> components_; // destroyed before the window
};

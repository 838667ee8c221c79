#pragma once
// A top-level window and the components it owns. Controls are stacked by their alignment: the
// top ones first, then the one that fills the rest, then the bottom ones.

#include "Control.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class QVBoxLayout;

enum class TAlign { Top, Client, Bottom };

class TForm {
  public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    QWidget* Widget() const { return window_.get(); }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void SetBounds(int left, int top, int width, int height);
    void Show();
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

  private:
    std::unique_ptr<QWidget> window_;
    QVBoxLayout* layout_;
    int topCount_ = 0;
    std::vector<std::unique_ptr<TComponent>> components_; // destroyed before the window
};

#pragma once
// Base of the framework's components, and of the controls: a control stands for the Qt widget
// behind it. The widget belongs to its parent widget; the wrapper only points to it.

#include <string>

class QWidget;

class TComponent {
  public:
    virtual ~TComponent() = default;
};

class TControl : public TComponent {
  public:
    QWidget* Widget() const { return widget_; }
    void SetBounds(int left, int top, int width, int height);
    // A tooltip; only the controls that show hints get one.
    void SetHint(const std::string& hint);
    void SetFocus();

  protected:
    explicit TControl(QWidget* widget) : widget_(widget) {}

  private:
    QWidget* widget_;
};

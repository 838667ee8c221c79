#pragma once
// Base of the framework's components, and of the controls: a control stands for the Qt widget
// behind it. The widget belongs to its parent widget; the wrapper only points to it. A control
// keeps what the forms set on it (its hint, whether hints show, its own font) and shows it.

#include "Font.h"

#include <functional>
#include <optional>
#include <string>

class QWidget;

class TComponent {
  public:
    virtual ~TComponent() = default;
};

// The event of a click or of a command, with the component that raised it.
using TNotifyEvent = std::function<void(TComponent* Sender)>;

// The mouse pointer over a control: its own kind (crDefault), or the hand of a link.
enum TCursor : int { crDefault = 0, crHandPoint = -21 };

class TControl : public TComponent {
  public:
    QWidget* Widget() const { return widget_; }

    // Place and size in pixels within the parent's client area.
    void SetBounds(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // The hint shows as a tooltip only where ShowHint is on; a control takes ShowHint from its
    // parent unless it sets its own, and the forms leave it off.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    // A font of the control's own; without one it takes its parent's.
    void SetFont(const TFont& font);
    TFont Font() const;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    bool Focused() const;

  protected:
    explicit TControl(QWidget* widget) : widget_(widget) {}

  private:
    void ShowToolTip();

    QWidget* widget_;
    std::string hint_;
    bool showHint_ = false;
    std::optional<TFont> font_;
    TCursor cursor_ = crDefault;
};

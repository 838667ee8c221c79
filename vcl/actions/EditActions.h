#pragma once
// The standard edit commands. Their target is the edit control that has the keyboard focus (a
// text view or a single-line box; a combo box's text field is none), so a command started from a
// tool button or a menu, which never take the focus, acts on the control that had it. Without a
// target they are disabled.

#include "Action.h"

class QWidget;

class TEditAction : public TAction {
  public:
    void Update() override;

  protected:
    // The edit control with the focus, or null.
    static QWidget* Target();
    // Whether the action can run on `target`.
    virtual bool EnabledFor(QWidget* target) const = 0;
    // Runs the action on `target`.
    virtual void ExecuteOn(QWidget* target) = 0;

  private:
    void ExecuteTarget() final;
};

// Copies the selection to the clipboard; enabled when something is selected.
class TEditCopy : public TEditAction {
    bool EnabledFor(QWidget* target) const override;
    void ExecuteOn(QWidget* target) override;
};

// Moves the selection to the clipboard; enabled when something is selected.
class TEditCut : public TEditAction {
    bool EnabledFor(QWidget* target) const override;
    void ExecuteOn(QWidget* target) override;
};

// Removes the selection without touching the clipboard; enabled when something is selected.
class TEditDelete : public TEditAction {
    bool EnabledFor(QWidget* target) const override;
    void ExecuteOn(QWidget* target) override;
};

// Puts the clipboard's text in place of the selection; enabled when the clipboard holds text.
class TEditPaste : public TEditAction {
    bool EnabledFor(QWidget* target) const override;
    void ExecuteOn(QWidget* target) override;
};

// Selects the whole text; enabled when there is text.
class TEditSelectAll : public TEditAction {
    bool EnabledFor(QWidget* target) const override;
    void ExecuteOn(QWidget* target) override;
};

// Takes back the target's last change; enabled when there is one to take back.
class TEditUndo : public TEditAction {
    bool EnabledFor(QWidget* target) const override;
    void ExecuteOn(QWidget* target) override;
};

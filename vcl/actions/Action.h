#pragma once
// A command with what its controls show of it: caption, hint, picture, shortcut and whether it
// can run now. Buttons and menu entries bound to an action show these and run it; they hear of
// every change. Whether an action can run is worked out again by Update (when the program goes
// idle, when a menu drops down, right before it runs).

#include "Control.h"
#include "ShortCut.h"

#include <functional>
#include <map>
#include <string>

class TAction : public TComponent {
  public:
    std::string Category; // groups actions for their author; nothing at run time

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnExecute;

    // Works out whether the action can run now.
    virtual void Update() {}
    // Updates, then runs the action when it is enabled; true when it ran. An exception of the
    // command goes to the error box.
    bool Execute();

    // Called after every change of what the action shows; the key removes the call.
    int AddClient(std::function<void()> changed);
    void RemoveClient(int key);

  protected:
    // What the action does; by default its OnExecute.
    virtual void ExecuteTarget();

  private:
    void Changed();

    std::string caption_;
    std::string hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    bool enabled_ = true;
    std::map<int, std::function<void()>> clients_;
    int nextClient_ = 0;
};

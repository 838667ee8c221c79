#pragma once
// The actions of a window, in order, with the image list their pictures come from. Every key
// pressed in the window is first offered to the actions' shortcuts, before the control with the
// focus sees it: the first action whose shortcut it is runs when it is enabled and the key is
// spent; when that action is disabled the key goes on to the control as an ordinary key. Whether
// each action can run is worked out again whenever the program goes idle.

#include "Action.h"

#include <memory>
#include <vector>

class QObject;
class TForm;
class TImageList;

class TActionList : public TComponent {
  public:
    explicit TActionList(TForm* owner);
    ~TActionList() override;

    void SetImages(const TImageList* images) { images_ = images; }
    const TImageList* Images() const { return images_; }

    // Appends `action` to the list; the list does not own it.
    void Add(TAction* action);
    const std::vector<TAction*>& Actions() const { return actions_; }

    // Updates every action.
    void UpdateActions();

  private:
    class KeyFilter;

    TForm* owner_;
    const TImageList* images_ = nullptr;
    std::vector<TAction*> actions_;
    std::unique_ptr<KeyFilter> keys_;
    std::unique_ptr<QObject> idle_; // the context of the idle connection
};

#include "Action.h"

#include "Application.h"

void TAction::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}

void TAction::SetHint(const std::string& hint) {
    hint_ = hint;
    Changed();
}

void TAction::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed();
}

void TAction::SetShortCut(TShortCut shortCut) {
    shortCut_ = shortCut;
    Changed();
}

// The controls bound to the action redraw only when it really changes: Update runs whenever the
// program goes idle.
void TAction::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed();
}

bool TAction::Execute() {
    Update();
    if (!enabled_) return false;
    RunEventHandler([this] { ExecuteTarget(); });
    return true;
}

void TAction::ExecuteTarget() {
    if (OnExecute) OnExecute(this);
}

int TAction::AddClient(std::function<void()> changed) {
    clients_.emplace(nextClient_, std::move(changed));
    return nextClient_++;
}

void TAction::RemoveClient(int key) {
    clients_.erase(key);
}

void TAction::Changed() {
    for (const auto& [key, changed] : clients_)
        changed();
}

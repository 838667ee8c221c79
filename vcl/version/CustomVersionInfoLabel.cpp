#include "CustomVersionInfoLabel.h"

#include "VersionInfo.h"

TCustomVersionInfoLabel::TCustomVersionInfoLabel(std::string key) : key_(std::move(key)) {
    SetShowAccelChar(false);
}

TCustomVersionInfoLabel::~TCustomVersionInfoLabel() {
    if (source_) source_->Unbind(this);
}

void TCustomVersionInfoLabel::SetVersionInfo(TVersionInfo* source) {
    if (source == source_) return;
    if (source_) source_->Unbind(this);
    source_ = source;
    if (source_) source_->Bind(this);
    AdjustText();
}

std::string TCustomVersionInfoLabel::LabelText() const {
    return source_ ? source_->StringValue(key_) : std::string();
}

void TCustomVersionInfoLabel::SourceDestroyed() {
    source_ = nullptr;
    AdjustText();
}

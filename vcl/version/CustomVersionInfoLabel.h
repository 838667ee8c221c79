#pragma once
// A label that shows one string of a version-data source: the value of its key in the source's
// first translation, "&" drawn as itself. Reading the data is the source's business.

#include "Label.h"

#include <string>

class TVersionInfo;

class TCustomVersionInfoLabel : public TLabel {
  public:
    ~TCustomVersionInfoLabel() override;
    TCustomVersionInfoLabel(const TCustomVersionInfoLabel&) = delete;
    TCustomVersionInfoLabel& operator=(const TCustomVersionInfoLabel&) = delete;

    // The source this label shows; null shows nothing. Binding shows the source's string at once,
    // and every read or clearing of the source's data shows it again.
    TVersionInfo* VersionInfo() const { return source_; }
    void SetVersionInfo(TVersionInfo* source);

    const std::string& Key() const { return key_; }
    // The source's string for the key; the caption is never drawn.
    std::string LabelText() const override;

  protected:
    explicit TCustomVersionInfoLabel(std::string key);

  private:
    friend class TVersionInfo;
    void SourceChanged() { AdjustText(); }
    void SourceDestroyed();

    std::string key_;
    TVersionInfo* source_ = nullptr;
};

#pragma once
// The version data of an executable file, read from the file when enabled, and the strings of its
// first translation for the labels bound to it. The block's layout is TVersionBlock's business,
// finding it in the file ReadElfSection's; what a label shows is the label's.

#include "Control.h"
#include "VersionBlock.h"

#include <optional>
#include <string>
#include <vector>

class TCustomVersionInfoLabel;

// The section of an executable that holds its version block.
inline constexpr const char* VersionSectionName = ".versioninfo";

class TVersionInfo : public TComponent {
  public:
    TVersionInfo() = default;
    // The bound labels lose their binding and show nothing.
    ~TVersionInfo() override;
    TVersionInfo(const TVersionInfo&) = delete;
    TVersionInfo& operator=(const TVersionInfo&) = delete;

    // Enabling reads the data once from the file on disk; disabling forgets it. Setting the value
    // it already has does nothing. A file without a version section gives no data and no error;
    // any other failure to read is an EOSError, and the source stays disabled without data.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Empty (the default) means the running program's own file. While enabled, a new name reads
    // the new file; when that fails the name and the data stay as they were.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName);

    bool HasData() const { return data_.has_value(); }
    // The first translation's key, "%.4X%.4X" of language and code page ("041103A4"); empty
    // without data or without a translation list.
    std::string TranslationKey() const;
    // The value of `key` in the first translation, up to its first NUL, in code page 932; empty
    // when disabled, without data, or when the key is not there.
    std::string StringValue(const std::string& key) const;

  private:
    friend class TCustomVersionInfoLabel;
    void Bind(TCustomVersionInfoLabel* label);
    void Unbind(TCustomVersionInfoLabel* label);
    std::optional<TVersionBlock> Read(const std::string& fileName) const;
    void Changed();

    bool enabled_ = false;
    std::string fileName_;
    std::optional<TVersionBlock> data_;
    std::vector<TCustomVersionInfoLabel*> labels_;
};

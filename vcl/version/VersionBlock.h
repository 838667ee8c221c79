#pragma once
// A Windows version resource (VS_VERSIONINFO) taken apart: its tree of keyed entries, the fixed
// part and the translations, with lookup by path as the system's version calls offer it. Where the
// bytes come from is left to others; the values stay UTF-16 as stored.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One entry of the tree: its key, whether its value is text, its value's bytes as stored
// (UTF-16LE for text) and its children in stored order.
struct TVersionEntry {
    std::u16string Key;
    bool IsText = false;
    std::string Value;
    std::vector<TVersionEntry> Children;

    // The value as UTF-16, every character kept (a final NUL too).
    std::u16string Text() const;
};

// VS_FIXEDFILEINFO, field by field.
struct TFixedFileInfo {
    std::uint32_t Signature, StrucVersion, FileVersionMS, FileVersionLS, ProductVersionMS,
        ProductVersionLS, FileFlagsMask, FileFlags, FileOS, FileType, FileSubtype, FileDateMS,
        FileDateLS;
};

class TVersionBlock {
  public:
    // Takes the block from the start of `bytes` (anything after its length is ignored). Fails
    // with EOSError ERROR_INVALID_DATA when an entry's lengths do not fit, a key has no final
    // NUL, the root is not "VS_VERSION_INFO" or its fixed part is not a VS_FIXEDFILEINFO.
    explicit TVersionBlock(std::string_view bytes);

    const TVersionEntry& Root() const { return root_; }
    // Nullopt when the root carries no fixed part.
    const std::optional<TFixedFileInfo>& FixedFileInfo() const { return fixed_; }
    // The entry at a path of keys separated by "\" ("\StringFileInfo\041103A4\FileVersion"),
    // keys compared without regard to the case of ASCII letters, as the system does; "\" is the
    // root. Null when there is none.
    const TVersionEntry* Find(std::u16string_view path) const;
    // "\VarFileInfo\Translation" as (language, code page) pairs; empty when there is none.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> Translations() const;

  private:
    TVersionEntry root_;
    std::optional<TFixedFileInfo> fixed_;
};

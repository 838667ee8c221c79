#include "VersionBlockWriter.h"

#include <cstdio>
#include <stdexcept>
#include <string_view>

// The layout, all numbers little-endian. Every entry of the tree is
//   WORD wLength        bytes of the entry, from wLength to the end of its last child
//   WORD wValueLength   size of the value: in characters with the final NUL for text, else bytes
//   WORD wType          1 text, 0 binary
//   WCHAR szKey[]       UTF-16 with a final NUL
//   padding to a multiple of 4 from the start of the block
//   the value
//   the children, each starting at a multiple of 4
// The tree of a version resource:
//   "VS_VERSION_INFO"   binary, value VS_FIXEDFILEINFO (13 DWORDs, 52 bytes)
//     "StringFileInfo"    text, no value
//       "041103A4"          text, no value: the strings of language 0x0411, code page 932
//         "<key>"             text, value the string
//     "VarFileInfo"       text, no value
//       "Translation"       binary, value pairs of WORDs: language, code page

namespace {

constexpr std::uint32_t FixedSignature = 0xFEEF04BD;
constexpr std::uint32_t FixedStructVersion = 0x00010000; // 1.0
constexpr std::uint16_t Binary = 0;
constexpr std::uint16_t Text = 1;

void PutWord(std::string& out, std::uint16_t w) {
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>(w >> 8);
}

void PutDword(std::string& out, std::uint32_t d) {
    PutWord(out, static_cast<std::uint16_t>(d & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(d >> 16));
}

void PutUtf16(std::string& out, std::u16string_view s) {
    for (char16_t c : s)
        PutWord(out, c);
    PutWord(out, 0);
}

void Align(std::string& out) {
    while (out.size() % 4 != 0)
        out += '\0';
}

// One entry with its children; since every entry starts at a multiple of 4 within the block,
// padding counted from the entry's own start is padding counted from the block's start.
std::string Entry(std::u16string_view key, std::uint16_t type, std::uint16_t valueLength,
                  std::string_view value, const std::vector<std::string>& children = {}) {
    std::string out(2, '\0'); // wLength, set below
    PutWord(out, valueLength);
    PutWord(out, type);
    PutUtf16(out, key);
    Align(out);
    out += value;
    for (const std::string& child : children) {
        Align(out);
        out += child;
    }
    if (out.size() > 0xFFFF) throw std::length_error("version block larger than 65535 bytes");
    out[0] = static_cast<char>(out.size() & 0xFF);
    out[1] = static_cast<char>(out.size() >> 8);
    return out;
}

std::string StringEntry(std::u16string_view key, std::u16string_view value) {
    std::string bytes;
    PutUtf16(bytes, value);
    if (value.size() + 1 > 0xFFFF) throw std::length_error("version string too long");
    return Entry(key, Text, static_cast<std::uint16_t>(value.size() + 1), bytes);
}

std::uint32_t High(const std::array<std::uint16_t, 4>& v) {
    return static_cast<std::uint32_t>(v[0]) << 16 | v[1];
}

std::uint32_t Low(const std::array<std::uint16_t, 4>& v) {
    return static_cast<std::uint32_t>(v[2]) << 16 | v[3];
}

std::string FixedFileInfo(const TVersionData& data) {
    std::string out;
    for (std::uint32_t d :
         {FixedSignature, FixedStructVersion, High(data.FileVersion), Low(data.FileVersion),
          High(data.ProductVersion), Low(data.ProductVersion), data.FileFlagsMask, data.FileFlags,
          data.FileOS, data.FileType, data.FileSubtype,
          static_cast<std::uint32_t>(data.FileDate >> 32),
          static_cast<std::uint32_t>(data.FileDate & 0xFFFFFFFF)})
        PutDword(out, d);
    return out;
}

// "%04X%04X" of language and code page: "041103A4".
std::u16string TranslationKey(const TVersionData& data) {
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", data.Language, data.CodePage);
    return std::u16string(key, key + 8);
}

} // namespace

std::string WriteVersionBlock(const TVersionData& data) {
    std::vector<std::string> strings;
    for (const auto& [key, value] : data.Strings)
        strings.push_back(StringEntry(key, value));
    const std::string stringTable = Entry(TranslationKey(data), Text, 0, {}, strings);
    const std::string stringFileInfo = Entry(u"StringFileInfo", Text, 0, {}, {stringTable});

    std::string translation;
    PutWord(translation, data.Language);
    PutWord(translation, data.CodePage);
    const std::string var = Entry(u"Translation", Binary, 4, translation);
    const std::string varFileInfo = Entry(u"VarFileInfo", Text, 0, {}, {var});

    const std::string fixed = FixedFileInfo(data);
    return Entry(u"VS_VERSION_INFO", Binary, static_cast<std::uint16_t>(fixed.size()), fixed,
                 {stringFileInfo, varFileInfo});
}

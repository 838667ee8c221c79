#include "VersionBlock.h"

#include "OSError.h"

// Every entry, all numbers little-endian:
//   WORD wLength        bytes of the entry, from wLength to the end of its last child
//   WORD wValueLength   size of the value: characters (WORDs) for text, bytes for binary
//   WORD wType          1 text, 0 binary
//   WCHAR szKey[]       with a final NUL
//   padding to a multiple of 4 (counted from the block's start)
//   the value, then the children, each starting at a multiple of 4.
// The root's value is the fixed part, VS_FIXEDFILEINFO: 13 DWORDs, the first 0xFEEF04BD.

namespace {

constexpr std::size_t HeaderBytes = 6;
constexpr std::uint32_t FixedSignature = 0xFEEF04BD;
constexpr std::size_t FixedBytes = 13 * 4;
// The tree of a version resource is four deep; anything much deeper is damage.
constexpr int MaxDepth = 16;

[[noreturn]] void Invalid() {
    throw EOSError(ERROR_INVALID_DATA);
}

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t n = 0;
    for (std::size_t i = size; i-- > 0;)
        n = n << 8 | static_cast<unsigned char>(bytes[at + i]);
    return n;
}

std::size_t Align4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

// Reads the entry at `at` (a multiple of 4), which must end by `end`; returns its end.
std::size_t ReadEntry(std::string_view block, std::size_t at, std::size_t end, int depth,
                      TVersionEntry& entry) {
    if (depth > MaxDepth || end - at < HeaderBytes) Invalid();
    const std::size_t length = Little(block, at, 2);
    const std::size_t valueLength = Little(block, at + 2, 2);
    const std::uint32_t type = Little(block, at + 4, 2);
    if (length < HeaderBytes || length > end - at || type > 1) Invalid();
    end = at + length;

    std::size_t p = at + HeaderBytes;
    for (;; p += 2) {
        if (end - p < 2) Invalid(); // the key has no final NUL
        const auto c = static_cast<char16_t>(Little(block, p, 2));
        if (c == 0) break;
        entry.Key += c;
    }
    p = Align4(p + 2);
    entry.IsText = type == 1;
    const std::size_t valueBytes = entry.IsText ? 2 * valueLength : valueLength;
    if (valueBytes > 0) {
        if (p > end || valueBytes > end - p) Invalid();
        entry.Value = std::string(block.substr(p, valueBytes));
    }
    for (p = Align4(p + valueBytes); p < end; p = Align4(p)) {
        p = ReadEntry(block, p, end, depth + 1, entry.Children.emplace_back());
    }
    return end;
}

TFixedFileInfo ReadFixed(std::string_view v) {
    if (v.size() != FixedBytes || Little(v, 0, 4) != FixedSignature) Invalid();
    auto d = [&](int i) { return Little(v, 4 * static_cast<std::size_t>(i), 4); };
    return {d(0), d(1), d(2), d(3), d(4), d(5), d(6), d(7), d(8), d(9), d(10), d(11), d(12)};
}

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameKey(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

} // namespace

std::u16string TVersionEntry::Text() const {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < Value.size(); i += 2)
        text += static_cast<char16_t>(Little(Value, i, 2));
    return text;
}

TVersionBlock::TVersionBlock(std::string_view bytes) {
    ReadEntry(bytes, 0, bytes.size(), 0, root_);
    if (root_.Key != u"VS_VERSION_INFO") Invalid();
    if (!root_.Value.empty()) fixed_ = ReadFixed(root_.Value);
}

const TVersionEntry* TVersionBlock::Find(std::u16string_view path) const {
    const TVersionEntry* entry = &root_;
    while (!path.empty()) {
        const auto cut = path.find(u'\\');
        const std::u16string_view key = path.substr(0, cut);
        path = cut == std::u16string_view::npos ? std::u16string_view() : path.substr(cut + 1);
        if (key.empty()) continue;
        const TVersionEntry* child = nullptr;
        for (const TVersionEntry& c : entry->Children)
            if (SameKey(c.Key, key)) {
                child = &c;
                break;
            }
        if (!child) return nullptr;
        entry = child;
    }
    return entry;
}

std::vector<std::pair<std::uint16_t, std::uint16_t>> TVersionBlock::Translations() const {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> list;
    const TVersionEntry* entry = Find(u"\\VarFileInfo\\Translation");
    if (!entry) return list;
    for (std::size_t i = 0; i + 4 <= entry->Value.size(); i += 4)
        list.emplace_back(Little(entry->Value, i, 2), Little(entry->Value, i + 2, 2));
    return list;
}

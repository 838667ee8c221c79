#include "VersionDataFile.h"

#include <charconv>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace {

using Setter = std::function<void(TVersionData&, std::string_view value)>;

[[noreturn]] void Fail(int line, const std::string& what) {
    throw TVersionDataError("line " + std::to_string(line) + ": " + what);
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Decimal, or hexadecimal after "0x"; nothing else on the line. Nullopt when it is not a number
// or exceeds `max`.
std::optional<std::uint64_t> ParseNumber(std::string_view s, std::uint64_t max) {
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || n > max) return {};
    return n;
}

// "a.b.c.d", each part 0..65535.
std::optional<std::array<std::uint16_t, 4>> ParseVersion(std::string_view s) {
    std::array<std::uint16_t, 4> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto dot = i + 1 < parts.size() ? s.find('.') : std::string_view::npos;
        if (i + 1 < parts.size() && dot == std::string_view::npos) return {};
        const auto n = ParseNumber(s.substr(0, dot), 0xFFFF);
        if (!n) return {};
        parts[i] = static_cast<std::uint16_t>(*n);
        s = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
    }
    return parts;
}

// Well-formed UTF-8 to UTF-16; nullopt for anything else (overlong forms, surrogates, beyond
// U+10FFFF, cut sequences).
std::optional<std::u16string> Utf8ToUtf16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80                ? 0
                          : b >= 0xC2 && b < 0xE0 ? 1
                          : b >= 0xE0 && b < 0xF0 ? 2
                          : b >= 0xF0 && b < 0xF5 ? 3
                                                  : -1;
        if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) return {};
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return {};
            c = (c << 6) | (t & 0x3F);
        }
        static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return {};
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += extra + 1;
    }
    return out;
}

Setter Number32(std::uint32_t TVersionData::*field) {
    return [field](TVersionData& data, std::string_view value) {
        const auto n = ParseNumber(value, std::numeric_limits<std::uint32_t>::max());
        if (!n) throw std::invalid_argument("not a 32-bit number");
        data.*field = static_cast<std::uint32_t>(*n);
    };
}

Setter Number16(std::uint16_t TVersionData::*field) {
    return [field](TVersionData& data, std::string_view value) {
        const auto n = ParseNumber(value, 0xFFFF);
        if (!n) throw std::invalid_argument("not a 16-bit number");
        data.*field = static_cast<std::uint16_t>(*n);
    };
}

Setter Version(std::array<std::uint16_t, 4> TVersionData::*field) {
    return [field](TVersionData& data, std::string_view value) {
        const auto v = ParseVersion(value);
        if (!v) throw std::invalid_argument("not a version of four numbers");
        data.*field = *v;
    };
}

// The fields of the sections other than "strings", each required once.
const std::map<std::string, Setter, std::less<>>& Fields() {
    static const std::map<std::string, Setter, std::less<>> fields = {
        {"fixed.FileVersion", Version(&TVersionData::FileVersion)},
        {"fixed.ProductVersion", Version(&TVersionData::ProductVersion)},
        {"fixed.FileFlagsMask", Number32(&TVersionData::FileFlagsMask)},
        {"fixed.FileFlags", Number32(&TVersionData::FileFlags)},
        {"fixed.FileOS", Number32(&TVersionData::FileOS)},
        {"fixed.FileType", Number32(&TVersionData::FileType)},
        {"fixed.FileSubtype", Number32(&TVersionData::FileSubtype)},
        {"fixed.FileDate",
         [](TVersionData& data, std::string_view value) {
             const auto n = ParseNumber(value, std::numeric_limits<std::uint64_t>::max());
             if (!n) throw std::invalid_argument("not a 64-bit number");
             data.FileDate = *n;
         }},
        {"translation.Language", Number16(&TVersionData::Language)},
        {"translation.CodePage", Number16(&TVersionData::CodePage)},
    };
    return fields;
}

class Reader {
  public:
    void Line(int number, std::string_view line) {
        line = Trim(line);
        if (line.empty() || line.front() == '#') return;
        if (line.front() == '[' && line.back() == ']') {
            section_ = std::string(line.substr(1, line.size() - 2));
            if (section_ != "fixed" && section_ != "translation" && section_ != "strings")
                Fail(number, "unknown section [" + section_ + "]");
            return;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) Fail(number, "expected \"key = value\"");
        const auto key = Trim(line.substr(0, eq));
        const auto value = Trim(line.substr(eq + 1));
        if (key.empty()) Fail(number, "empty key");
        if (section_.empty()) Fail(number, "a key before the first section");
        const std::string name = section_ + "." + std::string(key);
        if (!seen_.insert(name).second) Fail(number, "\"" + std::string(key) + "\" given twice");
        if (section_ == "strings")
            String(number, key, value);
        else
            Field(number, name, value);
    }

    TVersionData Finish() {
        for (const auto& [name, set] : Fields())
            if (!seen_.count(name)) throw TVersionDataError("\"" + name + "\" is missing");
        return data_;
    }

  private:
    void String(int number, std::string_view key, std::string_view value) {
        auto k = Utf8ToUtf16(key);
        auto v = Utf8ToUtf16(value);
        if (!k || !v) Fail(number, "not UTF-8");
        data_.Strings.emplace_back(std::move(*k), std::move(*v));
    }

    void Field(int number, const std::string& name, std::string_view value) {
        const auto field = Fields().find(name);
        if (field == Fields().end()) Fail(number, "unknown key \"" + name + "\"");
        try {
            field->second(data_, value);
        } catch (const std::invalid_argument& e) {
            Fail(number, "\"" + std::string(value) + "\" is " + e.what());
        }
    }

    std::string section_;
    std::set<std::string> seen_;
    TVersionData data_;
};

} // namespace

TVersionData ReadVersionData(std::string_view text) {
    Reader reader;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        reader.Line(++number, line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return reader.Finish();
}

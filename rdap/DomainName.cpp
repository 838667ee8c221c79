#include "DomainName.h"

#include "Utf8.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace rdap {

namespace {

// RFC 3492, 5: the parameters for IDNA.
constexpr std::uint32_t Base = 36, TMin = 1, TMax = 26, Skew = 38, Damp = 700;
constexpr std::uint32_t InitialBias = 72, InitialN = 0x80;

char Digit(std::uint32_t d) {
    return static_cast<char>(d < 26 ? 'a' + d : '0' + (d - 26));
}

// RFC 3492, 6.1.
std::uint32_t Adapt(std::uint32_t delta, std::uint32_t points, bool first) {
    delta = first ? delta / Damp : delta / 2;
    delta += delta / points;
    std::uint32_t k = 0;
    while (delta > ((Base - TMin) * TMax) / 2) {
        delta /= Base - TMin;
        k += Base;
    }
    return k + (Base - TMin + 1) * delta / (delta + Skew);
}

char32_t Map(char32_t c) {
    if (c == 0x3002 || c == 0xFF0E || c == 0xFF61) return '.';
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21; // full-width ASCII
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

bool IsLdh(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

std::optional<std::string> LabelToAscii(const std::u32string& label) {
    if (label.empty() || label.front() == '-' || label.back() == '-') return std::nullopt;
    std::string out;
    bool ascii = true;
    for (const char32_t c : label) {
        if (c < 0x80 && !IsLdh(c)) return std::nullopt;
        if (c < 0xA0 && c >= 0x80) return std::nullopt; // C1 controls
        ascii = ascii && c < 0x80;
        if (c < 0x80) out += static_cast<char>(c);
    }
    if (!ascii) {
        const auto encoded = PunycodeEncode(label);
        if (!encoded) return std::nullopt;
        out = "xn--" + *encoded;
    }
    if (out.size() > 63) return std::nullopt;
    return out;
}

} // namespace

// RFC 3492, 6.3: the basic code points first, then each other code point in increasing order,
// as a delta over the states of the decoder's insertion loop, in variable-length base 36.
std::optional<std::string> PunycodeEncode(std::u32string_view label) {
    constexpr std::uint32_t maxInt = std::numeric_limits<std::uint32_t>::max();
    std::string out;
    for (const char32_t c : label)
        if (c < 0x80) out += static_cast<char>(c);
    const auto basic = static_cast<std::uint32_t>(out.size());
    std::uint32_t handled = basic;
    if (basic > 0) out += '-';
    std::uint32_t n = InitialN, delta = 0, bias = InitialBias;
    while (handled < label.size()) {
        std::uint32_t m = maxInt;
        for (const char32_t c : label)
            if (c >= n && c < m) m = c;
        if ((m - n) > (maxInt - delta) / (handled + 1)) return std::nullopt;
        delta += (m - n) * (handled + 1);
        n = m;
        for (const char32_t c : label) {
            if (c < n && ++delta == 0) return std::nullopt;
            if (c != n) continue;
            std::uint32_t q = delta;
            for (std::uint32_t k = Base;; k += Base) {
                const std::uint32_t t = k <= bias ? TMin : k >= bias + TMax ? TMax : k - bias;
                if (q < t) break;
                out += Digit(t + (q - t) % (Base - t));
                q = (q - t) / (Base - t);
            }
            out += Digit(q);
            bias = Adapt(delta, handled + 1, handled == basic);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
    }
    return out;
}

std::optional<std::string> DomainToAscii(std::string_view utf8) {
    std::vector<std::u32string> labels(1);
    bool valid = true;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = Map(NextUtf8(utf8, pos, valid));
        if (c == '.')
            labels.emplace_back();
        else
            labels.back() += c;
    }
    if (!valid) return std::nullopt;
    if (labels.size() > 1 && labels.back().empty()) labels.pop_back(); // the root's dot
    std::string name;
    for (const auto& label : labels) {
        const auto ascii = LabelToAscii(label);
        if (!ascii) return std::nullopt;
        name += (name.empty() ? "" : ".") + *ascii;
    }
    if (name.size() > 253) return std::nullopt;
    return name;
}

} // namespace rdap

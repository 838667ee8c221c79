#include "Utf8.h"

namespace rdap {

void AppendUtf8(char32_t c, std::string& out) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = ReplacementCharacter;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The lead byte tells the length and the lowest value its sequence may hold; anything shorter
// is an overlong form.
char32_t NextUtf8(std::string_view text, std::size_t& pos, bool& valid) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, lowest = 0x10000;
    }
    bool ok = length != 0 && pos + length <= text.size();
    for (std::size_t i = 1; ok && i < length; ++i) {
        ok = (byte(pos + i) & 0xC0) == 0x80;
        c = c << 6 | (byte(pos + i) & 0x3F);
    }
    if (!ok || c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        valid = false;
        ++pos;
        return ReplacementCharacter;
    }
    pos += length;
    return c;
}

bool IsUtf8(std::string_view text) {
    bool valid = true;
    for (std::size_t pos = 0; pos < text.size() && valid;)
        NextUtf8(text, pos, valid);
    return valid;
}

} // namespace rdap

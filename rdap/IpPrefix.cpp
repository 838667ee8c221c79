#include "IpPrefix.h"

#include <cstdio>
#include <vector>

namespace rdap {

namespace {

// A decimal number of at most `maxDigits` digits without a leading zero, no greater than `max`.
std::optional<int> Decimal(std::string_view text, int max, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > max) return std::nullopt;
    return value;
}

bool ParseIpv4(std::string_view text, unsigned char* out) {
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        if ((part < 3) == (dot == std::string_view::npos)) return false;
        const auto value = Decimal(text.substr(0, dot), 255, 3);
        if (!value) return false;
        out[part] = static_cast<unsigned char>(*value);
        text.remove_prefix(part < 3 ? dot + 1 : text.size());
    }
    return true;
}

std::optional<int> Hex16(std::string_view group) {
    if (group.empty() || group.size() > 4) return std::nullopt;
    int value = 0;
    for (const char c : group) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value << 4 | digit;
    }
    return value;
}

// The groups of one side of "::" (or of a whole address without it), as 16-bit words; a dotted
// IPv4 tail counts as two words and may only end the address.
bool Ipv6Words(std::string_view text, bool endsAddress, std::vector<int>& words) {
    if (text.empty()) return true;
    for (;;) {
        const std::size_t colon = text.find(':');
        const std::string_view group = text.substr(0, colon);
        if (colon == std::string_view::npos && endsAddress &&
            group.find('.') != std::string_view::npos) {
            unsigned char v4[4];
            if (!ParseIpv4(group, v4)) return false;
            words.push_back(v4[0] << 8 | v4[1]);
            words.push_back(v4[2] << 8 | v4[3]);
            return true;
        }
        const auto word = Hex16(group);
        if (!word) return false;
        words.push_back(*word);
        if (colon == std::string_view::npos) return true;
        text.remove_prefix(colon + 1);
    }
}

bool ParseIpv6(std::string_view text, unsigned char* out) {
    std::vector<int> head, tail;
    const std::size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        if (!Ipv6Words(text, true, head) || head.size() != 8) return false;
    } else {
        if (text.find("::", gap + 1) != std::string_view::npos) return false;
        if (!Ipv6Words(text.substr(0, gap), false, head) ||
            !Ipv6Words(text.substr(gap + 2), true, tail) || head.size() + tail.size() > 7)
            return false;
        head.resize(8 - tail.size(), 0);
        head.insert(head.end(), tail.begin(), tail.end());
    }
    for (int k = 0; k < 8; ++k) {
        out[2 * k] = static_cast<unsigned char>(head[static_cast<std::size_t>(k)] >> 8);
        out[2 * k + 1] = static_cast<unsigned char>(head[static_cast<std::size_t>(k)] & 0xFF);
    }
    return true;
}

std::string Ipv6ToString(const std::array<unsigned char, 16>& bytes) {
    int words[8];
    for (int k = 0; k < 8; ++k)
        words[k] = bytes[static_cast<std::size_t>(2 * k)] << 8 |
                   bytes[static_cast<std::size_t>(2 * k + 1)];
    // RFC 5952: the longest run of two or more zero words becomes "::", the first of equals.
    int bestStart = -1, bestLength = 1;
    for (int k = 0; k < 8;) {
        if (words[k] != 0) {
            ++k;
            continue;
        }
        int end = k;
        while (end < 8 && words[end] == 0)
            ++end;
        if (end - k > bestLength) bestStart = k, bestLength = end - k;
        k = end;
    }
    std::string out;
    char buffer[8];
    for (int k = 0; k < 8; ++k) {
        if (k == bestStart) {
            out += "::";
            k += bestLength - 1;
            continue;
        }
        if (!out.empty() && out.back() != ':') out += ':';
        std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(words[k]));
        out += buffer;
    }
    return out;
}

} // namespace

bool TIpPrefix::Contains(const TIpPrefix& inner) const {
    if (inner.version != version || inner.length < length) return false;
    for (int bit = 0; bit < length; ++bit) {
        const auto byte = static_cast<std::size_t>(bit / 8);
        const int mask = 0x80 >> (bit % 8);
        if ((bytes[byte] & mask) != (inner.bytes[byte] & mask)) return false;
    }
    return true;
}

std::string TIpPrefix::ToString() const {
    std::string out;
    if (version == 4) {
        for (int k = 0; k < 4; ++k)
            out += (k ? "." : "") + std::to_string(bytes[static_cast<std::size_t>(k)]);
    } else {
        out = Ipv6ToString(bytes);
    }
    if (hasLength) out += "/" + std::to_string(length);
    return out;
}

std::optional<TIpPrefix> ParseIpPrefix(std::string_view text) {
    TIpPrefix prefix;
    const std::size_t slash = text.find('/');
    const std::string_view address = text.substr(0, slash);
    if (address.find(':') != std::string_view::npos) {
        prefix.version = 6;
        if (!ParseIpv6(address, prefix.bytes.data())) return std::nullopt;
    } else if (!ParseIpv4(address, prefix.bytes.data())) {
        return std::nullopt;
    }
    prefix.length = prefix.Width();
    if (slash != std::string_view::npos) {
        const auto length = Decimal(text.substr(slash + 1), prefix.Width(), 3);
        if (!length) return std::nullopt;
        prefix.length = *length;
        prefix.hasLength = true;
    }
    return prefix;
}

} // namespace rdap

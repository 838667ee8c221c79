#pragma once
// An IPv4 or IPv6 address, or a prefix of one: read from its text form, compared with the
// prefixes of IANA's bootstrap files, and written back in its canonical form (dotted decimal;
// RFC 5952 for IPv6).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace rdap {

struct TIpPrefix {
    int version = 4;                       // 4 or 6
    std::array<unsigned char, 16> bytes{}; // an IPv4 address fills the first four
    int length = 32;                       // the prefix length; the full width for an address
    bool hasLength = false;                // the text gave a length ("/24")

    int Width() const { return version == 4 ? 32 : 128; }
    // True when every address of `inner` lies within this prefix.
    bool Contains(const TIpPrefix& inner) const;
    // "192.0.2.0/24", "2001:db8::1": the length only when the text gave one.
    std::string ToString() const;
};

// "a.b.c.d" or an IPv6 address (with "::" and a dotted tail allowed), each with an optional
// "/length". Decimal parts have no leading zeros, so that no one reads them as octal.
std::optional<TIpPrefix> ParseIpPrefix(std::string_view text);

} // namespace rdap

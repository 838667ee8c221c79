#pragma once
// A domain name as typed, turned into the ASCII form that RDAP servers and IANA's bootstrap file
// know: labels with other than ASCII become A-labels ("xn--" and Punycode, RFC 3492).
//
// Before that, the mappings that Japanese and European input needs (a subset of UTS #46):
// full-width ASCII becomes ASCII, the ideographic and full-width full stops separate labels, and
// the capitals of ASCII, Latin-1, Greek and Cyrillic become small letters. Anything else is
// encoded as typed; it is not normalised, so a name that needs NFC or wider case folding should
// be typed in its final form.

#include <optional>
#include <string>
#include <string_view>

namespace rdap {

// The Punycode form of one label (without "xn--"); nothing when it would overflow.
std::optional<std::string> PunycodeEncode(std::u32string_view label);

// The name in ASCII, without a final dot; nothing when it is no domain name: an empty label,
// ASCII other than letters, digits and "-" (or "-" at either end of a label), a label longer
// than 63 or a name longer than 253 bytes, or bytes that are no UTF-8.
std::optional<std::string> DomainToAscii(std::string_view utf8);

} // namespace rdap

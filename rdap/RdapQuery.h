#pragma once
// What the query box asks of RDAP: the object its text names and the path of that object's URL
// (RFC 9082), and the keys that choose a server from IANA's bootstrap files. The text arrives as
// UTF-8. It decides, in this order:
//   "AS" and a number (any letter case)          -> autnum/N
//   an IPv4 or IPv6 address, or a prefix         -> ip/ADDRESS[/LENGTH]
//   a name with a dot whose labels are a host's  -> domain/NAME (A-labels)
//   anything else                                -> entity/HANDLE
// Blanks around the text are dropped. A text that ends in "/json" asks for the answer's JSON
// itself instead of the readable lines. Digits and dots alone that make no IPv4 address, and
// hexadecimal digits with colons that make no IPv6 address, are refused rather than sent as a
// handle: they are mistyped addresses.

#include "IpPrefix.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rdap {

enum class TRdapObject { None, Domain, Ip, Autnum, Entity };

enum class TQueryProblem { None, Empty, BadAddress };

struct TRdapQuery {
    TRdapObject object = TRdapObject::None;
    TQueryProblem problem = TQueryProblem::None;
    bool json = false;     // show the JSON itself
    std::string path;      // "domain/example.com", percent-encoded where needed
    std::string domain;    // the name in ASCII, for a domain
    TIpPrefix address;     // for an address or prefix
    std::uint32_t asn = 0; // for an AS number
    std::string handle;    // for an entity, as typed (blanks around it dropped)
};

TRdapQuery ClassifyRdapQuery(std::string_view utf8);

// The object's URL under a base URL, which may or may not end in "/".
std::string RdapUrl(std::string_view base, const TRdapQuery& query);

} // namespace rdap

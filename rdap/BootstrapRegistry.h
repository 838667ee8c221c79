#pragma once
// One of IANA's RDAP bootstrap files (RFC 9224; RFC 8521 for object tags) and the choice of a
// server from it. A file lists services; each service pairs entries (TLDs, address prefixes, AS
// number ranges or object tags) with the base URLs of the servers that answer for them. The
// choice is the entry that covers the query most closely: the longest matching run of labels for
// a domain, the longest prefix that holds the address, the range that holds the number, the tag
// after the handle's last "-". Of a service's URLs the first HTTPS one is taken; a service with
// none is as good as no entry. Reading the files from disk and fetching new ones is the window's.

#include "RdapQuery.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rdap {

enum class TBootstrapKind { Dns, Ipv4, Ipv6, Asn, ObjectTags };

// "dns.json", "ipv4.json", "ipv6.json", "asn.json", "object-tags.json"
const char* BootstrapFileName(TBootstrapKind kind);

// The file that answers for the query; nothing for an entity handle without a tag.
std::optional<TBootstrapKind> BootstrapKindFor(const TRdapQuery& query);

class TBootstrapRegistry {
  public:
    // Nothing when the text is no JSON object with a "services" array.
    static std::optional<TBootstrapRegistry> Parse(TBootstrapKind kind, std::string_view json);

    TBootstrapKind Kind() const { return kind_; }
    // The base URL for the query; empty when no entry covers it.
    std::string BaseUrlFor(const TRdapQuery& query) const;

  private:
    struct TRange {
        std::uint32_t first, last;
        std::size_t service;
    };
    struct TPrefixEntry {
        TIpPrefix prefix;
        std::size_t service;
    };

    std::string DomainUrl(const std::string& name) const;
    std::string AddressUrl(const TIpPrefix& address) const;
    std::string AsnUrl(std::uint32_t asn) const;
    std::string TagUrl(const std::string& handle) const;

    TBootstrapKind kind_ = TBootstrapKind::Dns;
    std::vector<std::string> urls_; // the chosen URL of each service, empty when it has none
    std::unordered_map<std::string, std::size_t> names_; // domains (lower case) or tags (upper)
    std::vector<TPrefixEntry> prefixes_;
    std::vector<TRange> ranges_;
};

} // namespace rdap

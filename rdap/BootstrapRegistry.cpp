#include "BootstrapRegistry.h"

#include "Json.h"

#include <algorithm>

namespace rdap {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view head) {
    return text.size() >= head.size() && Lower(std::string(text.substr(0, head.size()))) == head;
}

std::string FirstHttpsUrl(const TJsonValue& urls) {
    for (const TJsonValue& url : urls.items)
        if (url.IsString() && StartsWithNoCase(url.text, "https://")) return url.text;
    return {};
}

std::optional<std::uint32_t> Number(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// "64496-64511" or "2043".
std::optional<std::pair<std::uint32_t, std::uint32_t>> AsnRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    const auto first = Number(text.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : Number(text.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    return std::make_pair(*first, *last);
}

} // namespace

const char* BootstrapFileName(TBootstrapKind kind) {
    switch (kind) {
    case TBootstrapKind::Dns:
        return "dns.json";
    case TBootstrapKind::Ipv4:
        return "ipv4.json";
    case TBootstrapKind::Ipv6:
        return "ipv6.json";
    case TBootstrapKind::Asn:
        return "asn.json";
    case TBootstrapKind::ObjectTags:
        return "object-tags.json";
    }
    return "";
}

std::optional<TBootstrapKind> BootstrapKindFor(const TRdapQuery& query) {
    switch (query.object) {
    case TRdapObject::Domain:
        return TBootstrapKind::Dns;
    case TRdapObject::Ip:
        return query.address.version == 4 ? TBootstrapKind::Ipv4 : TBootstrapKind::Ipv6;
    case TRdapObject::Autnum:
        return TBootstrapKind::Asn;
    case TRdapObject::Entity: {
        const std::size_t dash = query.handle.rfind('-');
        if (dash == std::string::npos || dash + 1 == query.handle.size()) return std::nullopt;
        return TBootstrapKind::ObjectTags;
    }
    case TRdapObject::None:
        break;
    }
    return std::nullopt;
}

// A service is [entries, urls]; an object tag's is [contacts, tags, urls]. Entries that cannot
// be read are left out, so one odd entry does not cost the rest of the file.
std::optional<TBootstrapRegistry> TBootstrapRegistry::Parse(TBootstrapKind kind,
                                                            std::string_view json) {
    const auto document = ParseJson(json);
    if (!document || !document->IsObject()) return std::nullopt;
    const TJsonValue* services = document->Find("services");
    if (!services || !services->IsArray()) return std::nullopt;
    TBootstrapRegistry registry;
    registry.kind_ = kind;
    const std::size_t parts = kind == TBootstrapKind::ObjectTags ? 3 : 2;
    for (const TJsonValue& service : services->items) {
        if (!service.IsArray() || service.items.size() < parts) continue;
        const TJsonValue& entries = service.items[parts - 2];
        const TJsonValue& urls = service.items[parts - 1];
        if (!entries.IsArray() || !urls.IsArray()) continue;
        const std::size_t index = registry.urls_.size();
        registry.urls_.push_back(FirstHttpsUrl(urls));
        for (const TJsonValue& entry : entries.items) {
            if (!entry.IsString()) continue;
            if (kind == TBootstrapKind::Dns) {
                registry.names_.emplace(Lower(entry.text), index);
            } else if (kind == TBootstrapKind::ObjectTags) {
                registry.names_.emplace(Upper(entry.text), index);
            } else if (kind == TBootstrapKind::Asn) {
                if (const auto range = AsnRange(entry.text))
                    registry.ranges_.push_back({range->first, range->second, index});
            } else if (const auto prefix = ParseIpPrefix(entry.text)) {
                if (prefix->version == (kind == TBootstrapKind::Ipv4 ? 4 : 6))
                    registry.prefixes_.push_back({*prefix, index});
            }
        }
    }
    return registry;
}

std::string TBootstrapRegistry::BaseUrlFor(const TRdapQuery& query) const {
    switch (query.object) {
    case TRdapObject::Domain:
        return kind_ == TBootstrapKind::Dns ? DomainUrl(query.domain) : std::string();
    case TRdapObject::Ip:
        return kind_ == TBootstrapKind::Ipv4 || kind_ == TBootstrapKind::Ipv6
                   ? AddressUrl(query.address)
                   : std::string();
    case TRdapObject::Autnum:
        return kind_ == TBootstrapKind::Asn ? AsnUrl(query.asn) : std::string();
    case TRdapObject::Entity:
        return kind_ == TBootstrapKind::ObjectTags ? TagUrl(query.handle) : std::string();
    case TRdapObject::None:
        break;
    }
    return {};
}

// "a.example.co.uk" is looked up as itself, then "example.co.uk", "co.uk" and "uk".
std::string TBootstrapRegistry::DomainUrl(const std::string& name) const {
    const std::string lower = Lower(name);
    for (std::size_t from = 0; from != std::string::npos;) {
        const auto found = names_.find(lower.substr(from));
        if (found != names_.end()) return urls_[found->second];
        const std::size_t dot = lower.find('.', from);
        from = dot == std::string::npos ? dot : dot + 1;
    }
    return {};
}

std::string TBootstrapRegistry::AddressUrl(const TIpPrefix& address) const {
    const TPrefixEntry* best = nullptr;
    for (const TPrefixEntry& entry : prefixes_)
        if (entry.prefix.Contains(address) && (!best || entry.prefix.length > best->prefix.length))
            best = &entry;
    return best ? urls_[best->service] : std::string();
}

std::string TBootstrapRegistry::AsnUrl(std::uint32_t asn) const {
    const auto found = std::find_if(ranges_.begin(), ranges_.end(), [asn](const TRange& range) {
        return range.first <= asn && asn <= range.last;
    });
    return found != ranges_.end() ? urls_[found->service] : std::string();
}

std::string TBootstrapRegistry::TagUrl(const std::string& handle) const {
    const std::size_t dash = handle.rfind('-');
    if (dash == std::string::npos) return {};
    const auto found = names_.find(Upper(handle.substr(dash + 1)));
    return found != names_.end() ? urls_[found->second] : std::string();
}

} // namespace rdap

#include "RdapQuery.h"

#include "DomainName.h"

#include <algorithm>

namespace rdap {

namespace {

bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Drops ASCII blanks and the ideographic space (U+3000) at both ends.
std::string_view Trim(std::string_view text) {
    static constexpr std::string_view wideSpace = "\xE3\x80\x80";
    for (bool changed = true; changed;) {
        changed = false;
        if (!text.empty() && IsAsciiBlank(text.front())) text.remove_prefix(1), changed = true;
        if (!text.empty() && IsAsciiBlank(text.back())) text.remove_suffix(1), changed = true;
        if (text.substr(0, 3) == wideSpace) text.remove_prefix(3), changed = true;
        if (text.size() >= 3 && text.substr(text.size() - 3) == wideSpace)
            text.remove_suffix(3), changed = true;
    }
    return text;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b + 32 : b); });
}

bool AllOf(std::string_view text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string_view::npos;
}

// "AS" and 1 to 10 digits that fit 32 bits.
bool ParseAsn(std::string_view text, std::uint32_t& asn) {
    if (text.size() < 3 || text.size() > 12 || (text[0] != 'A' && text[0] != 'a') ||
        (text[1] != 'S' && text[1] != 's') || !AllOf(text.substr(2), "0123456789"))
        return false;
    std::uint64_t value = 0;
    for (const char c : text.substr(2))
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > 0xFFFFFFFFu) return false;
    asn = static_cast<std::uint32_t>(value);
    return true;
}

// RFC 3986's unreserved characters stay; every other byte is written as %XX.
std::string PercentEncode(std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 0xF];
        }
    }
    return out;
}

void AsAddress(std::string_view text, TRdapQuery& query) {
    const auto address = ParseIpPrefix(text);
    if (!address) {
        query.problem = TQueryProblem::BadAddress;
        return;
    }
    query.object = TRdapObject::Ip;
    query.address = *address;
    query.path = "ip/" + address->ToString();
}

} // namespace

TRdapQuery ClassifyRdapQuery(std::string_view utf8) {
    TRdapQuery query;
    std::string_view text = Trim(utf8);
    if (EndsWithNoCase(text, "/json")) {
        query.json = true;
        text = Trim(text.substr(0, text.size() - 5));
    }
    if (text.empty()) {
        query.problem = TQueryProblem::Empty;
        return query;
    }
    if (ParseAsn(text, query.asn)) {
        query.object = TRdapObject::Autnum;
        query.path = "autnum/" + std::to_string(query.asn);
        return query;
    }
    const bool colons = text.find(':') != std::string_view::npos;
    if (colons && AllOf(text, "0123456789abcdefABCDEF:./")) {
        AsAddress(text, query);
        return query;
    }
    if (!colons && text.find('.') != std::string_view::npos && AllOf(text, "0123456789./")) {
        AsAddress(text, query);
        return query;
    }
    if (text.find('.') != std::string_view::npos ||
        text.find("\xE3\x80\x82") != std::string_view::npos ||
        text.find("\xEF\xBC\x8E") != std::string_view::npos) {
        if (const auto name = DomainToAscii(text)) {
            query.object = TRdapObject::Domain;
            query.domain = *name;
            query.path = "domain/" + *name;
            return query;
        }
    }
    query.object = TRdapObject::Entity;
    query.handle = std::string(text);
    query.path = "entity/" + PercentEncode(text);
    return query;
}

std::string RdapUrl(std::string_view base, const TRdapQuery& query) {
    std::string url(base);
    if (url.empty() || url.back() != '/') url += '/';
    return url + query.path;
}

} // namespace rdap

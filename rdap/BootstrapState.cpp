#include "BootstrapState.h"

namespace rdap {

namespace {

// A header value never holds a line break; one in a stored value would split its line.
std::string OneLine(std::string_view value) {
    std::string out;
    for (const char c : value)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

bool Seconds(std::string_view text, std::int64_t& out) {
    if (text.empty() || text.size() > 18 ||
        text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    out = 0;
    for (const char c : text)
        out = out * 10 + (c - '0');
    return true;
}

// True when `at` happened, less than `interval` before `now` and not more than that after it.
bool Within(std::int64_t at, std::int64_t now, std::int64_t interval) {
    return at != 0 && now - at < interval && at - now <= interval;
}

} // namespace

std::string TBootstrapState::Serialize() const {
    return "etag " + OneLine(etag) + "\nlast-modified " + OneLine(lastModified) + "\nchecked " +
           std::to_string(checkedAt) + "\nfailed " + std::to_string(failedAt) + "\n";
}

TBootstrapState TBootstrapState::Parse(std::string_view text) {
    TBootstrapState state;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t blank = line.find(' ');
        const std::string_view name = line.substr(0, blank);
        const std::string_view value =
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        if (name == "etag")
            state.etag = value;
        else if (name == "last-modified")
            state.lastModified = value;
        else if (name == "checked")
            Seconds(value, state.checkedAt);
        else if (name == "failed")
            Seconds(value, state.failedAt);
    }
    return state;
}

bool TBootstrapState::NeedsCheck(std::int64_t now) const {
    return !Within(checkedAt, now, BootstrapCheckInterval) &&
           !Within(failedAt, now, BootstrapRetryInterval);
}

std::vector<std::pair<std::string, std::string>> TBootstrapState::ConditionalHeaders() const {
    std::vector<std::pair<std::string, std::string>> headers;
    if (!etag.empty()) headers.emplace_back("If-None-Match", etag);
    if (!lastModified.empty()) headers.emplace_back("If-Modified-Since", lastModified);
    return headers;
}

} // namespace rdap

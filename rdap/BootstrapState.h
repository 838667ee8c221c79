#pragma once
// What the program remembers of a bootstrap file it fetched from IANA: the validators the server
// gave it (ETag, Last-Modified) and when it last asked. IANA is asked at most once a day for each
// file, with the validators, so an unchanged file costs one short "304 Not Modified". The state
// is kept as a small text file beside the fetched copy; writing and reading it is the window's.
// An attempt that got no answer (no network, IANA failing) is asked again after an hour, not on
// every lookup.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rdap {

inline constexpr std::int64_t BootstrapCheckInterval = 24 * 60 * 60; // seconds
inline constexpr std::int64_t BootstrapRetryInterval = 60 * 60;

struct TBootstrapState {
    std::string etag;
    std::string lastModified;
    std::int64_t checkedAt = 0; // seconds since 1970 of the last answer from IANA; 0 for never
    std::int64_t failedAt = 0;  // of the last attempt that got no answer; 0 for none since

    // Lines "etag ...", "last-modified ...", "checked N", "failed N"; unknown lines are ignored.
    std::string Serialize() const;
    static TBootstrapState Parse(std::string_view text);

    // True when the last answer is a day old or more, never came, or lies ahead of `now` by more
    // than a day (a clock set back), unless an attempt failed within the last hour.
    bool NeedsCheck(std::int64_t now) const;
    // If-None-Match and If-Modified-Since for what is known.
    std::vector<std::pair<std::string, std::string>> ConditionalHeaders() const;
};

} // namespace rdap

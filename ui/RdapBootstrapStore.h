#pragma once
// Where the RDAP lookup finds IANA's bootstrap files: a copy fetched from IANA in the user's
// cache folder when there is one that reads, otherwise the copy installed with the program. It
// also keeps what the program knows of each fetched copy (its validators, when IANA was last
// asked) and takes IANA's answers in. Fetching is the window's; choosing a server is the
// registry's.

#include "BootstrapRegistry.h"
#include "BootstrapState.h"
#include "HttpClient.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class TRdapBootstrapStore {
  public:
    // `installed` and `cache` are folders; an empty cache folder means none: nothing is fetched
    // or written.
    TRdapBootstrapStore(std::string installed, std::string cache);

    // The base URL for the query from the copy at hand; empty when no entry covers it or no copy
    // reads.
    std::string BaseUrl(rdap::TBootstrapKind kind, const rdap::TRdapQuery& query);
    // True when IANA should be asked for the file now (see TBootstrapState).
    bool NeedsCheck(rdap::TBootstrapKind kind, std::int64_t now) const;
    // The request that asks IANA for the file: its URL and the validators of the copy at hand.
    std::string FetchUrl(rdap::TBootstrapKind kind) const;
    THttpHeaders FetchHeaders(rdap::TBootstrapKind kind) const;
    // IANA's answer: a new file that reads replaces the cached copy, "304 Not Modified" keeps it;
    // either counts as the day's check. Anything else counts as a failed attempt.
    void Answered(rdap::TBootstrapKind kind, const THttpResponse& response, std::int64_t now);
    void Failed(rdap::TBootstrapKind kind, std::int64_t now);

    // Where IANA keeps the files; tests point it at a server of their own.
    std::string IanaBase = "https://data.iana.org/rdap/";

  private:
    std::string CachedFile(rdap::TBootstrapKind kind) const;
    rdap::TBootstrapState State(rdap::TBootstrapKind kind) const;
    void SaveState(rdap::TBootstrapKind kind, const rdap::TBootstrapState& state);
    const rdap::TBootstrapRegistry* Registry(rdap::TBootstrapKind kind);

    std::string installed_;
    std::string cache_;
    // Each file read once, and again after IANA sent a new one.
    std::array<std::optional<rdap::TBootstrapRegistry>, 5> loaded_;
    std::array<bool, 5> tried_{};
};

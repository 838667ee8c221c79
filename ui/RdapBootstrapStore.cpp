#include "RdapBootstrapStore.h"

#include "Exception.h"
#include "FileUtils.h"

#include <filesystem>

using namespace rdap;

namespace {

std::size_t Index(TBootstrapKind kind) {
    return static_cast<std::size_t>(kind);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return {};
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The file's bytes; empty when it is missing or cannot be read.
std::string ReadIfThere(const std::string& path) {
    if (path.empty() || !FileExists(path)) return {};
    try {
        return ReadFileShared(path);
    } catch (const Exception&) {
        return {};
    }
}

// A cache that cannot be written costs the next day's copy, nothing more.
void WriteIfPossible(const std::string& path, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    try {
        WriteFileReplacing(path, bytes);
    } catch (const Exception&) {
    }
}

} // namespace

TRdapBootstrapStore::TRdapBootstrapStore(std::string installed, std::string cache)
    : installed_(std::move(installed)), cache_(std::move(cache)) {}

std::string TRdapBootstrapStore::BaseUrl(TBootstrapKind kind, const TRdapQuery& query) {
    const TBootstrapRegistry* registry = Registry(kind);
    return registry ? registry->BaseUrlFor(query) : std::string();
}

bool TRdapBootstrapStore::NeedsCheck(TBootstrapKind kind, std::int64_t now) const {
    return !cache_.empty() && State(kind).NeedsCheck(now);
}

std::string TRdapBootstrapStore::FetchUrl(TBootstrapKind kind) const {
    return IanaBase + BootstrapFileName(kind);
}

// Validators only go with a copy that is really there.
THttpHeaders TRdapBootstrapStore::FetchHeaders(TBootstrapKind kind) const {
    if (ReadIfThere(CachedFile(kind)).empty()) return {};
    return State(kind).ConditionalHeaders();
}

void TRdapBootstrapStore::Answered(TBootstrapKind kind, const THttpResponse& response,
                                   std::int64_t now) {
    TBootstrapState state = State(kind);
    if (response.Status == 200 && TBootstrapRegistry::Parse(kind, response.Body)) {
        WriteIfPossible(CachedFile(kind), response.Body);
        state.etag = response.Header("ETag");
        state.lastModified = response.Header("Last-Modified");
        loaded_[Index(kind)].reset();
        tried_[Index(kind)] = false;
    } else if (response.Status != 304) {
        return Failed(kind, now);
    }
    state.checkedAt = now;
    state.failedAt = 0;
    SaveState(kind, state);
}

void TRdapBootstrapStore::Failed(TBootstrapKind kind, std::int64_t now) {
    TBootstrapState state = State(kind);
    state.failedAt = now;
    SaveState(kind, state);
}

std::string TRdapBootstrapStore::CachedFile(TBootstrapKind kind) const {
    return InFolder(cache_, BootstrapFileName(kind));
}

TBootstrapState TRdapBootstrapStore::State(TBootstrapKind kind) const {
    const std::string file = CachedFile(kind);
    return file.empty() ? TBootstrapState() : TBootstrapState::Parse(ReadIfThere(file + ".state"));
}

void TRdapBootstrapStore::SaveState(TBootstrapKind kind, const TBootstrapState& state) {
    const std::string file = CachedFile(kind);
    if (!file.empty()) WriteIfPossible(file + ".state", state.Serialize());
}

const TBootstrapRegistry* TRdapBootstrapStore::Registry(TBootstrapKind kind) {
    std::optional<TBootstrapRegistry>& loaded = loaded_[Index(kind)];
    if (!loaded && !tried_[Index(kind)]) {
        tried_[Index(kind)] = true;
        loaded = TBootstrapRegistry::Parse(kind, ReadIfThere(CachedFile(kind)));
        if (!loaded)
            loaded = TBootstrapRegistry::Parse(
                kind, ReadIfThere(InFolder(installed_, BootstrapFileName(kind))));
    }
    return loaded ? &*loaded : nullptr;
}

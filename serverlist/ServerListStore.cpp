#include "ServerListStore.h"

#include "Exception.h"
#include "FileUtils.h"
#include "SjisText.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

// The folder that a build made for installing puts the program in; empty for every other build.
#ifndef KELVANE_INSTALLED_BINDIR
#define KELVANE_INSTALLED_BINDIR ""
#endif

namespace {

// Configuration paths must be absolute; any other value is ignored, as if it were not set.
std::string AbsoluteFolder(const std::string& value) {
    if (value.empty() || value.front() != '/') return {};
    return value.back() == '/' ? value : value + '/';
}

// A session without HOME still has a home folder in the password database.
std::string ProcessEnvironment(const char* name) {
    if (const char* value = std::getenv(name); value && *value) return value;
    if (std::string(name) != "HOME") return {};
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

} // namespace

TServerListStore TServerListStore::BesideExecutable(const std::string& exeName) {
    return TServerListStore(ExtractFilePath(exeName) + "Kelvane.LST");
}

TServerListStore TServerListStore::InUserConfig(const std::string& exeName,
                                                const TEnvironment& env) {
    std::string folder = AbsoluteFolder(env("XDG_CONFIG_HOME"));
    if (folder.empty()) {
        const std::string home = AbsoluteFolder(env("HOME"));
        if (home.empty()) return BesideExecutable(exeName);
        folder = home + ".config/";
    }
    return TServerListStore(folder + "Kelvane/Kelvane.LST", true);
}

TServerListStore TServerListStore::ForProgram(const std::string& exeName,
                                              const std::string& installedBinDir,
                                              const TEnvironment& env) {
    const bool installed =
        !installedBinDir.empty() && ExtractFilePath(exeName) == AbsoluteFolder(installedBinDir);
    return installed ? InUserConfig(exeName, env) : BesideExecutable(exeName);
}

TServerListStore TServerListStore::ForProgram(const std::string& exeName) {
    return ForProgram(exeName, KELVANE_INSTALLED_BINDIR, ProcessEnvironment);
}

void TServerListStore::Load(TStrings& entries) const {
    if (FileExists(path_)) entries.LoadFromFile(path_);
}

bool TServerListStore::Add(TStrings& entries, const std::string& text) const {
    if (entries.IndexOf(text) >= 0) return false;
    if (text.size() >= MaxEntryBytes)
        throw Exception(SjisText("サーバー名が長すぎます。4096 バイト未満で入力してください"));
    entries.Add(text);
    Save(entries); // on failure the entry stays on screen; the next change saves again
    return true;
}

bool TServerListStore::Delete(TStrings& entries, const std::string& text) const {
    const int at = entries.IndexOf(text);
    if (at < 0) return false;
    entries.Delete(at);
    Save(entries);
    return true;
}

// A folder that cannot be made shows as the file that cannot be created.
void TServerListStore::Save(const TStrings& entries) const {
    if (makesFolder_) ForceDirectories(ExtractFilePath(path_));
    entries.SaveToFile(path_);
}

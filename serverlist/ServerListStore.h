#pragma once
// The user's list of whois servers and its file "Kelvane.LST": where it lives (beside the
// executable, or in the user's configuration folder for an installed program), loading it, and the
// add and delete commands, each of which rewrites the file at once. It does not touch the server
// box's text, and it knows nothing of windows: it works on any string list (the server box's
// entries on screen).

#include "Strings.h"

#include <functional>
#include <string>

class TServerListStore {
  public:
    // Entries of this many bytes or more are refused.
    static constexpr std::size_t MaxEntryBytes = 4096;
    // An environment variable's value, empty when it is not set.
    using TEnvironment = std::function<std::string(const char* name)>;

    explicit TServerListStore(std::string path, bool makesFolder = false)
        : path_(std::move(path)), makesFolder_(makesFolder) {}
    // "Kelvane.LST" in the folder of the executable `exeName` (a full path).
    static TServerListStore BesideExecutable(const std::string& exeName);
    // "Kelvane/Kelvane.LST" in the user's configuration folder: $XDG_CONFIG_HOME, or ~/.config
    // when that is unset or not an absolute path. The folders are made at the first save, not
    // before. Beside the executable when no home folder is known at all.
    static TServerListStore InUserConfig(const std::string& exeName, const TEnvironment& env);
    // The place for the program at `exeName`. A build made for installing names the folder the
    // package puts the program in (`installedBinDir`, empty otherwise): a program there cannot
    // write beside itself and keeps the list in the user's configuration folder. Any other copy
    // (a build folder, an unpacked copy) keeps it beside the executable.
    static TServerListStore ForProgram(const std::string& exeName,
                                       const std::string& installedBinDir, const TEnvironment& env);
    // The same with this build's installed folder and the process's environment.
    static TServerListStore ForProgram(const std::string& exeName);

    const std::string& Path() const { return path_; }

    // Loads the entries when the list file is a regular file; with none the list stays as it is.
    void Load(TStrings& entries) const;
    // Appends `text` and saves, unless an entry already equals it without regard to letter case.
    // True when the list was changed. A text of MaxEntryBytes or more is refused with an error.
    bool Add(TStrings& entries, const std::string& text) const;
    // Removes the first entry equal to `text` without regard to letter case and saves. True when
    // the list was changed.
    bool Delete(TStrings& entries, const std::string& text) const;

  private:
    void Save(const TStrings& entries) const;

    std::string path_;
    bool makesFolder_;
};

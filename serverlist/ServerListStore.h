#pragma once
// The user's list of whois servers and its file "Kelvane.LST" beside the executable: where it
// lives, loading it, and the add and delete commands, each of which rewrites the file at once.
// It does not touch the server box's text, and it knows nothing of windows: it works on any
// string list (the server box's entries on screen).

#include "Strings.h"

#include <string>

class TServerListStore {
  public:
    // Entries of this many bytes or more are refused.
    static constexpr std::size_t MaxEntryBytes = 4096;

    explicit TServerListStore(std::string path) : path_(std::move(path)) {}
    // "Kelvane.LST" in the folder of the executable `exeName` (a full path).
    static TServerListStore BesideExecutable(const std::string& exeName);

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
    std::string path_;
};

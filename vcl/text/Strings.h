#pragma once
// A list of Text entries and what every such list offers: find without regard to letter case,
// append, remove, and the list's text form, read from and written to files.
//
// The text form: every entry followed by CR LF. Read back, lines end at CR LF, CR or LF (one CR,
// then one LF, is stepped over after each line, so LF CR is two line ends), every line is an
// entry, an empty one too, and a final line end adds none. A zero byte is part of its entry like
// any other byte, so a damaged or UTF-16 file loses nothing when it is written back.

#include <string>
#include <string_view>

class TStrings {
  public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    // Fails with EStringListError "行を挿入できません" when the list can take no more.
    virtual void Insert(int index, const std::string& entry) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    int Add(const std::string& entry);
    // The first entry equal to `text` without regard to the case of ASCII letters, or -1. Double
    // byte characters of the code page compare exactly: their second byte may look like a letter.
    int IndexOf(const std::string& text) const;

    std::string Text() const;
    void SetText(std::string_view text);

    // Replaces the entries with the file's lines (see ReadFileShared for sharing and failures).
    void LoadFromFile(const std::string& path);
    // Writes the text form to the file (see WriteFileReplacing).
    void SaveToFile(const std::string& path) const;
};

// Compares as IndexOf does.
bool SameText(std::string_view a, std::string_view b);

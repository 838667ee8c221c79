#include "Strings.h"

#include "FileUtils.h"

#include <vector>

namespace {

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

unsigned char FoldAscii(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b;
}

} // namespace

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldAscii(x) != FoldAscii(y)) {
            return false;
        }
    }
    return true;
}

int TStrings::Add(const std::string& entry) {
    Insert(Count(), entry);
    return Count() - 1;
}

int TStrings::IndexOf(const std::string& text) const {
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (SameText(Get(i), text)) return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string text;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        lines.emplace_back(text.substr(at, end - at));
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
    }
    Clear();
    for (const auto& line : lines)
        Add(line);
}

void TStrings::LoadFromFile(const std::string& path) {
    SetText(ReadFileShared(path));
}

void TStrings::SaveToFile(const std::string& path) const {
    WriteFileReplacing(path, Text());
}

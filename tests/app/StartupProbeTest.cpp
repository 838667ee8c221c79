// Start-up with the version data of the program's own file intact, removed, unreadable or
// unusually long: copies of the start-up probe, changed as a builder or a damaged disk would, are
// run, and what they report showing is compared line by line.

#include "KelvaneVersion.h"
#include "TempDir.h"
#include "VersionBlockWriter.h"
#include "VersionDataFile.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

// What the probe at `path` writes before it ends.
std::string RunProbe(const std::string& path) {
    std::string out;
    FILE* pipe = popen(("'" + path + "' 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Points the file header's section table past the end of the file (a 64-bit little-endian ELF
// file keeps its offset at byte 40); the program still runs, but its sections cannot be found.
bool LoseSectionTable(const TempDir&, const std::string& path) {
    std::string image = ReadBytes(path);
    if (image.size() < 48 || image[4] != 2 || image[5] != 1) return false;
    const std::uint64_t past = image.size() + 4096;
    for (int i = 0; i < 8; ++i)
        image[40 + i] = static_cast<char>(past >> (8 * i) & 0xFF);
    WriteBytes(path, image);
    return true;
}

// Kelvane's version data with a copyright line far wider than the window.
bool LongCopyright(const TempDir& dir, const std::string& path) {
    TVersionData data = ReadVersionData(ReadBytes(KELVANE_VERSION_DATA));
    for (auto& [key, value] : data.Strings)
        if (key == u"LegalCopyright") value = u"Copyright (C) 2026 " + std::u16string(60, u'W');
    return ReplaceVersionBlock(dir, path, WriteVersionBlock(data));
}

const std::string Intact = "shown: Kelvane ver3\n"
                           "about visible: no\n"
                           "about size: 307x106\n"
                           "file version: 3.2.2.2\n"
                           "copyright: Copyright (C) 2026 Kelvane developers\n";

// Where the copyright label's right edge is: within the window's 307 pixels or beyond them; none
// when the message loop never ran.
enum class Edge { None, Within, Beyond };

TEST(StartupProbe, VersionDataOfTheProgramsOwnFile) {
    using Change = std::function<bool(const TempDir&, const std::string&)>;
    const Change keep = [](const TempDir&, const std::string&) { return true; };
    const struct {
        const char* name;
        Change change;
        std::string want; // the report, but for the copyright label's right edge
        Edge edge;
    } cases[] = {
        {"intact", keep, Intact + "exit: 0\n", Edge::Within},
        {"section removed",
         [](const TempDir&, const std::string& path) {
             return Objcopy({"--remove-section", ".versioninfo", path});
         },
         "shown: Kelvane ver3\nabout visible: no\nabout size: 307x106\nfile version: \n"
         "copyright: \nexit: 0\n",
         Edge::Within},
        {"block garbled",
         [](const TempDir& dir, const std::string& path) {
             return ReplaceVersionBlock(dir, path, "garbage!");
         },
         "box: Win32 エラー。コード : 13.\\nデータが正しくありません.\nexit: 0\n", Edge::None},
        {"section table lost", LoseSectionTable,
         "box: Win32 エラー。コード : 193.\\n実行ファイルの形式が正しくありません.\nexit: 0\n",
         Edge::None},
        // Cut off at the window's edge: the window keeps its size.
        {"copyright wider than the window", LongCopyright,
         "shown: Kelvane ver3\nabout visible: no\nabout size: 307x106\nfile version: 3.2.2.2\n"
         "copyright: Copyright (C) 2026 " +
             std::string(60, 'W') + "\nexit: 0\n",
         Edge::Beyond},
    };
    const std::string label = "copyright ends at: ";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string probe = dir / "Kelvane";
        std::filesystem::copy_file(KELVANE_STARTUP_PROBE, probe);
        ASSERT_TRUE(c.change(dir, probe));
        std::string report = RunProbe(probe);
        const std::size_t at = report.find(label);
        EXPECT_EQ(at != std::string::npos, c.edge != Edge::None) << report;
        if (at != std::string::npos) {
            const std::size_t eol = report.find('\n', at);
            const int right = std::stoi(report.substr(at + label.size(), eol - at));
            EXPECT_EQ(right > 307, c.edge == Edge::Beyond) << right;
            report.erase(at, eol + 1 - at);
        }
        EXPECT_EQ(report, c.want);
    }
}

} // namespace

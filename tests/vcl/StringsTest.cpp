#include "Exception.h"
#include "FileUtils.h"
#include "OtherProcess.h"
#include "SjisText.h"
#include "StringList.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <vector>

using namespace std::string_literals;

namespace {

std::vector<std::string> Entries(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

struct ReadCase {
    const char* name;
    std::string file;
    std::vector<std::string> entries;
};

// Tests are named by their case; the bytes would only clutter the list.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

// The list file fixtures, byte for byte, and the entries each one loads as.
const ReadCase kReadCases[] = {
    {"CrLf", "whois.jprs.jp\r\nwhois.nic.ad.jp\r\n", {"whois.jprs.jp", "whois.nic.ad.jp"}},
    {"Lf", "a\nb\n", {"a", "b"}},
    {"Cr", "a\rb\r", {"a", "b"}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
    {"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"EmptyLineInTheMiddle", "a\r\n\r\nb\r\n", {"a", "", "b"}},
    {"LastLineWithoutLineEnd", "a\r\nb", {"a", "b"}},
    {"OnlyALineEnd", "\r\n", {""}},
    {"Empty", "", {}},
    {"EndsAtZeroByte", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
    {"BlanksKept", " a \r\n\tb\r\n", {" a ", "\tb"}},
    {"JapaneseBytes", "\x93\xfa\x96\x7b\r\n\x83\x41\r\n", {"\x93\xfa\x96\x7b", "\x83\x41"}},
    {"DuplicatesKept", "a\r\nA\r\na\r\n", {"a", "A", "a"}},
};

class ReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadTest, LoadsOneEntryPerLine) {
    const ReadCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir / "Kelvane.LST", c.file);
    TStringList list;
    list.Add("old entry");
    list.LoadFromFile(dir / "Kelvane.LST");
    EXPECT_EQ(Entries(list), c.entries);
}

INSTANTIATE_TEST_SUITE_P(Strings, ReadTest, testing::ValuesIn(kReadCases),
                         [](const auto& info) { return info.param.name; });

TEST(Strings, SavesEveryEntryWithCrLf) {
    TempDir dir;
    TStringList list;
    list.SaveToFile(dir / "l");
    EXPECT_EQ(ReadBytes(dir / "l"), ""); // an empty list is an empty file
    for (const char* e : {"a", "", " b ", "\x93\xfa\x96\x7b"})
        list.Add(e);
    list.SaveToFile(dir / "l");
    EXPECT_EQ(ReadBytes(dir / "l"), "a\r\n\r\n b \r\n\x93\xfa\x96\x7b\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(Strings, IndexOfIgnoresAsciiCaseOnly) {
    TStringList list;
    for (const char* e : {"whois.JPRS.jp", "", "\x83\x41", "\x82\x60"})
        list.Add(e);
    EXPECT_EQ(list.IndexOf("WHOIS.jprs.JP"), 0);
    EXPECT_EQ(list.IndexOf(""), 1);
    EXPECT_EQ(list.IndexOf("\x83\x41"), 2);
    EXPECT_EQ(list.IndexOf("\x83\x61"), -1); // the trail byte 0x41 is no letter A
    EXPECT_EQ(list.IndexOf("\x82\x81"), -1); // full-width A and a differ
    EXPECT_EQ(list.IndexOf("whois.jprs.jp "), -1);
}

TEST(FileUtils, MissingFileOrFolderIsNoFile) {
    TempDir dir;
    EXPECT_FALSE(FileExists(dir / "none"));
    EXPECT_FALSE(FileExists(dir.Path()));
    WriteBytes(dir / "f", "");
    EXPECT_TRUE(FileExists(dir / "f"));
    EXPECT_EQ(ExtractFilePath("/opt/kelvane/Kelvane"), "/opt/kelvane/");
}

// Another program that holds the file locked for writing keeps it from being read or replaced;
// the file stays whole.
TEST(FileUtils, FileLockedByAnotherProgram) {
    for (bool useFlock : {false, true}) {
        TempDir dir;
        const std::string path = dir / "Kelvane.LST";
        WriteBytes(path, "a\r\n");
        LockHolder other(path, useFlock);
        ASSERT_TRUE(other.Locked());
        try {
            ReadFileShared(path);
            ADD_FAILURE() << "read a locked file";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), SjisText("ファイル " + path + " は開けません"));
        }
        try {
            WriteFileReplacing(path, "b\r\n");
            ADD_FAILURE() << "replaced a locked file";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), SjisText("ファイル " + path + " を作成できません"));
        }
        EXPECT_EQ(ReadBytes(path), "a\r\n");
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

TEST(FileUtils, CannotCreateWhereAFolderOrNoFolderIs) {
    TempDir dir;
    std::filesystem::create_directory(dir / "Kelvane.LST");
    for (const std::string& path : {dir / "Kelvane.LST", dir / "missing/Kelvane.LST"}) {
        EXPECT_THROW(WriteFileReplacing(path, "a\r\n"), EFCreateError) << path;
        EXPECT_THROW(ReadFileShared(path + "x"), EFOpenError) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Kelvane.LST"));
    EXPECT_EQ(dir.EntryCount(), 1u);
}

// A write that stops short (here at a file-size limit) keeps the previous file and leaves no
// temporary file behind.
TEST(FileUtils, ShortWriteKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir / "Kelvane.LST";
    WriteBytes(path, "old\r\n");
    const int code = RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of ending the process
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteFileReplacing(path, std::string(1000, 'x'));
        } catch (const EWriteError& e) {
            return e.Message() == SjisText("ストリームへの書き込みエラー") ? 7 : 2;
        } catch (...) {
            return 3;
        }
        return 1;
    });
    EXPECT_EQ(code, 7);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(FileUtils, ReplacingThroughALinkKeepsTheLink) {
    TempDir dir;
    WriteBytes(dir / "servers.txt", "old\r\n");
    std::filesystem::create_symlink(dir / "servers.txt", dir / "Kelvane.LST");
    WriteFileReplacing(dir / "Kelvane.LST", "new\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Kelvane.LST"));
    EXPECT_EQ(ReadBytes(dir / "servers.txt"), "new\r\n");
    EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(FileUtils, ReplacingKeepsTheFileMode) {
    TempDir dir;
    const std::string path = dir / "Kelvane.LST";
    WriteBytes(path, "old\r\n");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    WriteFileReplacing(path, "new\r\n");
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
}

} // namespace

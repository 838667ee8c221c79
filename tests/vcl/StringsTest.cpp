#include "Exception.h"
#include "FileUtils.h"
#include "OtherProcess.h"
#include "SjisText.h"
#include "StringList.h"
#include "TempDir.h"
#include "WithoutLocks.h"

#include <cstring>
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
    {"ZeroBytesStayInTheirEntries", "a\r\nb\0c\r\n\0\r\nd\r\n"s, {"a", "b\0c"s, "\0"s, "d"}},
    {"Utf16", "a\0b\0\r\0\n\0"s, {"a\0b\0"s, "\0"s, "\0"s}},
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
    for (const std::string& e : {"a"s, ""s, " b "s, "\x93\xfa\x96\x7b"s, "z\0z"s})
        list.Add(e);
    list.SaveToFile(dir / "l");
    EXPECT_EQ(ReadBytes(dir / "l"), "a\r\n\r\n b \r\n\x93\xfa\x96\x7b\r\nz\0z\r\n"s);
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

// On a file system without locks the file is read and replaced without them; only a conflict
// means that another program holds it.
TEST(FileUtils, FileSystemWithoutLocks) {
    const struct {
        int error;
        bool heldByAnother;
    } cases[] = {{ENOLCK, false}, {EOPNOTSUPP, false}, {ENOSYS, false},    {EINVAL, false},
                 {EAGAIN, true},  {EACCES, true},      {EWOULDBLOCK, true}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir / "Kelvane.LST";
        WriteBytes(path, "a\r\n");
        const int code = RunInChild([&] {
            if (!WithoutLocks(c.error)) return 9;
            int outcome = 0;
            try {
                outcome |= ReadFileShared(path) == "a\r\n" ? 1 : 4;
            } catch (const EFOpenError&) {
            }
            try {
                WriteFileReplacing(path, "b\r\n");
                outcome |= 2;
            } catch (const EFCreateError&) {
            }
            return outcome;
        });
        EXPECT_EQ(code, c.heldByAnother ? 0 : 3) << strerror(c.error);
        EXPECT_EQ(ReadBytes(path), c.heldByAnother ? "a\r\n" : "b\r\n") << strerror(c.error);
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

// In a folder where no file may be created, a file that may be written is written in place, and a
// write there that stops short puts the previous content back; a file that may not be written is
// refused.
TEST(FileUtils, ReadOnlyFolderWritesTheFileInPlace) {
    const struct {
        const char* name;
        std::filesystem::perms fileMode;
        rlim_t sizeLimit;
        int code; // 1 written, 2 refused, 3 stopped short
        std::string after;
    } cases[] = {
        {"Writable", std::filesystem::perms(0666), RLIM_INFINITY, 1, std::string(1000, 'n')},
        {"ReadOnly", std::filesystem::perms(0444), RLIM_INFINITY, 2, "old entry\r\n"},
        {"NoRoom", std::filesystem::perms(0666), 100, 3, "old entry\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir / "Kelvane.LST";
        WriteBytes(path, "old entry\r\n");
        std::filesystem::permissions(path, c.fileMode);
        std::filesystem::permissions(dir.Path(), std::filesystem::perms(0555));
        const int code = RunInChild([&] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 9; // nobody
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{c.sizeLimit, c.sizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            try {
                WriteFileReplacing(path, std::string(1000, 'n'));
                return 1;
            } catch (const EFCreateError&) {
                return 2;
            } catch (const EWriteError&) {
                return 3;
            }
        });
        std::filesystem::permissions(dir.Path(), std::filesystem::perms(0700));
        EXPECT_EQ(code, c.code) << c.name;
        EXPECT_EQ(ReadBytes(path), c.after) << c.name;
        EXPECT_EQ(dir.EntryCount(), 1u) << c.name;
    }
}

// A name may take all the room a file name has (255 bytes here): the file is created and replaced
// under that name all the same.
TEST(FileUtils, LongestNames) {
    std::string kanji;
    for (int i = 0; i < 85; ++i)
        kanji += "\xe6\xbc\xa2"; // 漢, three bytes in the system's UTF-8
    for (const std::string& name : {std::string(251, 'n') + ".LST", kanji}) {
        TempDir dir;
        const std::string path = dir / name;
        WriteFileReplacing(path, "first\r\n");
        WriteFileReplacing(path, "second\r\n");
        EXPECT_EQ(ReadBytes(path), "second\r\n");
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

} // namespace

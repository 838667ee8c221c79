#include "VersionInfo.h"

#include "KelvaneVersion.h"
#include "OSError.h"
#include "SjisText.h"
#include "TempDir.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string Copyright = SjisText("Copyright (C) 2026 Kelvane developers");

// The message of the error that enabling a source for `path` raises; empty when there is none.
std::string EnableError(const std::string& path) {
    TVersionInfo source;
    source.SetFileName(path);
    try {
        source.SetEnabled(true);
    } catch (const EOSError& e) {
        EXPECT_FALSE(source.Enabled());
        EXPECT_FALSE(source.HasData());
        return e.Message();
    }
    return {};
}

void Patch(const std::string& path, std::size_t at, const std::string& bytes) {
    std::string image = ReadBytes(path);
    image.replace(at, bytes.size(), bytes);
    WriteBytes(path, image);
}

TEST(VersionInfo, ReadsTheStringsOfTheBuiltExecutable) {
    TVersionInfo source;
    EXPECT_FALSE(source.Enabled());
    source.SetFileName(KELVANE_EXE);
    EXPECT_EQ(source.StringValue("FileVersion"), "");
    source.SetEnabled(true);
    EXPECT_EQ(source.TranslationKey(), "041103A4");
    for (const VersionString& s : KelvaneStrings)
        EXPECT_EQ(source.StringValue(s.key), SjisText(s.value)) << s.key;
    EXPECT_EQ(source.StringValue("NoSuchKey"), "");
}

TEST(VersionInfo, EmptyFileNameReadsTheRunningProgramsFile) {
    TVersionInfo source; // this test program carries the same data as Kelvane
    source.SetEnabled(true);
    EXPECT_EQ(source.StringValue("FileVersion"), "3.2.2.2");
    EXPECT_EQ(source.StringValue("LegalCopyright"), Copyright);
}

TEST(VersionInfo, FileWithoutTheSectionHasNoDataAndNoError) {
    TempDir dir;
    const std::string copy = CopyOfKelvane(dir);
    ASSERT_TRUE(Objcopy({"--remove-section", ".versioninfo", copy}));
    TVersionInfo source;
    source.SetFileName(copy);
    EXPECT_NO_THROW(source.SetEnabled(true));
    EXPECT_TRUE(source.Enabled());
    EXPECT_FALSE(source.HasData());
    EXPECT_EQ(source.TranslationKey(), "");
    EXPECT_EQ(source.StringValue("FileVersion"), "");
}

TEST(VersionInfo, EveryKindOfElfFileIsRead) {
    for (const char* format : {"elf32-i386", "elf32-big", "elf64-x86-64", "elf64-big"}) {
        SCOPED_TRACE(format);
        TempDir dir;
        const std::string file = dir / "data";
        ASSERT_TRUE(Objcopy({"-I", "binary", "-O", format, "--rename-section", ".data=.versioninfo",
                             KELVANE_VERSION_BLOCK, file}));
        TVersionInfo source;
        source.SetFileName(file);
        source.SetEnabled(true);
        EXPECT_EQ(source.StringValue("FileVersion"), "3.2.2.2") << format;
    }
}

TEST(VersionInfo, ReadFailuresRaiseTheWin32Error) {
    // In the 64-bit little-endian file header: the class byte at 4, e_shoff at 40,
    // e_shentsize at 58, e_shstrndx at 62.
    const struct {
        const char* name;
        std::function<std::string(const TempDir&)> file;
        const char* want;
    } cases[] = {
        {"no such file", [](const TempDir& d) { return d / "none"; },
         "Win32 エラー。コード : 2.\n指定されたファイルが見つかりません"},
        {"a path through a file", [](const TempDir& d) { return CopyOfKelvane(d) + "/Kelvane"; },
         "Win32 エラー。コード : 3.\n指定されたパスが見つかりません"},
        {"a folder", [](const TempDir& d) { return d.Path(); },
         "Win32 エラー。コード : 5.\nアクセスが拒否されました"},
        {"a text file",
         [](const TempDir& d) {
             WriteBytes(d / "text", "not an executable\n");
             return d / "text";
         },
         "Win32 エラー。コード : 193.\n実行ファイルの形式が正しくありません"},
        {"an executable cut short",
         [](const TempDir& d) {
             const std::string copy = CopyOfKelvane(d);
             std::filesystem::resize_file(copy, 4096);
             return copy;
         },
         "Win32 エラー。コード : 193.\n実行ファイルの形式が正しくありません"},
        {"an unknown class",
         [](const TempDir& d) {
             const std::string copy = CopyOfKelvane(d);
             Patch(copy, 4, "\x03");
             return copy;
         },
         "Win32 エラー。コード : 193.\n実行ファイルの形式が正しくありません"},
        {"section headers past the end",
         [](const TempDir& d) {
             const std::string copy = CopyOfKelvane(d);
             Patch(copy, 40, std::string("\xF0\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 8));
             return copy;
         },
         "Win32 エラー。コード : 193.\n実行ファイルの形式が正しくありません"},
        {"section header entries too small",
         [](const TempDir& d) {
             const std::string copy = CopyOfKelvane(d);
             Patch(copy, 58, std::string("\x08\x00", 2));
             return copy;
         },
         "Win32 エラー。コード : 193.\n実行ファイルの形式が正しくありません"},
        {"names section beyond the sections",
         [](const TempDir& d) {
             const std::string copy = CopyOfKelvane(d);
             Patch(copy, 62, "\xF0\xFF");
             return copy;
         },
         "Win32 エラー。コード : 193.\n実行ファイルの形式が正しくありません"},
        {"a damaged version block",
         [](const TempDir& d) {
             const std::string copy = CopyOfKelvane(d);
             std::string block = ReadBytes(KELVANE_VERSION_BLOCK);
             block[6] = 'W'; // the root's key
             EXPECT_TRUE(ReplaceVersionBlock(d, copy, block));
             return copy;
         },
         "Win32 エラー。コード : 13.\nデータが正しくありません"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        EXPECT_EQ(EnableError(c.file(dir)), SjisText(c.want)) << c.name;
    }
}

TEST(VersionInfo, SystemErrorsBecomeWindowsNumbers) {
    const struct {
        int err, want;
    } cases[] = {
        {0, 0},      {ENOENT, 2},   {ENOTDIR, 3}, {EMFILE, 4},  {ENFILE, 4},         {EACCES, 5},
        {EPERM, 5},  {EISDIR, 5},   {ENOMEM, 8},  {EINVAL, 87}, {ENAMETOOLONG, 206}, {EFBIG, 223},
        {EIO, 1117}, {ELOOP, 1921}, {EXDEV, 30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Win32ErrorFromErrno(c.err), c.want) << c.err;
    EXPECT_EQ(Win32ErrorMessage(0), SjisText("Win32 API 呼び出しに失敗しました"));
    EXPECT_EQ(Win32ErrorMessage(99999),
              SjisText("Win32 エラー。コード : 99999.\n不明なエラーです"));
}

TEST(VersionInfo, EnablingReadsOnceAndDisablingForgets) {
    TempDir dir;
    const std::string copy = CopyOfKelvane(dir);
    TVersionInfo source;
    source.SetFileName(copy);
    source.SetEnabled(true);
    ASSERT_TRUE(Objcopy({"--remove-section", ".versioninfo", copy}));
    source.SetEnabled(true); // already enabled: the file is not read again
    EXPECT_EQ(source.StringValue("FileVersion"), "3.2.2.2");
    source.SetEnabled(false);
    EXPECT_FALSE(source.HasData());
    EXPECT_EQ(source.StringValue("FileVersion"), "");
    source.SetEnabled(true);
    EXPECT_FALSE(source.HasData()); // read again: the section is gone now
}

TEST(VersionInfo, NewFileNameWhileEnabledReadsTheNewFile) {
    TempDir dir;
    const std::string stripped = CopyOfKelvane(dir);
    ASSERT_TRUE(Objcopy({"--remove-section", ".versioninfo", stripped}));
    TVersionInfo source;
    source.SetEnabled(true);
    EXPECT_THROW(source.SetFileName(dir.Path()), EOSError);
    EXPECT_EQ(source.FileName(), "");
    EXPECT_EQ(source.StringValue("FileVersion"), "3.2.2.2");
    source.SetFileName(stripped);
    EXPECT_FALSE(source.HasData());
    source.SetEnabled(false);
    source.SetFileName(dir.Path()); // disabled: nothing is read
    EXPECT_EQ(source.FileName(), dir.Path());
}

} // namespace

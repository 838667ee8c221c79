#include "ServerListStore.h"

#include "Exception.h"
#include "OtherProcess.h"
#include "SjisText.h"
#include "StringList.h"
#include "TempDir.h"
#include "WithoutLocks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

using namespace std::string_literals;

namespace {

// The store on a list file in a folder of its own, with the entries that would be on screen.
class StoreTest : public testing::Test {
  protected:
    void Start(const std::string& file) {
        WriteBytes(path, file);
        store.Load(entries);
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> out;
        for (int i = 0; i < entries.Count(); ++i)
            out.push_back(entries.Get(i));
        return out;
    }
    // The file's identity and modification time: a rewrite changes them even when the bytes
    // stay the same.
    struct Stamp {
        ino_t inode;
        timespec modified;
        bool operator==(const Stamp& o) const {
            return inode == o.inode && modified.tv_sec == o.modified.tv_sec &&
                   modified.tv_nsec == o.modified.tv_nsec;
        }
    };
    Stamp FileStamp() const {
        struct stat st {};
        stat(path.c_str(), &st);
        return {st.st_ino, st.st_mtim};
    }

    TempDir dir;
    std::string path = dir / "Kelvane.LST";
    TServerListStore store{path};
    TStringList entries;
};

TEST(ServerListStore, LivesBesideTheExecutable) {
    EXPECT_EQ(TServerListStore::BesideExecutable("/opt/kelvane/bin/Kelvane").Path(),
              "/opt/kelvane/bin/Kelvane.LST");
}

// The program installed to the package's folder keeps the list in the user's configuration folder;
// every other copy, and every program of a build not made for installing, keeps it beside itself.
TEST(ServerListStore, PlaceForTheProgram) {
    const struct Case {
        const char* name;
        std::string exe, installedBinDir, xdgConfigHome, home, want;
    } cases[] = {
        {"build not for installing", "/usr/bin/Kelvane", "", "/x/cfg", "/home/u",
         "/usr/bin/Kelvane.LST"},
        {"installed, XDG_CONFIG_HOME set", "/usr/bin/Kelvane", "/usr/bin", "/x/cfg", "/home/u",
         "/x/cfg/Kelvane/Kelvane.LST"},
        {"installed, XDG_CONFIG_HOME with a final slash", "/usr/bin/Kelvane", "/usr/bin/",
         "/x/cfg/", "/home/u", "/x/cfg/Kelvane/Kelvane.LST"},
        {"installed, XDG_CONFIG_HOME unset", "/usr/bin/Kelvane", "/usr/bin", "", "/home/u",
         "/home/u/.config/Kelvane/Kelvane.LST"},
        {"installed, XDG_CONFIG_HOME relative", "/usr/bin/Kelvane", "/usr/bin", "cfg", "/home/u/",
         "/home/u/.config/Kelvane/Kelvane.LST"},
        {"installed, no home folder known", "/usr/bin/Kelvane", "/usr/bin", "", "",
         "/usr/bin/Kelvane.LST"},
        {"unpacked copy elsewhere", "/home/u/kelvane/usr/bin/Kelvane", "/usr/bin", "/x/cfg",
         "/home/u", "/home/u/kelvane/usr/bin/Kelvane.LST"},
        {"folder whose name starts like the installed one", "/usr/bin2/Kelvane", "/usr/bin",
         "/x/cfg", "/home/u", "/usr/bin2/Kelvane.LST"},
        {"folder below the installed one", "/usr/bin/old/Kelvane", "/usr/bin", "/x/cfg", "/home/u",
         "/usr/bin/old/Kelvane.LST"},
    };
    for (const Case& c : cases) {
        const auto env = [&c](const char* name) {
            const std::string n = name;
            return n == "XDG_CONFIG_HOME" ? c.xdgConfigHome : n == "HOME" ? c.home : std::string();
        };
        EXPECT_EQ(TServerListStore::ForProgram(c.exe, c.installedBinDir, env).Path(), c.want)
            << c.name;
    }
}

// In the configuration folder nothing is made until the first save, which makes the missing
// folders for the user alone and writes the same bytes as beside the executable.
TEST(ServerListStore, ConfigFolderIsMadeAtTheFirstSave) {
    TempDir dir;
    const std::string config = dir / "cfg";
    const auto env = [&](const char* name) {
        return std::string(name) == "XDG_CONFIG_HOME" ? config : std::string();
    };
    const TServerListStore store = TServerListStore::InUserConfig("/usr/bin/Kelvane", env);
    ASSERT_EQ(store.Path(), config + "/Kelvane/Kelvane.LST");

    TStringList entries;
    store.Load(entries);
    EXPECT_FALSE(store.Delete(entries, "a"));
    EXPECT_EQ(dir.EntryCount(), 0u) << "made a folder before any save";

    EXPECT_TRUE(store.Add(entries, "whois.jprs.jp"));
    EXPECT_EQ(ReadBytes(store.Path()), "whois.jprs.jp\r\n");
    for (const std::string& folder : {config, config + "/Kelvane"}) {
        struct stat st {};
        ASSERT_EQ(stat(folder.c_str(), &st), 0) << folder;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    TStringList restarted;
    store.Load(restarted);
    EXPECT_EQ(restarted.Text(), entries.Text());
}

// A configuration folder that cannot be made shows as the list file that cannot be created; the
// entry stays on screen.
TEST(ServerListStore, ConfigFolderThatCannotBeMade) {
    TempDir dir;
    WriteBytes(dir / "cfg", "a file where the folder should be");
    const std::string config = dir / "cfg";
    const auto env = [&](const char* name) {
        return std::string(name) == "XDG_CONFIG_HOME" ? config : std::string();
    };
    const TServerListStore store = TServerListStore::InUserConfig("/usr/bin/Kelvane", env);
    TStringList entries;
    try {
        store.Add(entries, "a");
        ADD_FAILURE() << "saved below a file";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), SjisText("ファイル " + store.Path() + " を作成できません"));
    }
    EXPECT_EQ(entries.Count(), 1);
    EXPECT_EQ(ReadBytes(config), "a file where the folder should be");
}

TEST_F(StoreTest, NoFileMeansAnEmptyListAndNoFile) {
    store.Load(entries);
    EXPECT_EQ(entries.Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(StoreTest, AddAppendsAndRewritesTheFile) {
    Start("whois.jprs.jp\r\n");
    EXPECT_TRUE(store.Add(entries, " whois.nic.ad.jp "));
    EXPECT_TRUE(store.Add(entries, "\x93\xfa\x96\x7b"));
    EXPECT_EQ(ReadBytes(path), "whois.jprs.jp\r\n whois.nic.ad.jp \r\n\x93\xfa\x96\x7b\r\n");

    TStringList restarted;
    store.Load(restarted);
    EXPECT_EQ(restarted.Text(), entries.Text());
}

TEST_F(StoreTest, AddOfAnEntryInOtherLettersChangesNothing) {
    Start("whois.jprs.jp\r\n");
    const Stamp before = FileStamp();
    EXPECT_FALSE(store.Add(entries, "WHOIS.Jprs.JP"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"whois.jprs.jp"});
    EXPECT_TRUE(FileStamp() == before);
}

TEST_F(StoreTest, EmptyTextIsAnEntryOnce) {
    Start("a\r\n");
    EXPECT_TRUE(store.Add(entries, ""));
    EXPECT_EQ(ReadBytes(path), "a\r\n\r\n");
    EXPECT_FALSE(store.Add(entries, ""));
    EXPECT_EQ(entries.Count(), 2);
}

TEST_F(StoreTest, DeleteRemovesTheFirstMatchOnly) {
    Start("a\r\nWhois\r\nb\r\nwhois\r\n");
    EXPECT_TRUE(store.Delete(entries, "whois"));
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\nwhois\r\n");
}

TEST_F(StoreTest, DeleteOfAnUnknownTextChangesNothing) {
    Start("a\r\n");
    const Stamp before = FileStamp();
    EXPECT_FALSE(store.Delete(entries, "a "));
    EXPECT_TRUE(FileStamp() == before);
}

TEST_F(StoreTest, DeleteOfTheOnlyEntryLeavesAnEmptyFile) {
    Start("a\r\n");
    EXPECT_TRUE(store.Delete(entries, "A"));
    EXPECT_EQ(ReadBytes(path), "");
    TStringList restarted;
    store.Load(restarted);
    EXPECT_EQ(restarted.Count(), 0);
}

// A zero byte (a damaged or UTF-16 file) is part of its entry: an add or a delete changes only the
// entry it names.
TEST_F(StoreTest, ZeroBytesStayAndTheNextSaveKeepsEveryEntry) {
    Start("a\r\nb\0junk\r\nc\r\n"s);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a", "b\0junk"s, "c"}));
    EXPECT_TRUE(store.Add(entries, "d"));
    EXPECT_EQ(ReadBytes(path), "a\r\nb\0junk\r\nc\r\nd\r\n"s);
    EXPECT_TRUE(store.Delete(entries, "B\0JUNK"s));
    EXPECT_EQ(ReadBytes(path), "a\r\nc\r\nd\r\n");
}

// On a file system without locks the list loads and saves.
TEST_F(StoreTest, FileSystemWithoutLocks) {
    WriteBytes(path, "a\r\n");
    const int code = RunInChild([&] {
        if (!WithoutLocks(ENOLCK)) return 9;
        try {
            store.Load(entries);
            return entries.Count() == 1 && store.Add(entries, "b") ? 1 : 2;
        } catch (...) {
            return 3;
        }
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\n");
}

TEST_F(StoreTest, LongEntriesAreRefusedWithoutWriting) {
    Start("a\r\n");
    const Stamp before = FileStamp();
    try {
        store.Add(entries, std::string(4096, 'x'));
        ADD_FAILURE() << "took a 4096-byte entry";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
                  SjisText("サーバー名が長すぎます。4096 バイト未満で入力してください"));
    }
    EXPECT_EQ(entries.Count(), 1);
    EXPECT_TRUE(FileStamp() == before);
    EXPECT_TRUE(store.Add(entries, std::string(4095, 'x')));
}

// A save that fails keeps the previous file; the entry stays added and the next change saves it.
TEST_F(StoreTest, FailedSaveKeepsTheFileAndTheNextChangeWritesAgain) {
    Start("a\r\n");
    {
        LockHolder other(path, false);
        ASSERT_TRUE(other.Locked());
        try {
            store.Add(entries, "b");
            ADD_FAILURE() << "saved over a locked file";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), SjisText("ファイル " + path + " を作成できません"));
        }
        EXPECT_EQ(Entries(), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(ReadBytes(path), "a\r\n");
    }
    EXPECT_TRUE(store.Add(entries, "c"));
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

} // namespace

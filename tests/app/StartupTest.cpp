#include "Startup.h"

#include "Application.h"
#include "FileUtils.h"
#include "OtherProcess.h"
#include "SjisText.h"
#include "TempDir.h"
#include "Unit1.h"

#include <QComboBox>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// These tests use the list file beside the test program, as the program itself does; CTest runs
// them one at a time.
class ListFileTest : public testing::Test {
  protected:
    void SetUp() override {
        path = ExtractFilePath(Application->ExeName()) + "Kelvane.LST";
        std::filesystem::remove(path);
        Application->ErrorBoxHook = [this](const std::string& text, const std::string&) {
            boxes.push_back(text);
        };
    }
    void TearDown() override {
        Application->ErrorBoxHook = nullptr;
        std::filesystem::remove(path);
    }
    static std::vector<std::string> Entries(const TKelvaneForm& form) {
        std::vector<std::string> out;
        for (int i = 0; i < form.ServerList->Items->Count(); ++i)
            out.push_back(form.ServerList->Items->Get(i));
        return out;
    }

    std::string path;
    std::vector<std::string> boxes;
};

TEST_F(ListFileTest, LockedListFileEndsTheStartWithoutAWindow) {
    WriteBytes(path, "a\r\n");
    LockHolder other(path, false);
    ASSERT_TRUE(other.Locked());
    bool loopRan = false;
    QTimer::singleShot(2000, [&] {
        loopRan = true;
        if (Application->MainForm()) Application->MainForm()->Close();
    });
    EXPECT_EQ(RunKelvane(*Application), 0);
    EXPECT_FALSE(loopRan);
    EXPECT_EQ(boxes, std::vector<std::string>{SjisText("ファイル " + path + " は開けません.")});
    EXPECT_EQ(ReadBytes(path), "a\r\n");
}

TEST_F(ListFileTest, NoListFileGivesAnEmptyListAndWritesNothing) {
    TKelvaneForm form;
    EXPECT_TRUE(Entries(form).empty());
    EXPECT_EQ(form.ServerList->Text(), "whois.jprs.jp");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ListFileTest, ButtonsRewriteTheListAndARestartShowsIt) {
    WriteBytes(path, "a\r\nB\r\n");
    {
        TKelvaneForm form;
        EXPECT_EQ(Entries(form), (std::vector<std::string>{"a", "B"}));
        EXPECT_EQ(form.ServerList->Text(), "whois.jprs.jp"); // loading leaves the text

        form.ServerList->SetText("c");
        form.ToolButton1->Click();
        EXPECT_EQ(ReadBytes(path), "a\r\nB\r\nc\r\n");
        form.ServerList->SetText("b");
        form.ToolButton2->Click();
        EXPECT_EQ(ReadBytes(path), "a\r\nc\r\n");
        EXPECT_EQ(form.ServerList->Text(), "b"); // neither command changes the text
    }
    TKelvaneForm restarted;
    EXPECT_EQ(Entries(restarted), (std::vector<std::string>{"a", "c"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ListFileTest, FullServerBoxRefusesTheEntryAndWritesNothing) {
    WriteBytes(path, "a\r\n");
    TKelvaneForm form;
    static_cast<QComboBox*>(form.ServerList->Widget())->setMaxCount(1);
    form.ServerList->SetText("b");
    form.ToolButton1->Click();
    EXPECT_EQ(boxes, std::vector<std::string>{SjisText("行を挿入できません.")});
    EXPECT_EQ(Entries(form), std::vector<std::string>{"a"});
    EXPECT_EQ(ReadBytes(path), "a\r\n");
}

TEST_F(ListFileTest, FolderWhereTheListFileShouldBeIsNoList) {
    std::filesystem::create_directory(path);
    TKelvaneForm form;
    EXPECT_TRUE(Entries(form).empty());
    EXPECT_TRUE(boxes.empty());
    std::filesystem::remove(path);
}

TEST_F(ListFileTest, FailedSaveShowsTheErrorBoxAndKeepsTheFile) {
    WriteBytes(path, "a\r\n");
    TKelvaneForm form;
    LockHolder other(path, true);
    ASSERT_TRUE(other.Locked());
    form.ServerList->SetText("b");
    form.ToolButton1->Click();
    EXPECT_EQ(boxes, std::vector<std::string>{SjisText("ファイル " + path + " を作成できません.")});
    EXPECT_EQ(Entries(form), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadBytes(path), "a\r\n");
}

} // namespace

#include "Startup.h"

#include "Application.h"
#include "FileUtils.h"
#include "OtherProcess.h"
#include "SjisText.h"
#include "TempDir.h"
#include "Unit1.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
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

// Two names pasted into the server box and added make one entry: the text before the line break.
TEST_F(ListFileTest, PastedLineBreakAddsOneEntry) {
    WriteBytes(path, "a\r\n");
    TKelvaneForm form;
    QLineEdit* box = static_cast<QComboBox*>(form.ServerList->Widget())->lineEdit();
    box->clear();
    QGuiApplication::clipboard()->setText("whois.example\r\nwhois.second");
    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, "\x16");
    QCoreApplication::sendEvent(box, &ctrlV);
    form.ToolButton1->Click();
    EXPECT_EQ(Entries(form), (std::vector<std::string>{"a", "whois.example"}));
    EXPECT_EQ(ReadBytes(path), "a\r\nwhois.example\r\n");
}

// A list file with a zero byte keeps every entry after an add; the box shows the zero byte as
// "␀", and picking that entry gives its bytes back.
TEST_F(ListFileTest, ZeroByteKeepsEveryEntry) {
    using namespace std::string_literals;
    WriteBytes(path, "a\r\nb\0junk\r\nc\r\n"s);
    TKelvaneForm form;
    EXPECT_EQ(Entries(form), (std::vector<std::string>{"a", "b\0junk"s, "c"}));
    auto* combo = static_cast<QComboBox*>(form.ServerList->Widget());
    EXPECT_EQ(combo->itemText(1).toStdU16String(), u"b\u2400junk");
    form.ServerList->SetText("d");
    form.ToolButton1->Click();
    EXPECT_EQ(ReadBytes(path), "a\r\nb\0junk\r\nc\r\nd\r\n"s);
    combo->setCurrentIndex(1);
    EXPECT_EQ(form.ServerList->Text(), "b\0junk"s);
    EXPECT_TRUE(boxes.empty());
}

} // namespace

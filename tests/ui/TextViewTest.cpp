// The text view as the lookup fills it: where an appended line goes and where the caret ends.

#include "Unit1.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(TextView, FreshWindow) {
    TKelvaneForm form;
    EXPECT_EQ(form.Caption(), "Kelvane ver3");
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\n");
    EXPECT_EQ(form.ServerList->Text(), "whois.jprs.jp");
    EXPECT_EQ(form.InputData->Text(), "");
    EXPECT_EQ(form.Sb->SimpleText(), "");
}

// Tab moves from the server box to the query box: the tool buttons between them take no focus.
TEST(TextView, TabGoesFromTheServerBoxToTheQueryBox) {
    TKelvaneForm form;
    form.Show();
    QApplication::setActiveWindow(form.Widget());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
    form.ServerList->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.InputData->Widget());
}

TEST(TextView, AppendedLinesFollowTheTextAndTheCaretFollowsThem) {
    TKelvaneForm form;
    auto* view = static_cast<QPlainTextEdit*>(form.Info->Widget());
    QTextCursor selection = view->textCursor();
    selection.setPosition(0);
    selection.setPosition(3, QTextCursor::KeepAnchor);
    view->setTextCursor(selection);

    form.Info->Lines->Add("one\r");
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\none\r\n");
    EXPECT_FALSE(view->textCursor().hasSelection());
    EXPECT_EQ(view->textCursor().position(), view->document()->characterCount() - 1);

    // The same when the lines of one read are added together.
    view->setTextCursor(selection);
    form.Info->Lines->BeginUpdate();
    form.Info->Lines->Add("two");
    form.Info->Lines->Add("three");
    form.Info->Lines->EndUpdate();
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\none\r\ntwo\r\nthree\r\n");
    EXPECT_FALSE(view->textCursor().hasSelection());
    EXPECT_EQ(view->textCursor().position(), view->document()->characterCount() - 1);
}

// Each appended line is followed by CR LF; after the user typed on the last line without a line
// break, the next line starts a line of its own and the text then ends without a line break.
TEST(TextView, LineBreaksAroundAppendedLines) {
    const struct {
        std::string start;
        std::vector<std::string> lines;
        std::string want;
    } cases[] = {
        {"Kelvane\r\n", {"a", "b"}, "Kelvane\r\na\r\nb\r\n"},
        {"Kelvane\r\ntyped", {"a", "b"}, "Kelvane\r\ntyped\r\na\r\nb"},
        {"", {"", "x"}, "\r\nx\r\n"},
    };
    TKelvaneForm form;
    for (const auto& c : cases) {
        form.Info->SetText(c.start);
        for (const auto& line : c.lines)
            form.Info->Lines->Add(line);
        EXPECT_EQ(form.Info->Text(), c.want) << c.start;
    }
}

} // namespace

// The text view as the lookup fills it: where an appended line goes and where the caret ends.

#include "Unit1.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

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
}

// After the user typed on the last line without a line break, the next line starts a line of its
// own and the text then ends without a line break.
TEST(TextView, TypedLastLineGetsTheLineBreakBeforeTheNext) {
    TKelvaneForm form;
    form.Info->SetText("Kelvane\r\ntyped");
    form.Info->Lines->Add("a");
    form.Info->Lines->Add("b");
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\ntyped\r\na\r\nb");
}

TEST(TextView, EmptyViewTakesTheLineWithItsBreak) {
    TKelvaneForm form;
    form.Info->SetText("");
    form.Info->Lines->Add("");
    form.Info->Lines->Add("x");
    EXPECT_EQ(form.Info->Text(), "\r\nx\r\n");
}

} // namespace

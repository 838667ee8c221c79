// The single-line boxes, the query box and the server box's text field: a paste is cut at its
// first line break, wherever it goes, and the rest of the box stays.

#include "Unit1.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

namespace {

struct PasteCase {
    const char* name;
    QString start;
    int from, to; // the selection (the caret when equal) the paste replaces
    QString clipboard;
    std::string want;
};

const PasteCase kPastes[] = {
    {"TwoLinesIntoAnEmptyBox", "", 0, 0, "example.jp\r\nsecond", "example.jp"},
    {"IntoTheMiddle", "ab", 1, 1, "x\ny", "axb"},
    {"LineBreakFirst", "ab", 2, 2, "\r\nx", "ab"},
    {"OverASelection", "abc", 1, 2, "X\rY", "aXc"},
    {"TrailingLineBreak", "", 0, 0, "one\n", "one"},
    {"NoLineBreak", "a", 1, 1, "b c", "ab c"},
};

void Paste(QLineEdit* box, const PasteCase& c) {
    box->setText(c.start);
    box->setSelection(c.from, c.to - c.from);
    QGuiApplication::clipboard()->setText(c.clipboard);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

TEST(SingleLineBox, PasteEndsAtItsFirstLineBreak) {
    TKelvaneForm form;
    auto* query = static_cast<QLineEdit*>(form.InputData->Widget());
    auto* server = static_cast<QComboBox*>(form.ServerList->Widget())->lineEdit();
    for (const auto& c : kPastes) {
        Paste(query, c);
        EXPECT_EQ(form.InputData->Text(), c.want) << c.name;
        Paste(server, c);
        EXPECT_EQ(form.ServerList->Text(), c.want) << c.name;
    }
}

// Text set by the program is cut the same way, so neither box ever holds a line break.
TEST(SingleLineBox, SetTextEndsAtTheFirstLineBreak) {
    TKelvaneForm form;
    form.InputData->SetText("a\r\nb");
    EXPECT_EQ(form.InputData->Text(), "a");
    form.ServerList->SetText("c\nd");
    EXPECT_EQ(form.ServerList->Text(), "c");
}

} // namespace

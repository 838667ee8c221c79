// The text view as the lookup fills it: where an appended line goes and where the caret ends.

#include "Unit1.h"
#include "ViewLine.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

QPlainTextEdit* View(const TKelvaneForm& form) {
    return static_cast<QPlainTextEdit*>(form.Info->Widget());
}

// The screen text of line `n` of the view.
std::u16string ScreenLine(const TKelvaneForm& form, int n) {
    return View(form)->document()->findBlockByNumber(n).text().toStdU16String();
}

// Puts the caret into line `n` of the view, `offset` characters in.
void PutCaret(const TKelvaneForm& form, int n, int offset) {
    QTextCursor caret(View(form)->document()->findBlockByNumber(n));
    caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, offset);
    View(form)->setTextCursor(caret);
}

// Types `text` into the view, a key press for each character.
void Type(const TKelvaneForm& form, const std::u16string& text) {
    for (char16_t c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(View(form), &press);
    }
}

// An answer as it may arrive: code page 932, UTF-8 and invalid bytes, each line with its CR.
const std::vector<std::string> kMixedAnswer = {
    "Domain Name: EXAMPLE.JP\r",
    "[\x93\x6f\x98\x5e\x8e\xd2\x96\xbc] \xb6\xc5\r",    // code page 932
    "Registrant: J\xc3\xbcrgen M\xc3\xbcller\r",        // UTF-8 outside the code page
    "Name: \xea\xa0\x81\x40\r",                         // 槇 and an ideographic space
    "\xed\x95\x9c\xea\xb8\x80 \xf0\x9f\x98\x80\r",      // Hangul and an emoji
    "bad \x80\xff\x82 \0zero\0 a\rb\r"s,                // invalid bytes, zeros, a lone CR
    "Jos\xc3\xa9\xc2\xa0x\xe2\x80\xa8y\xe2\x80\xa9z\r", // no-break space, U+2028, U+2029
    "\xed\x40\xfa\x54\r",                               // duplicates Windows writes otherwise
    "no CR at the end",
};

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

// An answer that nobody edited comes back byte for byte, however it is encoded; each line ends
// in CR LF as the append rule makes it.
TEST(TextView, UneditedAnswerComesBackAsItArrived) {
    TKelvaneForm form;
    std::string want = "Kelvane\r\n";
    for (const std::string& line : kMixedAnswer) {
        form.Info->Lines->Add(line);
        want += line.back() == '\r' ? line + "\n" : line + "\r\n";
    }
    EXPECT_EQ(form.Info->Text(), want);
    EXPECT_EQ(ScreenLine(form, 3), u"Registrant: J\u00fcrgen M\u00fcller");
    EXPECT_EQ(ScreenLine(form, 4), u"Name: \u69c7\u3000");
    EXPECT_EQ(ScreenLine(form, 6), u"bad \uf780\uf7ff\uf782 \u2400zero\u2400 a\u240db");
    EXPECT_EQ(View(form)->document()->blockCount(), 1 + 9 + 1); // nothing broke a line in two
}

// Text typed into a line takes the line's encoding; a line the user makes is code page 932, and
// the halves of a line broken in two keep its encoding.
TEST(TextView, TypedTextTakesItsLineEncoding) {
    TKelvaneForm form;
    form.Info->SetText("");
    form.Info->Lines->Add("J\xc3\xbcrgen M\xc3\xbcller"); // UTF-8, line 0
    form.Info->Lines->Add("\x93\xfa\x96\x7b");            // code page 932, line 1
    View(form)->setFocus();

    PutCaret(form, 0, 6);
    Type(form, u"\u00e9");
    PutCaret(form, 1, 2);
    Type(form, u"\u00e9\u65e5");
    EXPECT_EQ(form.Info->Text(),
              "J\xc3\xbcrgen\xc3\xa9 M\xc3\xbcller\r\n\x93\xfa\x96\x7b?\x93\xfa\r\n");

    PutCaret(form, 0, 7);
    QTest::keyClick(View(form), Qt::Key_Return); // "Jürgené" and " Müller"
    PutCaret(form, 1, 7);
    QTest::keyClick(View(form), Qt::Key_Return); // a new line after " Müller"
    Type(form, u"\u00fc");
    EXPECT_EQ(form.Info->Text(), "J\xc3\xbcrgen\xc3\xa9\r\n M\xc3\xbcller\r\n?\r\n"
                                 "\x93\xfa\x96\x7b?\x93\xfa\r\n");
}

// Undo brings a deleted line back with its encoding.
TEST(TextView, UndoBringsALineBackWithItsEncoding) {
    TKelvaneForm form;
    form.Info->Lines->Add("M\xc3\xbcller");
    form.Info->Lines->Add("\xed\x40");
    const std::string before = form.Info->Text();
    View(form)->setFocus();
    QTextCursor lines(View(form)->document()->findBlockByNumber(1));
    lines.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
    View(form)->setTextCursor(lines);
    QTest::keyClick(View(form), Qt::Key_Delete);
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\n");
    QTest::keyClick(View(form), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.Info->Text(), before);
}

// The view's own text keeps its lone CRs and zero bytes, shown by their stand-ins.
TEST(TextView, SetTextKeepsLoneCrsAndZeroBytes) {
    TKelvaneForm form;
    const std::string text = "a\rb\r\n\0\r\n\x82\xa0"s;
    form.Info->SetText(text);
    EXPECT_EQ(form.Info->Text(), text);
    EXPECT_EQ(ScreenLine(form, 0), u"a\u240db");
    form.Info->SetText("x\ny");
    EXPECT_EQ(form.Info->Text(), "x\r\ny");
}

// An exception while an update is open (an allocation failure on a hostile line) does not leave
// it open: the next line is shown with the caret after it.
TEST(TextView, UpdateEndsWhenAnExceptionLeavesIt) {
    TKelvaneForm form;
    try {
        const TMemoLines::TUpdate update(*form.Info->Lines);
        form.Info->Lines->Add("one");
        throw std::runtime_error("no memory");
    } catch (const std::runtime_error&) {
    }
    View(form)->moveCursor(QTextCursor::Start);
    form.Info->Lines->Add("two");
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\none\r\ntwo\r\n");
    EXPECT_EQ(View(form)->textCursor().position(), View(form)->document()->characterCount() - 1);
}

// A line far longer than any answer's is shown in pieces, so that laying it out cannot hold the
// window; it comes back whole. A line break the user makes among its pieces is one line break.
TEST(TextView, LongLinesAreShownInPiecesAndComeBackWhole) {
    TKelvaneForm form;
    form.Info->SetText("");
    const int n = TMemo::MaxBlockLength;
    // Words of a few letters, so that the screen shows each character where it is in the line
    // (a word too long for a screen line carries breaks of the view's own).
    std::string ascii;
    for (int i = 0; i < 3 * n + 5; ++i)
        ascii += i % 8 == 7 ? ' ' : 'w';
    std::string utf8; // its first piece would end inside the emoji
    for (int i = 0; i < n - 1; ++i)
        utf8 += i % 8 == 7 ? " " : "\xc3\xbc";
    utf8 += "\xf0\x9f\x98\x80" + std::string(10, 'x');
    std::string kept; // the NEC-selected IBM 纊, which Windows writes in another form
    for (int i = 0; i <= n; ++i)
        kept += "\xed\x40";
    form.Info->Lines->Add(ascii);
    form.Info->Lines->Add(utf8);
    form.Info->Lines->Add(kept);
    EXPECT_EQ(form.Info->Text(), ascii + "\r\n" + utf8 + "\r\n" + kept + "\r\n");

    const QTextDocument* doc = View(form)->document();
    EXPECT_EQ(doc->blockCount(), 4 + 2 + 2 + 1);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        EXPECT_LE(block.length() - 1, n) << block.blockNumber();
    EXPECT_EQ(ScreenLine(form, 5).substr(0, 3), u"\U0001F600x");

    View(form)->setFocus();
    PutCaret(form, 1, 10); // inside the second piece
    QTest::keyClick(View(form), Qt::Key_Return);
    PutCaret(form, 3, 0); // at the start of what was the third piece
    QTest::keyClick(View(form), Qt::Key_Return);
    std::string want = ascii.substr(0, n + 10) + "\r\n";
    want += ascii.substr(n + 10, n - 10) + "\r\n";
    want += ascii.substr(2 * n) + "\r\n";
    want += utf8 + "\r\n";
    want += kept + "\r\n";
    EXPECT_EQ(form.Info->Text(), want);
}

// Every line of the view as shown, with the properties of its format, after the view's Text.
std::vector<std::string> Shown(const TKelvaneForm& form) {
    std::vector<std::string> out{form.Info->Text()};
    for (QTextBlock b = View(form)->document()->begin(); b.isValid(); b = b.next()) {
        std::string line = b.text().toStdString();
        const auto properties = b.blockFormat().properties();
        for (auto p = properties.begin(); p != properties.end(); ++p)
            line += " |" + std::to_string(p.key()) + "=" +
                    p.value().toByteArray().toHex().toStdString();
        out.push_back(line);
    }
    return out;
}

// Lines added together in an update give the very view that adding them one by one gives, from
// every kind of end of the text: a line break, typed text, nothing, or a UTF-8 line whose line
// break the user deleted.
TEST(TextView, LinesAddedTogetherEqualLinesAddedOneByOne) {
    const std::vector<std::string> lines = {"",
                                            "plain\r",
                                            "",
                                            "",
                                            "M\xc3\xbcller\r",
                                            "\xed\x40 kept",
                                            "",
                                            "x\0y"s,
                                            "tail",
                                            std::string(LongWord + 5, 'w'),
                                            "J\xc3\xbcrgen",
                                            "",
                                            "last\r"};
    const std::function<void(TKelvaneForm&)> starts[] = {
        [](TKelvaneForm& f) { f.Info->SetText("Kelvane\r\n"); },
        [](TKelvaneForm& f) { f.Info->SetText("Kelvane\r\ntyped"); },
        [](TKelvaneForm& f) { f.Info->SetText(""); },
        [](TKelvaneForm& f) {
            f.Info->SetText("");
            f.Info->Lines->Add("M\xc3\xbcller");
            View(f)->setFocus();
            QTest::keyClick(View(f), Qt::Key_Backspace); // the caret stands at the end
        },
    };
    for (std::size_t first = 0; first < lines.size(); first += 3) {
        const std::vector<std::string> added(lines.begin() + first, lines.end());
        for (std::size_t s = 0; s < std::size(starts); ++s) {
            TKelvaneForm oneByOne, together;
            starts[s](oneByOne);
            starts[s](together);
            for (const auto& line : added)
                oneByOne.Info->Lines->Add(line);
            {
                const TMemoLines::TUpdate update(*together.Info->Lines);
                for (const auto& line : added)
                    together.Info->Lines->Add(line);
            }
            EXPECT_EQ(Shown(together), Shown(oneByOne)) << "start " << s << ", from line " << first;
            EXPECT_EQ(View(together)->textCursor().position(),
                      View(together)->document()->characterCount() - 1);
        }
    }
}

// An appended line cannot be undone and leaves nothing to undo or redo, whether it is added alone
// or with others in an update.
TEST(TextView, AppendedLinesLeaveNothingToUndo) {
    for (const bool together : {false, true}) {
        TKelvaneForm form;
        QTextDocument* doc = View(form)->document();
        View(form)->setFocus();
        PutCaret(form, 0, 0);
        Type(form, u"ab");
        PutCaret(form, 0, 5);
        Type(form, u"c");
        QTest::keyClick(View(form), Qt::Key_Z, Qt::ControlModifier);
        ASSERT_TRUE(doc->isUndoAvailable() && doc->isRedoAvailable());
        if (together) {
            const TMemoLines::TUpdate update(*form.Info->Lines);
            form.Info->Lines->Add("one");
            form.Info->Lines->Add("two");
        } else {
            form.Info->Lines->Add("one");
        }
        EXPECT_FALSE(doc->isUndoAvailable()) << together;
        EXPECT_FALSE(doc->isRedoAvailable()) << together;
        const std::string text = form.Info->Text();
        QTest::keyClick(View(form), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(View(form), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(form.Info->Text(), text) << together;
        EXPECT_EQ(text.substr(0, 11), "abKelvane\r\n") << together; // the undone "c" stays undone
        Type(form, u"d"); // the user's own edits are recorded again
        EXPECT_TRUE(doc->isUndoAvailable()) << together;
    }
}

// Ordinary text wraps at word boundaries; a word longer than the view breaks anywhere, the view
// filling each screen line with it (one long enough to carry the view's breaks but for fewer
// than BreakEvery characters).
TEST(TextView, WordWrap) {
    std::string words = "[Name Server]";
    while (words.size() < 600)
        words += " ns" + std::to_string(words.size()) + ".example.jp";
    const struct {
        const char* name;
        std::string line;
        int slack; // characters a full screen line may fall short of the width; 0: words whole
    } cases[] = {
        {"Words", words, 0},
        {"WordLongerThanTheView", std::string(300, 'x'), 2},
        {"WordWithTheViewsBreaks", std::string(3 * LongWord, 'y'), BreakEvery + 1},
    };
    TKelvaneForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    for (const auto& c : cases) {
        form.Info->SetText("");
        form.Info->Lines->Add(c.line);
        const QTextBlock block = View(form)->document()->firstBlock();
        View(form)->document()->documentLayout()->blockBoundingRect(block); // lays it out
        const QTextLayout* layout = block.layout();
        ASSERT_GT(layout->lineCount(), 2) << c.name;
        const QString text = block.text();
        const qreal charWidth = QFontMetricsF(View(form)->font()).horizontalAdvance(QChar(u'x'));
        for (int i = 0; i + 1 < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (c.slack)
                EXPECT_GT(line.naturalTextWidth() + c.slack * charWidth, line.width())
                    << c.name << i;
            else
                EXPECT_EQ(text.at(line.textStart() + line.textLength() - 1), QChar(u' '))
                    << c.name << " line " << i;
        }
    }
}

// The view's breaks in a long word stay on the screen: a copy of the lines holds the word whole.
TEST(TextView, CopyLeavesTheViewsBreaksOut) {
    TKelvaneForm form;
    const std::string word(LongWord + 300, 'k');
    form.Info->SetText("");
    form.Info->Lines->Add("key: " + word);
    form.Info->Lines->Add("next");
    ASSERT_TRUE(View(form)->toPlainText().contains(QChar(BreakHere)));
    View(form)->setFocus();
    QTest::keyClick(View(form), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(View(form), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "key: " + word + "\nnext\n");
}

} // namespace

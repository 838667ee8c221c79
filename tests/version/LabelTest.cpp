#include "Label.h"

#include "SjisText.h"

#include <QFont>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QLabel* Screen(const TLabel& label) {
    return static_cast<QLabel*>(label.Widget());
}

// What the label draws, and which of its characters are underlined.
struct Drawn {
    QString text;
    QString underlined;
};

Drawn DrawnText(const TLabel& label) {
    const QLabel* screen = Screen(label);
    if (screen->textFormat() == Qt::PlainText) return {screen->text(), {}};
    QTextDocument document;
    document.setHtml(screen->text());
    Drawn drawn{document.toPlainText(), {}};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().fontUnderline())
                drawn.underlined += it.fragment().text();
    return drawn;
}

TEST(Label, AcceleratorMarks) {
    const struct {
        const char* name;
        std::string caption;
        bool showAccelChar;
        QString text, underlined;
    } cases[] = {
        {"mark drawn as itself", "A&B", false, "A&B", ""},
        {"mark underlines the next", "A&B", true, "AB", "B"},
        {"double mark is one", "A&&B", true, "A&B", ""},
        {"final mark stays", "AB&", true, "AB&", ""},
        {"markup is text", "<b>x</b>&", true, "<b>x</b>&", ""},
        {"spaces kept", " a  &b ", true, " a  b ", "b"},
        {"Japanese", SjisText("版&権"), true, QStringLiteral("版権"), QStringLiteral("権")},
    };
    QWidget window;
    for (const auto& c : cases) {
        TLabel label;
        label.Widget()->setParent(&window);
        label.SetShowAccelChar(c.showAccelChar);
        label.SetCaption(c.caption);
        const Drawn drawn = DrawnText(label);
        EXPECT_EQ(drawn.text, c.text) << c.name;
        EXPECT_EQ(drawn.underlined, c.underlined) << c.name;
        EXPECT_EQ(label.Caption(), c.caption) << c.name;
    }
}

TEST(Label, AutoSizeFollowsTextAndFont) {
    QWidget window;
    TLabel label;
    label.Widget()->setParent(&window);
    label.SetBounds(16, 8, 1, 1);
    label.SetCaption("Kelvane");
    const QSize small = label.Widget()->size();
    EXPECT_EQ(small, Screen(label)->sizeHint());
    EXPECT_GT(small.width(), 1);
    EXPECT_EQ(label.Widget()->pos(), QPoint(16, 8));

    QFont large = label.Widget()->font();
    large.setPixelSize(40);
    window.setFont(large); // the label takes its parent's font
    EXPECT_GT(label.Widget()->height(), small.height());
    EXPECT_EQ(label.Widget()->size(), Screen(label)->sizeHint());
    EXPECT_EQ(label.Widget()->pos(), QPoint(16, 8));

    label.SetAutoSize(false);
    const QSize kept = label.Widget()->size();
    label.SetCaption("a much longer caption than before");
    EXPECT_EQ(label.Widget()->size(), kept);
}

} // namespace

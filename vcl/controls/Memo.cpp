#include "Memo.h"

#include "Cp932.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QString ScreenLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    QString screen = AnswerLineToScreen(line);
    screen.replace(QChar(u'\0'), QChar(u'〓'));
    return screen;
}

} // namespace

TMemoLines::TMemoLines(TMemo& memo) : memo_(memo) {}

TMemoLines::~TMemoLines() = default;

void TMemoLines::Add(const std::string& line) {
    QTextDocument* doc = memo_.Edit()->document();
    QTextCursor single;
    QTextCursor& cursor = batch_ ? *batch_ : (single = QTextCursor(doc));
    const bool endsWithBreak = doc->lastBlock().length() <= 1; // an empty last line, or no text
    cursor.movePosition(QTextCursor::End);
    if (endsWithBreak)
        cursor.insertText(ScreenLine(line) + QChar(u'\n'));
    else
        cursor.insertText(QChar(u'\n') + ScreenLine(line));
    if (!batch_) memo_.Edit()->setTextCursor(cursor);
}

void TMemoLines::BeginUpdate() {
    if (updating_++ > 0) return;
    batch_ = std::make_unique<QTextCursor>(memo_.Edit()->document());
    batch_->beginEditBlock();
}

void TMemoLines::EndUpdate() {
    if (updating_ == 0 || --updating_ > 0) return;
    batch_->endEditBlock();
    batch_->movePosition(QTextCursor::End);
    memo_.Edit()->setTextCursor(*batch_); // the caret follows, a selection is given up
    batch_.reset();
}

TMemo::TMemo() : TControl(new QPlainTextEdit), edit_(static_cast<QPlainTextEdit*>(Widget())) {
    Lines = std::make_unique<TMemoLines>(*this);
    edit_->setTabChangesFocus(true);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

TMemo::~TMemo() = default;

std::string TMemo::Text() const {
    QString text = edit_->toPlainText();
    text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return ScreenToCp932(text);
}

void TMemo::SetText(const std::string& text) {
    QString screen = Cp932ToScreen(text);
    screen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit_->setPlainText(screen);
}

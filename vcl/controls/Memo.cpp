#include "Memo.h"

#include "ViewLine.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <utility>

namespace {

// A line read as UTF-8 carries the first of these block format properties, a line that keeps its
// bytes the second; a line with neither is code page 932. Block formats, not the blocks' user
// states: undo and redo bring back a line's format but not its user state, so a line deleted and
// brought back keeps its code.
constexpr int Utf8LineProperty = QTextFormat::UserProperty + 1;
constexpr int KeptBytesProperty = QTextFormat::UserProperty + 2;

TLineCode CodeOf(const QTextBlockFormat& format) {
    return format.boolProperty(Utf8LineProperty) ? TLineCode::Utf8 : TLineCode::Cp932;
}

bool IsPlain(const QTextBlock& block) {
    const QTextBlockFormat format = block.blockFormat();
    return !format.hasProperty(Utf8LineProperty) && !format.hasProperty(KeptBytesProperty);
}

const QTextBlockFormat& PlainFormat() {
    static const QTextBlockFormat plain;
    return plain;
}

const QTextBlockFormat& Utf8Format() {
    static const QTextBlockFormat utf8 = [] {
        QTextBlockFormat format;
        format.setProperty(Utf8LineProperty, true);
        return format;
    }();
    return utf8;
}

QTextBlockFormat FormatOf(const TViewLine& line, std::string_view bytes) {
    if (line.code == TLineCode::Utf8) return Utf8Format();
    if (!line.keepsBytes) return PlainFormat();
    QTextBlockFormat format;
    format.setProperty(KeptBytesProperty,
                       QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return format;
}

} // namespace

// Marks the view's own changes of its text for their duration, so that they are not taken for
// the user's.
class TMemo::TOwnEdit {
  public:
    explicit TOwnEdit(TMemo& memo) : flag_(memo.ownEdit_), was_(std::exchange(flag_, true)) {}
    ~TOwnEdit() { flag_ = was_; }
    TOwnEdit(const TOwnEdit&) = delete;
    TOwnEdit& operator=(const TOwnEdit&) = delete;

  private:
    bool& flag_;
    bool was_;
};

TMemoLines::TMemoLines(TMemo& memo) : memo_(memo) {}

TMemoLines::~TMemoLines() = default;

void TMemoLines::Add(const std::string& line) {
    std::string_view bytes(line);
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    const TViewLine view = AnswerLineToView(bytes);
    const TMemo::TOwnEdit own(memo_);
    if (batch_) {
        memo_.AppendLine(*batch_, view, bytes);
        return;
    }
    QTextCursor cursor(memo_.Edit()->document());
    cursor.beginEditBlock();
    memo_.AppendLine(cursor, view, bytes);
    cursor.endEditBlock();
    memo_.Edit()->document()->clearUndoRedoStacks();
    memo_.Edit()->setTextCursor(cursor);
}

void TMemoLines::AddUtf8(const std::string& line) {
    std::string_view bytes(line);
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    const TViewLine view = Utf8LineToViewLine(bytes);
    const TMemo::TOwnEdit own(memo_);
    if (batch_) {
        memo_.AppendLine(*batch_, view, bytes);
        return;
    }
    QTextCursor cursor(memo_.Edit()->document());
    cursor.beginEditBlock();
    memo_.AppendLine(cursor, view, bytes);
    cursor.endEditBlock();
    memo_.Edit()->document()->clearUndoRedoStacks();
    memo_.Edit()->setTextCursor(cursor);
}

void TMemoLines::BeginUpdate() {
    if (updating_++ > 0) return;
    batch_ = std::make_unique<QTextCursor>(memo_.Edit()->document());
    batch_->beginEditBlock();
}

void TMemoLines::EndUpdate() {
    if (updating_ == 0 || --updating_ > 0) return;
    {
        const TMemo::TOwnEdit own(memo_);
        batch_->endEditBlock();
    }
    memo_.Edit()->document()->clearUndoRedoStacks();
    batch_->movePosition(QTextCursor::End);
    memo_.Edit()->setTextCursor(*batch_); // the caret follows, a selection is given up
    batch_.reset();
}

TMemo::TMemo()
    : TControl(new QPlainTextEdit), edit_(static_cast<QPlainTextEdit*>(Widget())),
      watcher_(std::make_unique<QObject>()) {
    Lines = std::make_unique<TMemoLines>(*this);
    edit_->setTabChangesFocus(true);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    // A new command on the undo stack comes before the change it made is reported; undo and redo
    // add none, so what they bring back is left as it was.
    QTextDocument* doc = edit_->document();
    QObject::connect(doc, &QTextDocument::undoCommandAdded, watcher_.get(),
                     [this] { userEdit_ = true; });
    QObject::connect(doc, &QTextDocument::contentsChange, watcher_.get(),
                     [this](int position, int, int added) {
                         const bool byUser = std::exchange(userEdit_, false) && !ownEdit_;
                         if (byUser && added > 0) MarkCreatedLines(position, added);
                         userEdit_ = false;
                     });
}

TMemo::~TMemo() = default;

// Appends one line at the end with `cursor`, by the append rule of Lines->Add.
void TMemo::AppendLine(QTextCursor& cursor, const TViewLine& line, std::string_view bytes) {
    cursor.movePosition(QTextCursor::End);
    const QTextBlock last = cursor.block();
    const bool plain = line.code == TLineCode::Cp932 && !line.keepsBytes;
    if (last.length() > 1) { // the user typed on the last line: the line begins one of its own
        cursor.insertBlock(FormatOf(line, bytes));
        cursor.insertText(line.screen);
        return;
    }
    if (!plain || !IsPlain(last)) cursor.setBlockFormat(FormatOf(line, bytes));
    cursor.insertText(line.screen);
    cursor.insertBlock(PlainFormat());
}

// A new line takes the code of the line it was split from, as the document copies the block
// format. That is right for the halves of a split line, which hold text of the old line; a line
// that holds none of it is the user's own and code page 932.
void TMemo::MarkCreatedLines(int position, int added) {
    QTextDocument* doc = edit_->document();
    const QTextBlock first = doc->findBlock(position);
    const QTextBlock last = doc->findBlock(position + added);
    if (first == last) return;
    const TOwnEdit own(*this);
    QTextCursor cursor(doc);
    cursor.joinPreviousEditBlock(); // one step of undo with the user's edit
    auto created = [&](const QTextBlock& block) {
        if (IsPlain(block)) return;
        cursor.setPosition(block.position());
        cursor.setBlockFormat(PlainFormat());
    };
    if (position == first.position()) created(first); // the old line's text moved on to `last`
    for (QTextBlock block = first.next(); block.isValid() && block != last; block = block.next())
        created(block);
    if (last.position() + last.length() - 1 == position + added) created(last);
    cursor.endEditBlock();
}

std::string TMemo::Text() const {
    const QTextDocument* doc = edit_->document();
    std::string text;
    text.reserve(static_cast<std::size_t>(doc->characterCount() + doc->blockCount()));
    bool first = true;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (!std::exchange(first, false)) text += "\r\n";
        const QTextBlockFormat format = block.blockFormat();
        const QByteArray kept = format.hasProperty(KeptBytesProperty)
                                    ? format.property(KeptBytesProperty).toByteArray()
                                    : QByteArray();
        ViewLineToBytes(block.text(), CodeOf(format), std::string_view(kept.data(), kept.size()),
                        text);
    }
    return text;
}

void TMemo::SetText(const std::string& text) {
    QString screen;
    std::string_view rest(text);
    for (;;) {
        const std::size_t lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        screen += Cp932LineToView(line);
        if (lf == std::string_view::npos) break;
        screen += QChar(u'\n');
        rest.remove_prefix(lf + 1);
    }
    const TOwnEdit own(*this);
    edit_->setPlainText(screen);
}

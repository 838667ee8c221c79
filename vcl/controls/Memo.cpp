#include "Memo.h"

#include "ViewLine.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <utility>

namespace {

// A line read as UTF-8 carries the first of these block format properties, a line that keeps its
// bytes the second; a line with neither is code page 932. Block formats, not the blocks' user
// states: undo and redo bring back a line's format but not its user state, so a line deleted and
// brought back keeps its code.
constexpr int Utf8LineProperty = QTextFormat::UserProperty + 1;
constexpr int KeptBytesProperty = QTextFormat::UserProperty + 2;
// A block that goes on with the line of the block before it (see TMemo::MaxBlockLength).
constexpr int ContinuesLineProperty = QTextFormat::UserProperty + 3;

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

const QTextBlockFormat& ContinuationFormat() {
    static const QTextBlockFormat continuation = [] {
        QTextBlockFormat format;
        format.setProperty(ContinuesLineProperty, true);
        return format;
    }();
    return continuation;
}

bool Continues(const QTextBlockFormat& format) {
    return format.boolProperty(ContinuesLineProperty);
}

// Inserts a line's screen text, in pieces of at most MaxBlockLength characters, each after the
// first in a block of its own that goes on with the line. A piece never ends inside a surrogate
// pair.
void InsertInPieces(QTextCursor& cursor, const QString& screen) {
    if (screen.size() <= TMemo::MaxBlockLength) {
        cursor.insertText(screen);
        return;
    }
    for (qsizetype at = 0; at < screen.size();) {
        qsizetype n = std::min<qsizetype>(TMemo::MaxBlockLength, screen.size() - at);
        if (at + n < screen.size() && screen.at(at + n - 1).isHighSurrogate()) --n;
        if (at > 0) cursor.insertBlock(ContinuationFormat());
        cursor.insertText(screen.mid(at, n));
        at += n;
    }
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
        InsertInPieces(cursor, line.screen);
        return;
    }
    if (!plain || !IsPlain(last)) cursor.setBlockFormat(FormatOf(line, bytes));
    InsertInPieces(cursor, line.screen);
    cursor.insertBlock(PlainFormat());
}

// A new line takes the code of the line it was split from, as the document copies the block
// format. That is right for the halves of a split line, which hold text of the old line; a line
// that holds none of it is the user's own and code page 932. A block after a line break the user
// made begins a line, even when the block it was split from went on with another.
void TMemo::MarkCreatedLines(int position, int added) {
    QTextDocument* doc = edit_->document();
    const QTextBlock first = doc->findBlock(position);
    const QTextBlock last = doc->findBlock(position + added);
    if (first == last) return;
    const TOwnEdit own(*this);
    QTextCursor cursor(doc);
    cursor.joinPreviousEditBlock(); // one step of undo with the user's edit
    // The first block stays where the old line's block began, going on with a line as it did.
    const bool firstContinues = Continues(first.blockFormat());
    auto created = [&](const QTextBlock& block) {
        const bool continues = block == first && firstContinues;
        if (IsPlain(block) && Continues(block.blockFormat()) == continues) return;
        cursor.setPosition(block.position());
        cursor.setBlockFormat(continues ? ContinuationFormat() : PlainFormat());
    };
    if (position == first.position()) created(first); // the old line's text moved on to `last`
    for (QTextBlock block = first.next(); block.isValid() && block != last; block = block.next())
        created(block);
    if (last.position() + last.length() - 1 == position + added) {
        created(last);
    } else if (Continues(last.blockFormat())) {
        QTextBlockFormat format = last.blockFormat();
        format.clearProperty(ContinuesLineProperty);
        cursor.setPosition(last.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
}

std::string TMemo::Text() const {
    const QTextDocument* doc = edit_->document();
    std::string text;
    text.reserve(static_cast<std::size_t>(doc->characterCount() + doc->blockCount()));
    QTextBlock block = doc->begin();
    QTextBlockFormat format = block.blockFormat();
    for (bool first = true; block.isValid(); first = false) {
        if (!first) text += "\r\n";
        const QByteArray kept = format.hasProperty(KeptBytesProperty)
                                    ? format.property(KeptBytesProperty).toByteArray()
                                    : QByteArray();
        const TLineCode code = CodeOf(format);
        QString screen = block.text();
        // The blocks that go on with this line.
        while ((block = block.next()).isValid() && Continues(format = block.blockFormat()))
            screen += block.text();
        ViewLineToBytes(screen, code, std::string_view(kept.data(), kept.size()), text);
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

#include "Memo.h"

#include "ViewLine.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
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

// Appending to the end of a document: undo is off meanwhile (which empties both of its stacks)
// and comes back, and the edit ends, whatever happens on the way.
class TAppending {
  public:
    explicit TAppending(QTextCursor& cursor)
        : cursor_(cursor), undo_(cursor.document()->isUndoRedoEnabled()) {
        cursor_.document()->setUndoRedoEnabled(false);
        cursor_.beginEditBlock();
    }
    ~TAppending() {
        cursor_.endEditBlock();
        cursor_.document()->setUndoRedoEnabled(undo_);
    }
    TAppending(const TAppending&) = delete;
    TAppending& operator=(const TAppending&) = delete;

  private:
    QTextCursor& cursor_;
    bool undo_;
};

// Holds back a document layout's notices (when `hold`) for its lifetime.
class THeldNotices {
  public:
    THeldNotices(QAbstractTextDocumentLayout& layout, bool hold)
        : layout_(layout), was_(layout.blockSignals(hold || layout.signalsBlocked())) {}
    ~THeldNotices() { layout_.blockSignals(was_); }
    THeldNotices(const THeldNotices&) = delete;
    THeldNotices& operator=(const THeldNotices&) = delete;

  private:
    QAbstractTextDocumentLayout& layout_;
    bool was_;
};

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

// The view's breaks in long words are no part of the text: what is copied or dragged out of the
// view leaves them out.
class TViewEdit : public QPlainTextEdit {
  protected:
    QMimeData* createMimeDataFromSelection() const override {
        auto* data = new QMimeData;
        data->setText(textCursor().selection().toPlainText().remove(QChar(BreakHere)));
        return data;
    }
};

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

void TMemoLines::Add(std::string_view line) {
    std::string_view bytes(line);
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    const TViewLine view = AnswerLineToView(bytes);
    const TUpdate update(*this);
    Queue(view, bytes);
}

void TMemoLines::AddUtf8(std::string_view line) {
    std::string_view bytes(line);
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    const TViewLine view = Utf8LineToViewLine(bytes);
    const TUpdate update(*this);
    Queue(view, bytes);
}

void TMemoLines::BeginUpdate() {
    ++updating_;
}

void TMemoLines::EndUpdate() {
    if (updating_ == 0 || --updating_ > 0) return;
    Flush();
}

// The append rule, line by line, on the end of the text as the queued lines leave it: a line is
// followed by a line break, or, when the last line holds text, preceded by one.
void TMemoLines::Queue(const TViewLine& line, std::string_view bytes) {
    if (steps_.empty()) {
        const QTextBlock last = memo_.Edit()->document()->lastBlock();
        tailHoldsText_ = last.length() > 1;
        tailPlain_ = IsPlain(last);
    }
    using enum TStep::TKind;
    const bool plain = line.code == TLineCode::Cp932 && !line.keepsBytes;
    const QTextBlockFormat format = FormatOf(line, bytes);
    if (tailHoldsText_) {
        Push(Block, format);
        PushScreen(line.screen);
        tailPlain_ = plain;
        tailHoldsText_ = !line.screen.isEmpty();
        return;
    }
    if (!plain || !tailPlain_) Push(Format, format);
    PushScreen(line.screen);
    // A line break inside the text begins a line of the current block's format: plain after a
    // plain line, but after the last piece of a long line that format goes on with the line.
    if (plain && line.screen.size() <= TMemo::MaxBlockLength) {
        steps_.back().text += QChar(u'\n'); // the new last line is plain too
    } else {
        Push(Block, PlainFormat());
    }
    tailPlain_ = true;
}

void TMemoLines::Push(TStep::TKind kind, const QTextBlockFormat& format, QString text) {
    if (kind == TStep::TKind::Text && !steps_.empty() && steps_.back().kind == kind) {
        steps_.back().text += text;
        return;
    }
    steps_.push_back({kind, std::move(text), format});
}

// Each piece after the first in a block of its own that goes on with the line; a piece never ends
// inside a surrogate pair.
void TMemoLines::PushScreen(const QString& screen) {
    using enum TStep::TKind;
    if (screen.size() <= TMemo::MaxBlockLength) return Push(Text, {}, screen);
    for (qsizetype at = 0; at < screen.size();) {
        qsizetype n = std::min<qsizetype>(TMemo::MaxBlockLength, screen.size() - at);
        if (at + n < screen.size() && screen.at(at + n - 1).isHighSurrogate()) --n;
        if (at > 0) Push(Block, ContinuationFormat());
        Push(Text, {}, screen.mid(at, n));
        at += n;
    }
}

// An appended line is no change of the user's: the document records nothing for undo while the
// lines go in, which also spares it a record of every line, and keeps nothing to undo.
void TMemoLines::Flush() {
    if (steps_.empty()) return;
    std::vector<TStep> steps;
    steps.swap(steps_);
    QTextDocument* doc = memo_.Edit()->document();
    const TMemo::TOwnEdit own(memo_);
    // A caret at the end without a selection stays at the end as the lines go in after it. The
    // view's own work on the new lines, the scroll bar's range (which lays out the last screenful
    // of lines) and the repaint, then waits for the event loop's next turn: done once for all the
    // reads before it, not for each. The layout's notices of the change are held back meanwhile.
    const QTextCursor caret = memo_.Edit()->textCursor();
    const bool caretAtEnd = !caret.hasSelection() && caret.atEnd();
    const THeldNotices held(*doc->documentLayout(), caretAtEnd);
    if (caretAtEnd) memo_.ShowNewLinesLater();
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    const TAppending appending(cursor);
    for (const TStep& step : steps) {
        switch (step.kind) {
        case TStep::TKind::Text:
            cursor.insertText(step.text);
            break;
        case TStep::TKind::Block:
            cursor.insertBlock(step.format);
            break;
        case TStep::TKind::Format:
            cursor.setBlockFormat(step.format);
            break;
        }
    }
    if (!caretAtEnd) memo_.Edit()->setTextCursor(cursor); // the caret follows, a selection goes
}

TMemo::TMemo()
    : TControl(new TViewEdit), edit_(static_cast<QPlainTextEdit*>(Widget())),
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

// Posted before the lines go in, it runs before any repaint asked for meanwhile.
void TMemo::ShowNewLinesLater() {
    if (std::exchange(newLinesPending_, true)) return;
    QMetaObject::invokeMethod(
        watcher_.get(),
        [this] {
            newLinesPending_ = false;
            QAbstractTextDocumentLayout* layout = edit_->document()->documentLayout();
            emit layout->documentSizeChanged(layout->documentSize()); // the scroll bar's range
            // and a repaint
            emit layout->update(QRectF(0, -edit_->document()->documentMargin(), 1e9, 1e9));
            edit_->ensureCursorVisible();
        },
        Qt::QueuedConnection);
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
    Lines->Flush();
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
    Lines->Flush(); // lines added in an update come before the text that replaces them
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

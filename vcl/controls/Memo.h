#pragma once
// The multi-line text view. Its text is Text with CR LF line breaks; every line remembers how it
// was read (code page 932 or UTF-8, see ViewLine) and gives back the bytes it was read from.
// Lines->Add appends one line at the end, as the answers arrive.

#include "Control.h"

#include <QString>
#include <QTextBlockFormat>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QObject;
class QPlainTextEdit;
class QTextCursor;
class TMemo;
struct TViewLine;

class TMemoLines {
  public:
    explicit TMemoLines(TMemo& memo);
    ~TMemoLines();
    // Appends `line` at the end and puts the caret after it, giving up any selection. The line is
    // followed by CR LF, or, when the text does not end with a line break, preceded by one. A
    // trailing CR is shown as the line break it stands before and comes back as the CR of that
    // line break. An appended line is no change of the user's: it cannot be undone, and it leaves
    // nothing to undo.
    void Add(std::string_view line);
    // The same for a line known to be UTF-8 (see Utf8LineToViewLine): it is shown, and given
    // back, as UTF-8 whatever a code page 932 reading of it would look like.
    void AddUtf8(std::string_view line);

    // Lines added between BeginUpdate and EndUpdate go into the document together at the end, in
    // one insertion of their text: a read that brings many lines costs about what one bulk
    // insertion of its text costs, and one layout instead of one each. The view's Text and
    // SetText take the lines added so far first.
    void BeginUpdate();
    void EndUpdate();

    // Holds an update open for its lifetime, so that an exception cannot leave it open.
    class TUpdate {
      public:
        explicit TUpdate(TMemoLines& lines) : lines_(lines) { lines_.BeginUpdate(); }
        ~TUpdate() { lines_.EndUpdate(); }
        TUpdate(const TUpdate&) = delete;
        TUpdate& operator=(const TUpdate&) = delete;

      private:
        TMemoLines& lines_;
    };

  private:
    friend class TMemo;

    // One step of putting the lines of an update at the end of the document. Steps that insert
    // text follow one another as one step, so that a run of plain lines is one insertion.
    struct TStep {
        enum class TKind { Text, Block, Format } kind;
        QString text;            // Text: inserted; a line break in it begins a line of the
                                 // current line's format
        QTextBlockFormat format; // Block: the new line's; Format: the current line's
    };

    void Queue(const TViewLine& line, std::string_view bytes);
    void Push(TStep::TKind kind, const QTextBlockFormat& format, QString text = {});
    // Pushes a line's screen text, in pieces where it is longer than TMemo::MaxBlockLength.
    void PushScreen(const QString& screen);
    // Puts the queued lines into the document.
    void Flush();

    TMemo& memo_;
    int updating_ = 0;
    std::vector<TStep> steps_;
    // Where the queued lines leave the end of the text: whether its last line holds text (the
    // next line then begins a line of its own) and whether that line is code page 932 as read.
    bool tailHoldsText_ = false;
    bool tailPlain_ = true;
};

class TMemo : public TControl {
  public:
    // An appended line longer than this many characters is shown in pieces of at most this length,
    // one below the other, and comes back whole. The view lays out a block whole as soon as its
    // height is wanted, so a single line of megabytes from a server would hold the window for a
    // second or more; pieces are laid out as they come into sight.
    static constexpr int MaxBlockLength = 4096;

    TMemo();
    ~TMemo() override;

    std::string Text() const;
    // Every line of `text` (lines end at CR LF or LF) is read as code page 932.
    void SetText(const std::string& text);
    void Clear() { SetText({}); }
    std::unique_ptr<TMemoLines> Lines;

    QPlainTextEdit* Edit() const { return edit_; }

  private:
    friend class TMemoLines;
    class TOwnEdit;

    void MarkCreatedLines(int position, int added);
    // Shows lines that went in with their layout's notices held back, when the event loop next has
    // its turn (once, however often asked): the scroll bar takes the new range, the view is
    // repainted and scrolled to the caret.
    void ShowNewLinesLater();

    QPlainTextEdit* edit_;
    std::unique_ptr<QObject> watcher_; // the context of the connections to the document
    bool ownEdit_ = false;             // the view changes its text itself, not the user
    bool userEdit_ = false;            // the user's last edit was recorded for undo
    bool newLinesPending_ = false;
};

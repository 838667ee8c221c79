#pragma once
// The multi-line text view. Its text is Text with CR LF line breaks; every line remembers how it
// was read (code page 932 or UTF-8, see ViewLine) and gives back the bytes it was read from.
// Lines->Add appends one line at the end, as the answers arrive.

#include "Control.h"

#include <memory>
#include <string>
#include <string_view>

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
    void Add(const std::string& line);
    // The same for a line known to be UTF-8 (see Utf8LineToViewLine): it is shown, and given
    // back, as UTF-8 whatever a code page 932 reading of it would look like.
    void AddUtf8(const std::string& line);

    // Lines added between BeginUpdate and EndUpdate are laid out and shown together at the end,
    // so a read that brings many lines costs one layout instead of one each.
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
    TMemo& memo_;
    int updating_ = 0;
    std::unique_ptr<QTextCursor> batch_; // the cursor of the update in progress
};

class TMemo : public TControl {
  public:
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

    void AppendLine(QTextCursor& cursor, const TViewLine& line, std::string_view bytes);
    void MarkCreatedLines(int position, int added);

    QPlainTextEdit* edit_;
    std::unique_ptr<QObject> watcher_; // the context of the connections to the document
    bool ownEdit_ = false;             // the view changes its text itself, not the user
    bool userEdit_ = false;            // the user's last edit was recorded for undo
};

#pragma once
// The multi-line text view. Its text is Text with CR LF line breaks; the screen shows it through
// the code page 932 boundary. Lines->Add appends one line at the end, as the answers arrive.

#include "Control.h"

#include <memory>
#include <string>

class QPlainTextEdit;
class QTextCursor;
class TMemo;

class TMemoLines {
  public:
    explicit TMemoLines(TMemo& memo);
    ~TMemoLines();
    // Appends `line` at the end and puts the caret after it, giving up any selection. The line is
    // followed by CR LF, or, when the text does not end with a line break, preceded by one. It is
    // shown by the answer-line decoding (UTF-8 answers stay readable); a trailing CR is shown as
    // the line break it stands before, and a zero byte as "〓".
    void Add(const std::string& line);

    // Lines added between BeginUpdate and EndUpdate are laid out and shown together at the end,
    // so a read that brings many lines costs one layout instead of one each.
    void BeginUpdate();
    void EndUpdate();

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
    void SetText(const std::string& text);
    void Clear() { SetText({}); }
    std::unique_ptr<TMemoLines> Lines;

    QPlainTextEdit* Edit() const { return edit_; }

  private:
    QPlainTextEdit* edit_;
};

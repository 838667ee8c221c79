#pragma once
// A line of static text on a form. It owns its caption and how it is drawn ("&" as an accelerator
// mark or as itself) and, with AutoSize, fits its size to its text; the font is the control's.

#include "Control.h"

#include <string>

class QLabel;

class TLabel : public TControl {
  public:
    TLabel();
    ~TLabel() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The text drawn: the caption here, other texts in labels that show data.
    virtual std::string LabelText() const { return caption_; }

    // On (the default), the label keeps its left and top edges and takes the width and height of
    // its text whenever the text or the font changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // On (the default), "&" underlines the next character and "&&" draws one "&"; off, "&" is
    // drawn as itself.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

  protected:
    // Draws LabelText() again, for labels whose text comes from elsewhere.
    void AdjustText();

  private:
    void FitSize();

    QLabel* label_;
    std::string caption_;
    bool autoSize_ = true;
    bool showAccelChar_ = true;
};

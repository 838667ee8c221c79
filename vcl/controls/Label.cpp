#include "Label.h"

#include "Cp932.h"

#include <QEvent>
#include <QLabel>
#include <functional>

namespace {

// The label's widget tells of font changes, its own or its parent's, so the size follows them.
class LabelWidget : public QLabel {
  public:
    std::function<void()> OnFontChange;

  protected:
    void changeEvent(QEvent* event) override {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::FontChange && OnFontChange) OnFontChange();
    }
};

// The text as rich text with each accelerator mark turned into an underline: "&x" underlines x,
// "&&" is one "&", a final "&" stays. Spaces are kept as they are.
QString WithAccelerators(const QString& text) {
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool mark = text[i] == u'&' && i + 1 < text.size();
        if (mark && text[i + 1] == u'&') {
            html += QStringLiteral("&amp;");
            ++i;
        } else if (mark) {
            html +=
                QStringLiteral("<u>") + QString(text[++i]).toHtmlEscaped() + QStringLiteral("</u>");
        } else {
            html += QString(text[i]).toHtmlEscaped();
        }
    }
    return QStringLiteral("<span style=\"white-space: pre\">") + html + QStringLiteral("</span>");
}

} // namespace

TLabel::TLabel() : TControl(new LabelWidget), label_(static_cast<QLabel*>(Widget())) {
    static_cast<LabelWidget*>(label_)->OnFontChange = [this] { FitSize(); };
    AdjustText();
}

TLabel::~TLabel() {
    static_cast<LabelWidget*>(label_)->OnFontChange = nullptr;
}

void TLabel::SetCaption(const std::string& caption) {
    caption_ = caption;
    AdjustText();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitSize();
}

void TLabel::SetShowAccelChar(bool show) {
    if (show == showAccelChar_) return;
    showAccelChar_ = show;
    AdjustText();
}

void TLabel::AdjustText() {
    const QString text = Cp932ToScreen(LabelText());
    label_->setTextFormat(showAccelChar_ ? Qt::RichText : Qt::PlainText);
    label_->setText(showAccelChar_ ? WithAccelerators(text) : text);
    FitSize();
}

void TLabel::FitSize() {
    if (autoSize_) label_->resize(label_->sizeHint());
}

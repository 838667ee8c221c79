#include "FontDialog.h"

#include "Application.h"
#include "Form.h"
#include "ScreenGraphics.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <cmath>
#include <iterator>

namespace {

// The sixteen colours a font may take, named as a Japanese desktop names them.
struct NamedColor {
    TColor color;
    const char* name;
};
constexpr NamedColor Colors[] = {
    {clBlack, "黒"},    {clMaroon, "栗色"},  {clGreen, "緑"},    {clOlive, "オリーブ"},
    {clNavy, "紺"},     {clPurple, "紫"},    {clTeal, "緑青"},   {clGray, "灰色"},
    {clSilver, "銀色"}, {clRed, "赤"},       {clLime, "ライム"}, {clYellow, "黄"},
    {clBlue, "青"},     {clFuchsia, "赤紫"}, {clAqua, "水色"},   {clWhite, "白"},
};

// The face's own name for a style (such as "Bold Oblique"). Qt's chooser finds the style of a
// font it is given by a name that it translates, and then misses every face's own names.
QString StyleName(const QString& family, bool bold, bool italic) {
    for (const QString& style : QFontDatabase::styles(family))
        if (QFontDatabase::bold(family, style) == bold &&
            QFontDatabase::italic(family, style) == italic)
            return style;
    return {};
}

// Qt's font chooser lists the faces that are installed and shows sizes in points; the forms name
// a face that may stand for another and give pixels at 96 pixels per inch.
QFont InPoints(const TFont& font) {
    QFont screen = FontOnScreen(font);
    screen.setFamily(QFontInfo(screen).family());
    screen.setStyleName(StyleName(screen.family(), screen.bold(), screen.italic()));
    screen.setPointSizeF(std::abs(font.Height) * 72.0 / 96.0);
    return screen;
}

// Qt's font chooser, embedded, with a colour box below its effects and the buttons under both.
class FontChooser : public QDialog {
  public:
    FontChooser(QWidget* owner, const TFontDialog& settings) : QDialog(owner) {
        setWindowTitle(QStringLiteral("フォント"));
        fonts_ = new QFontDialog(this);
        fonts_->setWindowFlags(Qt::Widget);
        fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        fonts_->setCurrentFont(InPoints(settings.Font));
        // The embedded chooser is a dialog of its own and ends itself on Esc or Enter: it ends
        // this one the same way.
        connect(fonts_, &QDialog::accepted, this, &QDialog::accept);
        connect(fonts_, &QDialog::rejected, this, &QDialog::reject);
        colors_ = new QComboBox(this);
        for (const NamedColor& c : Colors) {
            QPixmap swatch(16, 12);
            swatch.fill(ColorOnScreen(c.color));
            colors_->addItem(QIcon(swatch), QString::fromUtf8(c.name));
        }
        colors_->setCurrentIndex(ColorIndex(settings.Font.Color));
        auto* effects = new QFormLayout;
        auto* label = new QLabel(QStringLiteral("色(&C):"), this);
        label->setBuddy(colors_);
        effects->addRow(label, colors_);
        label->setVisible(settings.Effects);
        colors_->setVisible(settings.Effects);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* column = new QVBoxLayout(this);
        column->addWidget(fonts_);
        column->addLayout(effects);
        column->addWidget(buttons);
    }

    QFont ChosenFont() const { return fonts_->currentFont(); }
    TColor ChosenColor() const { return Colors[colors_->currentIndex()].color; }

  private:
    static int ColorIndex(TColor color) {
        for (std::size_t i = 0; i < std::size(Colors); ++i)
            if (Colors[i].color == color) return static_cast<int>(i);
        return 0; // the text colour of a window, or one the list lacks: black
    }

    QFontDialog* fonts_;
    QComboBox* colors_;
};

} // namespace

bool TFontDialog::Execute() {
    QWidget* owner =
        Application && Application->MainForm() ? Application->MainForm()->Widget() : nullptr;
    FontChooser chooser(owner, *this);
    if (chooser.exec() != QDialog::Accepted) return false;
    const QFont chosen = chooser.ChosenFont();
    TFont font = FontFromScreen(chosen, Effects ? chooser.ChosenColor() : Font.Color);
    font.Height = -static_cast<int>(std::lround(chosen.pointSizeF() * 96.0 / 72.0));
    if (!Effects) {
        font.Style.Set(TFontStyle::Underline, Font.Style.Has(TFontStyle::Underline));
        font.Style.Set(TFontStyle::StrikeOut, Font.Style.Has(TFontStyle::StrikeOut));
    }
    if (InPoints(Font).family() == chosen.family()) {
        font.Name = Font.Name; // the face the forms named, not the one that stands in for it
        font.Charset = Font.Charset;
    }
    Font = font;
    return true;
}

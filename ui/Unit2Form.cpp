// The About window's form description: the window's settings, then every component with its
// settings in the order they are created, the handler bound to its event, and last the references
// between components. Places are client-area pixels at 96 pixels per inch.

#include "SjisText.h"
#include "Unit2.h"

namespace {

TFont Gothic(int height, TFontStyles style, TColor color) {
    return {SjisText("ＭＳ Ｐゴシック"), height, style, color, SHIFTJIS_CHARSET};
}

} // namespace

void TAboutForm::CreateComponents() {
    using namespace std::placeholders;
    SetCaption(SjisText("バージョン情報"));
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(307, 106);
    SetPosition(TPosition::ScreenCenter);
    SetColor(clBtnFace);
    SetFont(Gothic(-12, {}, clWindowText));

    // The labels keep their left and top edges and take the size of their text.
    Label1 = Make<TLabel>();
    Label1->SetBounds(16, 8, 90, 16);
    Label1->SetCaption("Kelvane");
    Label1->SetFont(Gothic(-16, {TFontStyle::Bold, TFontStyle::Italic}, clWindowText));
    Put(Label1);

    VersionInfoFileVersionLabel1 = Make<TVersionInfoFileVersionLabel>();
    VersionInfoFileVersionLabel1->SetBounds(120, 10, 42, 12);
    VersionInfoFileVersionLabel1->SetCaption("VersionInfoFileVersionLabel1");
    VersionInfoFileVersionLabel1->SetShowAccelChar(false);
    Put(VersionInfoFileVersionLabel1);

    VersionInfoLegalCopyrightLabel1 = Make<TVersionInfoLegalCopyrightLabel>();
    VersionInfoLegalCopyrightLabel1->SetBounds(40, 32, 216, 12);
    VersionInfoLegalCopyrightLabel1->SetCaption("VersionInfoLegalCopyrightLabel1");
    VersionInfoLegalCopyrightLabel1->SetShowAccelChar(false);
    Put(VersionInfoLegalCopyrightLabel1);

    OKButton = Make<TButton>();
    OKButton->SetBounds(200, 88, 65, 17);
    OKButton->SetCaption("OK");
    OKButton->SetModalResult(mrOk);
    Put(OKButton);

    MyURL = Make<TEdit>();
    MyURL->SetBounds(40, 64, 217, 17);
    MyURL->SetReadOnly(true);
    MyURL->SetBorderStyle(TBorderStyle::None);
    MyURL->SetColor(clBtnFace);
    MyURL->SetFont(Gothic(-12, {TFontStyle::Underline}, clBlue));
    MyURL->SetCursor(crHandPoint);
    MyURL->SetText("https://www.example.com/kelvane/");
    MyURL->OnClick = std::bind(&TAboutForm::MyURLClick, this, _1);
    Put(MyURL);

    // Enabling reads the version data of the running program's own file (no file name).
    VersionInfo1 = Make<TVersionInfo>();
    VersionInfo1->SetEnabled(true);

    SetTabOrder({OKButton, MyURL});
    SetActiveControl(OKButton);
    VersionInfoFileVersionLabel1->SetVersionInfo(VersionInfo1);
    VersionInfoLegalCopyrightLabel1->SetVersionInfo(VersionInfo1);
}

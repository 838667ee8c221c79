// The main window's form description: every component with its settings, in declaration order,
// and the handlers bound to their events. Places are client-area pixels at 96 pixels per inch.

#include "Images.h"
#include "SjisText.h"
#include "Unit1.h"

namespace {

TFont WindowFont() {
    return {SjisText("ＭＳ Ｐゴシック"), -12, {}, clWindowText, SHIFTJIS_CHARSET};
}

// The settings every action of the list has.
void SetUpAction(TAction* action, const char* category, const char* caption, const char* hint,
                 int imageIndex, TShortCut shortCut) {
    action->Category = SjisText(category);
    action->SetCaption(SjisText(caption));
    action->SetHint(SjisText(hint));
    action->SetImageIndex(imageIndex);
    action->SetShortCut(shortCut);
}

} // namespace

void TKelvaneForm::CreateComponents() {
    using namespace std::placeholders;
    SetCaption("Kelvane ver3");
    SetClientSize(477, 332); // the frame makes it 485 x 359 outside
    SetPlace(262, 107);
    SetBorderStyle(TFormBorderStyle::Sizeable);
    SetColor(clBtnFace);
    SetFont(WindowFont());
    SetIcon(IconPicture);

    // The menus drop down from the buttons of ToolBar3: the window has no menu bar.
    MainMenu1 = Make<TMainMenu>();
    File1 = Make<TMenuItem>();
    File1->SetCaption(SjisText("ファイル(&F)"));
    Edit1 = Make<TMenuItem>();
    Edit1->SetCaption(SjisText("編集(&E)"));
    Help1 = Make<TMenuItem>();
    Help1->SetCaption(SjisText("ヘルプ(&H)"));

    AL = Make<TActionList>(this);
    ALIL = Make<TImageList>();
    for (TXpmData picture : ImageListPictures)
        ALIL->Add(picture);
    AL->SetImages(ALIL);
    MainMenu1->SetImages(ALIL);

    EditCopy1 = Make<TEditCopy>();
    SetUpAction(EditCopy1, "編集", "コピー(&C)", "コピー", 0, 16451); // Ctrl+C
    EditCut1 = Make<TEditCut>();
    SetUpAction(EditCut1, "編集", "切り取り(&T)", "切り取り", 1, 16472); // Ctrl+X
    EditDelete1 = Make<TEditDelete>();
    SetUpAction(EditDelete1, "編集", "削除(&D)", "", 2, 46); // Del
    EditPaste1 = Make<TEditPaste>();
    SetUpAction(EditPaste1, "編集", "貼り付け(&P)", "貼り付け", 3, 16470); // Ctrl+V
    EditSelectAll1 = Make<TEditSelectAll>();
    SetUpAction(EditSelectAll1, "編集", "すべてを選択(&A)", "", -1, 0);
    EditUndo1 = Make<TEditUndo>();
    SetUpAction(EditUndo1, "編集", "元に戻す(&U)", "", 4, 32776); // Alt+BkSp

    Cut1 = Make<TMenuItem>();
    Cut1->SetAction(EditCut1);
    Copy1 = Make<TMenuItem>();
    Copy1->SetAction(EditCopy1);
    Paste1 = Make<TMenuItem>();
    Paste1->SetAction(EditPaste1);
    Delete1 = Make<TMenuItem>();
    Delete1->SetAction(EditDelete1);
    A1 = Make<TMenuItem>();
    A1->SetAction(EditSelectAll1);

    VerInfo = Make<TAction>();
    SetUpAction(VerInfo, "ヘルプ", "バージョン情報", "", -1, 0);
    VerInfo->OnExecute = std::bind(&TKelvaneForm::VerInfoExecute, this, _1);
    About1 = Make<TMenuItem>();
    About1->SetAction(VerInfo);

    Exit = Make<TAction>();
    SetUpAction(Exit, "ファイル", "終了(&X)", "", -1, 0);
    Exit->OnExecute = std::bind(&TKelvaneForm::ExitExecute, this, _1);

    Info = Make<TMemo>();
    Info->SetBounds(0, 56, 477, 256);
    Info->SetText("Kelvane\r\n");
    Info->SetAccessibleName(SjisText("結果"));

    Sb = Make<TStatusBar>();
    Sb->SetBounds(0, 312, 477, 20);
    Sb->SetAccessibleName(SjisText("状態"));

    ControlBar1 = Make<TControlBar>();
    ControlBar1->SetBounds(0, 0, 477, 56);

    ToolBar1 = Make<TToolBar>();
    ToolBar1->SetImages(ALIL);
    ToolBar1->SetBounds(224, 2, 186, 22);
    ServerList = Make<TComboBox>();
    ServerList->SetBounds(0, 1, 129, 20);
    ServerList->SetText("whois.jprs.jp");
    ServerList->SetAccessibleName(SjisText("サーバー"));
    ToolBar1->Add(ServerList);
    ToolButton1 = Make<TToolButton>();
    ToolButton1->SetBounds(137, 0, 23, 22);
    ToolButton1->SetImageIndex(6);
    ToolButton1->SetHint(SjisText("サーバー追加"));
    ToolButton1->SetShowHint(true);
    ToolButton1->OnClick = std::bind(&TKelvaneForm::ToolButton1Click, this, _1);
    ToolBar1->Add(ToolButton1);
    ToolButton2 = Make<TToolButton>();
    ToolButton2->SetBounds(160, 0, 23, 22);
    ToolButton2->SetImageIndex(2);
    ToolButton2->SetHint(SjisText("サーバー削除"));
    ToolButton2->SetShowHint(true);
    ToolButton2->OnClick = std::bind(&TKelvaneForm::ToolButton2Click, this, _1);
    ToolBar1->Add(ToolButton2);
    ToolButton3 = Make<TToolButton>();
    ToolButton3->SetBounds(129, 0, 8, 22);
    ToolButton3->SetStyle(TToolButtonStyle::Separator, 8);
    ToolBar1->Add(ToolButton3);
    ControlBar1->AddBand(ToolBar1, 224, 2);

    // The edit buttons take picture, state and command from their actions; their hints stay
    // unseen.
    ToolBar2 = Make<TToolBar>();
    ToolBar2->SetImages(ALIL);
    ToolBar2->SetBounds(319, 28, 129, 22);
    ToolButton4 = Make<TToolButton>();
    ToolButton4->SetBounds(0, 0, 23, 22);
    ToolButton4->SetAction(EditCut1);
    ToolBar2->Add(ToolButton4);
    ToolButton5 = Make<TToolButton>();
    ToolButton5->SetBounds(23, 0, 23, 22);
    ToolButton5->SetAction(EditCopy1);
    ToolBar2->Add(ToolButton5);
    ToolButton6 = Make<TToolButton>();
    ToolButton6->SetBounds(46, 0, 23, 22);
    ToolButton6->SetAction(EditPaste1);
    ToolBar2->Add(ToolButton6);
    ToolButton7 = Make<TToolButton>();
    ToolButton7->SetBounds(69, 0, 23, 22);
    ToolButton7->SetAction(EditDelete1);
    ToolBar2->Add(ToolButton7);

    ToolBar3 = Make<TToolBar>();
    ToolBar3->SetBounds(11, 2, 200, 22);
    ToolBar3->SetShowCaptions(true);
    ToolButton8 = Make<TToolButton>();
    ToolButton8->SetBounds(0, 0, 67, 20); // sized to its caption
    ToolButton8->SetCaption(SjisText("ファイル(&F)"));
    ToolButton8->SetMenuItem(File1);
    ToolBar3->Add(ToolButton8);
    ToolButton9 = Make<TToolButton>();
    ToolButton9->SetBounds(67, 0, 50, 20);
    ToolButton9->SetCaption(SjisText("編集(&E)"));
    ToolButton9->SetMenuItem(Edit1);
    ToolBar3->Add(ToolButton9);
    ToolButton10 = Make<TToolButton>();
    ToolButton10->SetBounds(117, 0, 63, 20);
    ToolButton10->SetCaption(SjisText("ヘルプ(&H)"));
    ToolButton10->SetMenuItem(Help1);
    ToolBar3->Add(ToolButton10);
    ControlBar1->AddBand(ToolBar3, 11, 2);

    Exit1 = Make<TMenuItem>();
    Exit1->SetAction(Exit);

    CS = Make<TClientSocket>();
    CS->ClientType = ctNonBlocking;
    CS->OnLookup = std::bind(&TKelvaneForm::CSLookup, this, _1, _2);
    CS->OnConnecting = std::bind(&TKelvaneForm::CSConnecting, this, _1, _2);
    CS->OnConnect = std::bind(&TKelvaneForm::CSConnect, this, _1, _2);
    CS->OnDisconnect = std::bind(&TKelvaneForm::CSDisconnect, this, _1, _2);
    CS->OnRead = std::bind(&TKelvaneForm::CSRead, this, _1, _2);
    CS->OnError = std::bind(&TKelvaneForm::CSError, this, _1, _2, _3, _4);

    ToolBar4 = Make<TToolBar>();
    ToolBar4->SetImages(ALIL);
    ToolBar4->SetBounds(278, 28, 28, 22);
    ToolButton11 = Make<TToolButton>();
    ToolButton11->SetBounds(0, 0, 23, 22);
    ToolButton11->SetImageIndex(7);
    ToolButton11->SetHint(SjisText("実行"));
    ToolButton11->SetShowHint(true);
    ToolButton11->OnClick = std::bind(&TKelvaneForm::ToolButton11Click, this, _1);
    ToolBar4->Add(ToolButton11);

    InputData = Make<TEdit>();
    InputData->SetBounds(11, 28, 254, 22);
    InputData->SetHint(SjisText("検索データ"));
    InputData->SetShowHint(true);
    InputData->OnKeyPress = std::bind(&TKelvaneForm::InputDataKeyPress, this, _1, _2);
    ControlBar1->AddBand(InputData, 11, 28);
    ControlBar1->AddBand(ToolBar4, 278, 28);

    SD = Make<TSaveDialog>();
    SD->DefaultExt = "txt";
    SD->OverwritePrompt = true;

    SaveFileAs = Make<TAction>();
    SetUpAction(SaveFileAs, "ファイル", "名前をつけて保存(&A)", "", -1, 0);
    SaveFileAs->OnExecute = std::bind(&TKelvaneForm::SaveFileAsExecute, this, _1);
    SaveAs1 = Make<TMenuItem>();
    SaveAs1->SetAction(SaveFileAs);
    N1 = Make<TMenuItem>();
    N1->SetCaption("-");

    FD = Make<TFontDialog>();
    FD->Font = WindowFont();
    FD->Effects = true;

    N2 = Make<TMenuItem>();
    N2->SetCaption("-");
    F1 = Make<TMenuItem>();
    F1->SetCaption(SjisText("フォント変更(&F)"));
    F1->OnClick = std::bind(&TKelvaneForm::F1Click, this, _1);

    ToolButton12 = Make<TToolButton>();
    ToolButton12->SetBounds(92, 0, 8, 22);
    ToolButton12->SetStyle(TToolButtonStyle::Separator, 8);
    ToolBar2->Add(ToolButton12);
    ToolButton13 = Make<TToolButton>();
    ToolButton13->SetBounds(100, 0, 23, 22);
    ToolButton13->SetImageIndex(8);
    ToolButton13->SetHint(SjisText("クリア"));
    ToolButton13->SetShowHint(true);
    ToolButton13->OnClick = std::bind(&TKelvaneForm::ToolButton13Click, this, _1);
    ToolBar2->Add(ToolButton13);
    ControlBar1->AddBand(ToolBar2, 319, 28);

    // The action list in its order, the menus with their entries.
    for (TAction* action : std::initializer_list<TAction*>{EditCopy1, EditCut1, EditDelete1,
                                                           EditPaste1, EditSelectAll1, EditUndo1,
                                                           VerInfo, Exit, SaveFileAs})
        AL->Add(action);
    for (TMenuItem* entry : {SaveAs1, N1, Exit1})
        File1->Add(entry);
    for (TMenuItem* entry : {Cut1, Copy1, Paste1, Delete1, A1, N2, F1})
        Edit1->Add(entry);
    Help1->Add(About1);
    for (TMenuItem* item : {File1, Edit1, Help1})
        MainMenu1->Add(item);

    // RDAP beside port 43: the lookup's HTTPS client, and the one that refreshes IANA's files.
    RdapClient = Make<THttpClient>();
    RdapClient->Accept = "application/rdap+json";
    RdapClient->UserAgent = "Kelvane/3.0";
    RdapClient->OnLookup = std::bind(&TKelvaneForm::RdapClientLookup, this, _1);
    RdapClient->OnConnect = std::bind(&TKelvaneForm::RdapClientConnect, this, _1, _2);
    RdapClient->OnDone = std::bind(&TKelvaneForm::RdapClientDone, this, _1, _2);
    RdapClient->OnError = std::bind(&TKelvaneForm::RdapClientError, this, _1, _2);
    BootstrapClient = Make<THttpClient>();
    BootstrapClient->Accept = "application/json";
    BootstrapClient->UserAgent = "Kelvane/3.0";
    BootstrapClient->OnDone = std::bind(&TKelvaneForm::BootstrapClientDone, this, _1, _2);
    BootstrapClient->OnError = std::bind(&TKelvaneForm::BootstrapClientError, this, _1, _2);
    SetUpRdap();

    Align(ControlBar1, TAlign::Top);
    Align(Info, TAlign::Client);
    Align(Sb, TAlign::Bottom);
    SetTabOrder({Info, ServerList, InputData});
    Info->SetFocus();
}

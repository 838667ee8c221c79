// The main window's form description: every component with its settings, in declaration order,
// and the handlers bound to their events.

#include "SjisText.h"
#include "Unit1.h"

void TKelvaneForm::CreateComponents() {
    using namespace std::placeholders;
    SetCaption("Kelvane ver3");
    SetBounds(262, 107, 485, 359);

    Info = Make<TMemo>();
    Info->SetText("Kelvane\r\n");

    Sb = Make<TStatusBar>();

    ControlBar1 = Make<TControlBar>();

    ToolBar1 = Make<TToolBar>();
    ToolBar1->SetBounds(224, 2, 186, 22);
    ServerList = Make<TComboBox>();
    ServerList->SetBounds(0, 1, 129, 20);
    ServerList->SetText("whois.jprs.jp");
    ToolBar1->Add(ServerList);
    ToolButton3 = Make<TToolButton>();
    ToolButton3->MakeSeparator(8);
    ToolBar1->Add(ToolButton3);
    ToolButton1 = Make<TToolButton>();
    ToolButton1->SetCaption("+");
    ToolButton1->SetHint(SjisText("サーバー追加"));
    ToolButton1->OnClick = std::bind(&TKelvaneForm::ToolButton1Click, this, _1);
    ToolBar1->Add(ToolButton1);
    ToolButton2 = Make<TToolButton>();
    ToolButton2->SetCaption("-");
    ToolButton2->SetHint(SjisText("サーバー削除"));
    ToolButton2->OnClick = std::bind(&TKelvaneForm::ToolButton2Click, this, _1);
    ToolBar1->Add(ToolButton2);

    ToolBar4 = Make<TToolBar>();
    ToolBar4->SetBounds(278, 28, 28, 22);
    ToolButton11 = Make<TToolButton>();
    ToolButton11->SetCaption(SjisText("実行"));
    ToolButton11->SetHint(SjisText("実行"));
    ToolButton11->OnClick = std::bind(&TKelvaneForm::ToolButton11Click, this, _1);
    ToolBar4->Add(ToolButton11);

    InputData = Make<TEdit>();
    InputData->SetBounds(11, 28, 254, 22);
    InputData->SetHint(SjisText("検索データ"));
    InputData->OnKeyPress = std::bind(&TKelvaneForm::InputDataKeyPress, this, _1, _2);

    CS = Make<TClientSocket>();
    CS->ClientType = ctNonBlocking;
    CS->OnLookup = std::bind(&TKelvaneForm::CSLookup, this, _1, _2);
    CS->OnConnecting = std::bind(&TKelvaneForm::CSConnecting, this, _1, _2);
    CS->OnConnect = std::bind(&TKelvaneForm::CSConnect, this, _1, _2);
    CS->OnDisconnect = std::bind(&TKelvaneForm::CSDisconnect, this, _1, _2);
    CS->OnRead = std::bind(&TKelvaneForm::CSRead, this, _1, _2);
    CS->OnError = std::bind(&TKelvaneForm::CSError, this, _1, _2, _3, _4);

    // Bands: row 1 the server box, row 2 the query box and the run button.
    ControlBar1->AddBand(ToolBar1, 0);
    ControlBar1->AddBand(InputData, 1);
    ControlBar1->AddBand(ToolBar4, 1);
    Align(ControlBar1, TAlign::Top);
    Align(Info, TAlign::Client);
    Align(Sb, TAlign::Bottom);
    Info->SetFocus();
}

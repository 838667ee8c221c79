// The lookup: the run command and the client socket's events.

#include "JisToSjis.h"
#include "ReceiveLines.h"
#include "SjisText.h"
#include "Unit1.h"

void TKelvaneForm::ToolButton11Click(TComponent*) {
    if (RdapServerChosen()) return RdapLookup();
    AbandonRdapLookup(); // its answer would land among this one's lines
    CS->SetHost(ServerList->Text());
    CS->SetPort(43);
    CS->SetActive(true);
}

void TKelvaneForm::InputDataKeyPress(TComponent*, char& Key) {
    if (Key != 13) return;
    Key = 0; // Enter runs the lookup and never reaches the box
    ToolButton11Click(InputData);
}

void TKelvaneForm::CSLookup(TComponent*, TCustomWinSocket*) {
    static const std::string searching = SjisText("サーバーを検索中");
    Sb->SetSimpleText(searching);
}

void TKelvaneForm::CSConnecting(TComponent*, TCustomWinSocket*) {}

// The query is read now, not when the run command was given, and goes out before the status.
void TKelvaneForm::CSConnect(TComponent*, TCustomWinSocket* Socket) {
    Socket->SendText(InputData->Text() + "\r\n");
    Sb->SetSimpleText("Connected " + Socket->RemoteAddress());
}

void TKelvaneForm::CSRead(TComponent*, TCustomWinSocket* Socket) {
    const TMemoLines::TUpdate update(*Info->Lines); // the lines of this read go in together
    std::string converted;                          // one buffer for every line of this read
    CutLines(ReceiveBuffer, Socket->ReceiveText(), [&](std::string_view line) {
        JisToSjisLine(line, converted);
        Info->Lines->Add(converted);
    });
}

// The server closes the connection to end the answer. Bytes after its last LF are its last line:
// they are shown now, so nothing of this answer is left to begin the next one.
void TKelvaneForm::CSDisconnect(TComponent*, TCustomWinSocket*) {
    if (!ReceiveBuffer.empty()) {
        std::string last;
        last.swap(ReceiveBuffer);
        Info->Lines->Add(JisToSjisLine(std::move(last)));
    }
    Sb->SetSimpleText("Disconneted");
}

void TKelvaneForm::CSError(TComponent*, TCustomWinSocket*, TErrorEvent, int& ErrorCode) {
    static const std::string failed = SjisText("エラーが発生しました。ErrorCode=");
    Sb->SetSimpleText(failed + std::to_string(ErrorCode));
    ErrorCode = 0;
}

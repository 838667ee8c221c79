#pragma once
// The main window: the query box, the server box, the text view and the status bar, the tool bars
// in their band container, and the handlers of every command that starts in it.
//
// How data flows: the run command hands the server box's text to the client socket CS; CSConnect
// sends the query box's text; CSRead appends what arrives to ReceiveBuffer, cuts every complete
// line at its LF, converts its kanji runs (JisToSjisLine) and appends it to the text view Info.
// The server box's entries come from "Kelvane.LST" beside the executable, rewritten by the add
// and delete buttons. Save As writes the text view's text to a file; the font command changes the
// text view's font; Clear empties it. The menus drop down from the buttons of ToolBar3; the edit
// actions act on the text view or the query box, whichever has the focus.
//
// RDAP beside port 43: when the server box holds an https:// address, or "rdap" for a server
// chosen from IANA's bootstrap files, the run command asks RDAP instead (Unit1Rdap.cpp). The
// HTTPS client RdapClient fetches the object the query box names; its answer is rendered as lines
// and appended to Info as UTF-8 lines. BootstrapClient keeps IANA's files fresh, at most once a
// day, in the user's cache folder.

#include "ActionList.h"
#include "ClientSocket.h"
#include "ComboBox.h"
#include "ControlBar.h"
#include "Edit.h"
#include "EditActions.h"
#include "FontDialog.h"
#include "Form.h"
#include "HttpClient.h"
#include "ImageList.h"
#include "MainMenu.h"
#include "Memo.h"
#include "RdapBootstrapStore.h"
#include "SaveDialog.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "ToolButton.h"

#include <memory>
#include <optional>
#include <string>

class TKelvaneForm : public TForm {
  public:
    TKelvaneForm();
    ~TKelvaneForm() override;

    // The components, created by the form description in this order and owned by the window.
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* Edit1;
    TMenuItem* Help1;
    TActionList* AL;
    TImageList* ALIL;
    TEditCopy* EditCopy1;
    TEditCut* EditCut1;
    TEditDelete* EditDelete1;
    TEditPaste* EditPaste1;
    TEditSelectAll* EditSelectAll1;
    TEditUndo* EditUndo1;
    TMenuItem* Cut1;
    TMenuItem* Copy1;
    TMenuItem* Paste1;
    TMenuItem* Delete1;
    TMenuItem* A1;
    TAction* VerInfo;
    TMenuItem* About1;
    TAction* Exit;
    TMemo* Info;
    TStatusBar* Sb;
    TControlBar* ControlBar1;
    TToolBar* ToolBar1;
    TComboBox* ServerList;
    TToolButton* ToolButton1;
    TToolButton* ToolButton2;
    TToolButton* ToolButton3;
    TToolBar* ToolBar2;
    TToolButton* ToolButton4;
    TToolButton* ToolButton5;
    TToolButton* ToolButton6;
    TToolButton* ToolButton7;
    TToolBar* ToolBar3;
    TToolButton* ToolButton8;
    TToolButton* ToolButton9;
    TToolButton* ToolButton10;
    TMenuItem* Exit1;
    TClientSocket* CS;
    TToolBar* ToolBar4;
    TToolButton* ToolButton11;
    TEdit* InputData;
    TSaveDialog* SD;
    TAction* SaveFileAs;
    TMenuItem* SaveAs1;
    TMenuItem* N1;
    TFontDialog* FD;
    TMenuItem* N2;
    TMenuItem* F1;
    TToolButton* ToolButton12;
    TToolButton* ToolButton13;
    THttpClient* RdapClient;
    THttpClient* BootstrapClient;

    // The lookup (Unit1Lookup.cpp).
    void ToolButton11Click(TComponent* Sender);
    void InputDataKeyPress(TComponent* Sender, char& Key);
    void CSLookup(TComponent* Sender, TCustomWinSocket* Socket);
    void CSConnecting(TComponent* Sender, TCustomWinSocket* Socket);
    void CSConnect(TComponent* Sender, TCustomWinSocket* Socket);
    void CSRead(TComponent* Sender, TCustomWinSocket* Socket);
    void CSDisconnect(TComponent* Sender, TCustomWinSocket* Socket);
    void CSError(TComponent* Sender, TCustomWinSocket* Socket, TErrorEvent ErrorEvent,
                 int& ErrorCode);

    // RDAP (Unit1Rdap.cpp).
    void RdapClientLookup(TComponent* Sender);
    void RdapClientConnect(TComponent* Sender, const std::string& Address);
    void RdapClientDone(TComponent* Sender, const THttpResponse& Response);
    void RdapClientError(TComponent* Sender, const THttpError& Error);
    void BootstrapClientDone(TComponent* Sender, const THttpResponse& Response);
    void BootstrapClientError(TComponent* Sender, const THttpError& Error);
    // IANA's bootstrap files as the RDAP lookup finds them; tests point it at files of their own.
    std::unique_ptr<TRdapBootstrapStore> RdapBootstrap;

    // The server list (Unit1ServerList.cpp).
    void ToolButton1Click(TComponent* Sender);
    void ToolButton2Click(TComponent* Sender);

    // The window's commands (Unit1Commands.cpp).
    void SaveFileAsExecute(TComponent* Sender);
    void F1Click(TComponent* Sender);
    void ToolButton13Click(TComponent* Sender);
    void ExitExecute(TComponent* Sender);
    void VerInfoExecute(TComponent* Sender);

  private:
    // Builds every component with its settings and binds the handlers (Unit1Form.cpp).
    void CreateComponents();
    // Fills the server box's entries from the list file beside the executable.
    void LoadServerList();

    // Received bytes not yet cut into lines; after each read it holds no LF.
    std::string ReceiveBuffer;

    // The RDAP lookup (Unit1Rdap.cpp): true when the server box's text asks RDAP.
    bool RdapServerChosen() const;
    void RdapLookup();
    void AbandonRdapLookup();
    void SetUpRdap();
    void RefreshBootstrap(rdap::TBootstrapKind kind);
    void ResumeRdapLookup(const std::string& failure);
    void StartRdapQuery(const std::string& baseUrl, const rdap::TRdapQuery& query);
    bool RdapJson = false;                       // the answer asked for is the JSON itself
    std::optional<rdap::TRdapQuery> PendingRdap; // waits for IANA's file to choose its server
    rdap::TBootstrapKind Refreshing = rdap::TBootstrapKind::Dns; // the file BootstrapClient gets
};

extern TKelvaneForm* KelvaneForm;

#include "Application.h"
#include "JisToSjis.h"
#include "LoopbackWhoisServer.h"
#include "ReceiveLines.h"
#include "SjisText.h"
#include "Unit1.h"
#include "ViewLine.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace std::string_literals;
using Script = LoopbackWhoisServer::Script;
using End = LoopbackWhoisServer::End;

namespace {

const std::string ESC = "\x1b";

// A main window whose status changes and error boxes are written down in order.
class LookupTest : public testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TKelvaneForm>();
        Application->ErrorBoxHook = [this](const std::string& text, const std::string& caption) {
            log.push_back("box:" + text);
            boxCaption = caption;
        };
        auto record = [this] {
            const std::string& status = form->Sb->SimpleText();
            if (log.empty() || log.back() != status) log.push_back(status);
        };
        for (TSocketNotifyEvent* event : {&form->CS->OnLookup, &form->CS->OnConnect,
                                          &form->CS->OnDisconnect, &form->CS->OnRead}) {
            *event = [handler = *event, record](TComponent* s, TCustomWinSocket* socket) {
                handler(s, socket);
                record();
            };
        }
        form->CS->OnError = [handler = form->CS->OnError, record](
                                TComponent* s, TCustomWinSocket* socket, TErrorEvent e, int& code) {
            handler(s, socket, e, code);
            record();
        };
    }
    void TearDown() override { Application->ErrorBoxHook = nullptr; }

    // Runs the event loop until `done` holds; false after 10 seconds.
    template <class F> bool WaitFor(F done) {
        for (int i = 0; i < 1000 && !done(); ++i)
            QTest::qWait(10);
        return done();
    }
    bool WaitForLog(const std::string& entry) {
        return WaitFor([&] { return !log.empty() && log.back() == entry; });
    }

    void Lookup(const std::string& server, const std::string& query) {
        form->ServerList->SetText(server);
        form->InputData->SetText(query);
        form->ToolButton11->Click();
    }

    // The screen text of line `n` of the text view.
    std::u16string ScreenLine(int n) const {
        const auto* view = static_cast<QPlainTextEdit*>(form->Info->Widget());
        return view->document()->findBlockByNumber(n).text().toStdU16String();
    }

    static std::string Searching() { return SjisText("サーバーを検索中"); }
    static std::string ErrorStatus(int code) {
        return SjisText("エラーが発生しました。ErrorCode=") + std::to_string(code);
    }

    std::unique_ptr<TKelvaneForm> form;
    std::vector<std::string> log;
    std::string boxCaption;
};

#define REQUIRE_BOUND(server)                                                                      \
    if (!(server).Bound()) GTEST_SKIP() << (server).Why()

TEST_F(LookupTest, NormalLookupSendsQueryAndShowsConvertedLines) {
    LoopbackWhoisServer server("127.0.0.11");
    REQUIRE_BOUND(server);
    server.Add({{"Domain: example.jp\r\n", "Name: " + ESC + "$B\x34\x41\x3b\x7a" + ESC + "(B\r\n",
                 "\n", "last line without LF"}});

    Lookup("127.0.0.11", "  example.jp ");
    ASSERT_TRUE(WaitForLog("Disconneted"));

    EXPECT_EQ(server.Queries(), std::vector<std::string>{"  example.jp \r\n"});
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), "Connected 127.0.0.11", "Disconneted"}));
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\nDomain: example.jp\r\nName: \x8a\xbf\x8e\x9a\r\n\r\n"
                                  "last line without LF\r\n");
}

// However the answer is divided, the same lines appear.
TEST_F(LookupTest, AnswerInPiecesGivesTheSameLines) {
    LoopbackWhoisServer server("127.0.0.12");
    REQUIRE_BOUND(server);
    const std::string answer = "a: x\r\nb: " + ESC + "$B\x24\x22" + ESC + "(B\r\nc\r\n";
    std::vector<std::string> bytes;
    for (char c : answer)
        bytes.emplace_back(1, c);
    const std::size_t cr = answer.find("\r\nc");
    const std::size_t esc = answer.find(ESC);
    const std::vector<std::vector<std::string>> splits = {
        {answer},
        bytes,
        {answer.substr(0, cr + 1), answer.substr(cr + 1)},
        {answer.substr(0, esc + 1), answer.substr(esc + 1, 1), answer.substr(esc + 2)},
    };
    for (const auto& pieces : splits) {
        server.Add({pieces});
        form->Info->SetText("");
        Lookup("127.0.0.12", "q");
        ASSERT_TRUE(WaitForLog("Disconneted"));
        EXPECT_EQ(form->Info->Text(), "a: x\r\nb: \x82\xa0\r\nc\r\n") << pieces.size() << " pieces";
        log.clear();
    }
}

TEST_F(LookupTest, RefusedConnectionShowsTheErrorAndTheNextRunWorks) {
    LoopbackWhoisServer server("127.0.0.13");
    REQUIRE_BOUND(server);
    Lookup("127.0.0.14", "q"); // nobody listens there
    ASSERT_TRUE(WaitForLog(ErrorStatus(10061)));
    QTest::qWait(50);
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), ErrorStatus(10061)}));
    EXPECT_FALSE(form->CS->Active());

    server.Add({{"ok\r\n"}});
    Lookup("127.0.0.13", "q");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\nok\r\n");
}

TEST_F(LookupTest, EmptyServerBoxEndsInTheErrorBox) {
    Lookup("", "q");
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), "Disconneted",
                                             "box:" + SjisText("アドレスが指定されていません.")}));
    EXPECT_EQ(boxCaption, Application->Title());
    EXPECT_FALSE(form->CS->Active());
}

TEST_F(LookupTest, RunWhileConnectedSameNameDoesNothingOtherNameFails) {
    LoopbackWhoisServer server("127.0.0.25");
    REQUIRE_BOUND(server);
    server.Add({{"first\r\n"}, End::Silent});
    Lookup("127.0.0.25", "q");
    ASSERT_TRUE(WaitFor([&] { return form->Info->Text().find("first") != std::string::npos; }));

    Lookup("127.0.0.25", "again"); // the same server: nothing happens (names in other letters:
                                   // see PrivateHostsTest.cpp)
    QTest::qWait(50);
    Lookup("127.0.0.15", "other");
    EXPECT_EQ(log.back(), "box:" + SjisText("使用中のソケットは値を変更できません."));
    EXPECT_TRUE(form->CS->Active());
    EXPECT_EQ(form->CS->Host(), "127.0.0.25");

    server.Finish({"second\r\n"});
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"q\r\n"});
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\nfirst\r\nsecond\r\n");
}

// The query box is read when the connection is made, not when the command is given.
TEST_F(LookupTest, QueryIsReadAtConnectTime) {
    LoopbackWhoisServer server("127.0.0.16");
    REQUIRE_BOUND(server);
    server.Add({{}});
    Lookup("127.0.0.16", "old");
    form->InputData->SetText("");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"\r\n"});
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\n"); // a server that sends nothing adds no line
}

TEST_F(LookupTest, TwoLookupsInARowFollowEachOther) {
    LoopbackWhoisServer server("127.0.0.17");
    REQUIRE_BOUND(server);
    server.Add({{"one\r\npartial"}});
    server.Add({{"two\r\n"}});
    Lookup("127.0.0.17", "a");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    log.clear();
    Lookup("127.0.0.17", "b");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    // The unfinished last line belongs to the first answer and nothing of it leaks into the second.
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\none\r\npartial\r\ntwo\r\n");
}

TEST_F(LookupTest, ResetMidAnswerShowsTheErrorThenDisconnects) {
    LoopbackWhoisServer server("127.0.0.18");
    REQUIRE_BOUND(server);
    server.Add({{"line\r\n"}, End::Reset});
    server.Add({{"next\r\n"}});
    Lookup("127.0.0.18", "q");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), "Connected 127.0.0.18",
                                             ErrorStatus(10054), "Disconneted"}));
    EXPECT_FALSE(form->CS->Active());

    log.clear();
    Lookup("127.0.0.18", "q");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\nline\r\nnext\r\n");
}

// A second run command while the first is still resolving abandons the first attempt.
TEST_F(LookupTest, RunWhileResolvingStartsAfresh) {
    LoopbackWhoisServer server("127.0.0.19");
    REQUIRE_BOUND(server);
    server.Add({{"answer\r\n"}});
    Lookup("127.0.0.19", "first");
    Lookup("127.0.0.19", "second");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    QTest::qWait(50);
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"second\r\n"});
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\nanswer\r\n");
}

// A zero byte (an invalid pair) shows as a symbol for null and comes back as the zero byte; the
// rest of the line and its break stay.
TEST_F(LookupTest, ZeroBytesShowAsSymbolsForNull) {
    LoopbackWhoisServer server("127.0.0.20");
    REQUIRE_BOUND(server);
    server.Add({{"a" + ESC + "$B\x24\x22 !" + ESC + "(Bz\r\nnext\r\n"}});
    Lookup("127.0.0.20", "q");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(ScreenLine(1), u"a\u3042\u2400\u2400z");
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\na\x82\xa0\0\0z\r\nnext\r\n"s);
}

// Registries answering in UTF-8 are shown readably, and their lines come back as they arrived.
TEST_F(LookupTest, Utf8AnswerLinesAreReadable) {
    LoopbackWhoisServer server("127.0.0.21");
    REQUIRE_BOUND(server);
    const std::string answer = "[\xe5\x90\x8d\xe5\x89\x8d] \xe6\x97\xa5\xe6\x9c\xac\r\n";
    server.Add({{answer}});
    Lookup("127.0.0.21", "q");
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(ScreenLine(1), u"[\u540d\u524d] \u65e5\u672c");
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\n" + answer);
}

// A query larger than the socket takes at once still goes out whole.
TEST_F(LookupTest, LongQueryGoesOutWhole) {
    LoopbackWhoisServer server("127.0.0.22");
    REQUIRE_BOUND(server);
    server.Add({{"ok\r\n"}});
    const std::string query(8u << 20, 'q');
    Lookup("127.0.0.22", query);
    ASSERT_TRUE(WaitForLog("Disconneted"));
    ASSERT_EQ(server.Queries().size(), 1u);
    EXPECT_EQ(server.Queries()[0].size(), query.size() + 2);
    EXPECT_TRUE(server.Queries()[0] == query + "\r\n");
}

TEST_F(LookupTest, EnterInTheQueryBoxRunsTheLookupOtherKeysType) {
    LoopbackWhoisServer server("127.0.0.23");
    REQUIRE_BOUND(server);
    server.Add({{"ok\r\n"}});
    form->ServerList->SetText("127.0.0.23");
    auto* box = static_cast<QLineEdit*>(form->InputData->Widget());
    QTest::keyClicks(box, "jprs.jp");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(log.front(), Searching());
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(form->InputData->Text(), "jprs.jp");
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"jprs.jp\r\n"});
}

// The key handler itself: Enter (13) becomes 0 and starts the lookup at once; every other key
// passes unchanged and starts nothing.
TEST_F(LookupTest, KeyPressHandlerTakesEnterOnly) {
    LoopbackWhoisServer server("127.0.0.50");
    REQUIRE_BOUND(server);
    server.Add({{"ok\r\n"}});
    form->ServerList->SetText("127.0.0.50");
    const struct {
        char key, after;
        bool lookup;
    } cases[] = {{'a', 'a', false}, {' ', ' ', false},       {10, 10, false}, {27, 27, false},
                 {0, 0, false},     {'\x8a', '\x8a', false}, {13, 0, true}};
    for (const auto& c : cases) {
        char key = c.key;
        form->InputDataKeyPress(form->InputData, key);
        EXPECT_EQ(key, c.after) << int(c.key);
        EXPECT_EQ(!log.empty() && log.front() == Searching(), c.lookup) << int(c.key);
    }
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(server.Queries().size(), 1u);
}

// A text pasted into the query box with a line break sends one query line: the text before it.
TEST_F(LookupTest, PastedLineBreakEndsTheQuery) {
    LoopbackWhoisServer server("127.0.0.51");
    REQUIRE_BOUND(server);
    server.Add({{"ok\r\n"}});
    form->ServerList->SetText("127.0.0.51");
    QGuiApplication::clipboard()->setText("example.jp\r\nsecond");
    QTest::keyClick(form->InputData->Widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->InputData->Text(), "example.jp");
    form->ToolButton11->Click();
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"example.jp\r\n"});
}

// An answer of a few thousand lines of every kind, streamed in pieces that split lines, CR LF
// pairs and escape sequences, gives the very view that adding its lines one by one gives: the same
// lines, line breaks and encodings, and the same Text.
TEST_F(LookupTest, StreamedAnswerEqualsLinesAddedOneByOne) {
    LoopbackWhoisServer server("127.0.0.71");
    REQUIRE_BOUND(server);
    const std::string kinds[] = {
        "[Domain Name]  EXAMPLE.JP\r",
        "[\x1b$B\x45\x50\x4f\x3f\x3c\x54\x4c\x3e\x1b(B]  \x1b$B\x34\x41\x3b\x7a\x1b(B\r",
        "",
        "\r",
        "Registrant: J\xc3\xbcrgen M\xc3\xbcller",
        "\xed\x40\xfa\x54 kept bytes\r",
        "zero\0byte\r"s,
        "odd run \x1b$B\x24\x22\x24\x1b(B\r",
        std::string(LongWord + 20, 'L') + "\r",
    };
    std::mt19937 rng(71);
    std::string answer;
    while (answer.size() < 300000)
        answer += kinds[rng() % std::size(kinds)] + "\n";
    answer += "last line without LF";
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < answer.size();) {
        const std::size_t n = std::size_t{1} << (rng() % 15); // 1 byte to 16 KB
        pieces.push_back(answer.substr(at, n));
        at += n;
    }
    Script script{pieces};
    script.pause = std::chrono::milliseconds(0);
    server.Add(script);
    form->Info->SetText("Kelvane\r\ntyped");
    Lookup("127.0.0.71", "q");
    ASSERT_TRUE(WaitForLog("Disconneted"));

    TKelvaneForm oneByOne;
    oneByOne.Info->SetText("Kelvane\r\ntyped");
    std::string buffer;
    CutLines(buffer, answer,
             [&](std::string line) { oneByOne.Info->Lines->Add(JisToSjisLine(std::move(line))); });
    oneByOne.Info->Lines->Add(buffer);
    const auto lines = [](const TKelvaneForm& f) {
        std::vector<std::string> out;
        for (QTextBlock b = static_cast<QPlainTextEdit*>(f.Info->Widget())->document()->begin();
             b.isValid(); b = b.next()) {
            std::string line = b.text().toStdString() + " |";
            for (int property : b.blockFormat().properties().keys())
                line += " " + std::to_string(property);
            out.push_back(line);
        }
        return out;
    };
    EXPECT_EQ(form->Info->Text(), oneByOne.Info->Text());
    EXPECT_EQ(lines(*form), lines(oneByOne));
    EXPECT_GT(lines(oneByOne).size(), 2000u);
}

// A click on Clear while a long answer streams in empties the view at once; the lines that arrive
// after it follow, each whole and in order, up to the answer's last.
TEST_F(LookupTest, ClearWorksWhileAnAnswerStreams) {
    LoopbackWhoisServer server("127.0.0.72");
    REQUIRE_BOUND(server);
    constexpr int Pieces = 200, LinesPerPiece = 50;
    Script script;
    for (int p = 0, n = 0; p < Pieces; ++p) {
        std::string piece;
        for (int i = 0; i < LinesPerPiece; ++i)
            piece += "line " + std::to_string(n++) + " \x1b$B\x34\x41\x3b\x7a\x1b(B\r\n";
        script.pieces.push_back(piece.substr(0, piece.size() - 3)); // lines cut across pieces
        if (p + 1 < Pieces)
            script.pieces.push_back(piece.substr(piece.size() - 3));
        else
            script.pieces.back() += piece.substr(piece.size() - 3);
    }
    script.pause = std::chrono::milliseconds(5);
    script.end = End::Silent;
    server.Add(script);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
    Lookup("127.0.0.72", "q");
    ASSERT_TRUE(WaitFor([&] { return form->Info->Text().find("line 50 ") != std::string::npos; }));

    QTest::mouseClick(form->ToolButton13->Widget(), Qt::LeftButton);
    EXPECT_EQ(form->Info->Text(), "");
    const std::string last = "line " + std::to_string(Pieces * LinesPerPiece - 1) + " ";
    ASSERT_TRUE(WaitFor([&] { return form->Info->Text().find(last) != std::string::npos; }));
    server.Finish({"after\n"});
    ASSERT_TRUE(WaitForLog("Disconneted"));

    const std::string text = form->Info->Text();
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "after");
    const int first = std::stoi(lines.front().substr(5));
    EXPECT_GT(first, 50);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        ASSERT_EQ(lines[i],
                  "line " + std::to_string(first + static_cast<int>(i)) + " \x8a\xbf\x8e\x9a")
            << i;
    EXPECT_EQ(first + static_cast<int>(lines.size()) - 1, Pieces * LinesPerPiece);
}

} // namespace

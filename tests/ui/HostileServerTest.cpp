// The main window against servers that misbehave: whatever a server sends, and however it ends
// the connection, every line arrives in the text view as line-by-line appending of the sent bytes
// gives it, the statuses follow the lookup's rules, and the window keeps answering meanwhile.
//
// "Keeps answering" is measured by a 10 ms timer that runs in the window's own event loop beside
// each case. Between two ticks the window's thread either works, waits for the network or the
// timer, or waits for a processor that other programs hold; only the last is not the window's
// doing, and on a busy machine it can be long. So a stall is the time between two ticks less the
// time the thread waited for a processor meanwhile (the kernel's scheduler statistics), and the
// largest stall must stay under kStall. The gap on the clock alone must stay under kFrozen, which
// catches a window that hangs whatever the machine does.

#include "Application.h"
#include "JisToSjis.h"
#include "LoopbackWhoisServer.h"
#include "SjisText.h"
#include "Unit1.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using namespace std::string_literals;
using End = LoopbackWhoisServer::End;
using Script = LoopbackWhoisServer::Script;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// The sanitizers make the window's own work several times slower; the stall they allow grows
// with it.
constexpr int kSlower = kSanitized ? 3 : 1;
constexpr auto kStall = 50ms;
constexpr auto kFrozen = 2000ms;
// How long the silent server's client waits before it gives up (the seam shortens the minute).
constexpr auto kSilence = 3000ms;
// The flood: 50 MB, or 10 MB under the sanitizers, which slow the text view several times over.
constexpr std::size_t kFloodBytes = (kSanitized ? 10u : 50u) << 20;

const std::string ESC = "\x1b";

std::string Searching() {
    return SjisText("サーバーを検索中");
}
std::string ErrorStatus(int code) {
    return SjisText("エラーが発生しました。ErrorCode=") + std::to_string(code);
}
std::string InUseBox() {
    return "box:" + SjisText("使用中のソケットは値を変更できません.");
}

// What the text view holds after the answer's lines were appended one by one: each line converted
// and followed by CR LF (its own final CR stands for the CR of that CR LF); bytes after the last LF
// are the last line, shown when the server closes.
std::string ViewAfter(const std::string& answer) {
    std::string text = "Kelvane\r\n";
    std::size_t from = 0;
    while (from < answer.size()) {
        const std::size_t lf = std::min(answer.find('\n', from), answer.size());
        std::string line = JisToSjisLine(answer.substr(from, lf - from));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line + "\r\n";
        from = lf + 1;
    }
    return text;
}

std::string Flood() {
    const std::string kanji = ESC + "$B\x34\x41\x3b\x7a" + ESC + "(B";
    std::string flood;
    flood.reserve(kFloodBytes + 128);
    char number[16];
    for (unsigned n = 0; flood.size() < kFloodBytes; ++n) {
        std::snprintf(number, sizeof number, "%08u", n);
        flood += number + (": Registrant " + kanji) + " flood of lines, one after another\r\n";
    }
    return flood;
}

std::vector<std::string> OneByteEach(const std::string& bytes) {
    std::vector<std::string> pieces;
    for (char c : bytes)
        pieces.emplace_back(1, c);
    return pieces;
}

// How long this thread has waited, runnable, for a processor, in nanoseconds; 0 where the kernel
// keeps no such count.
std::int64_t WaitedForAProcessor() {
    std::ifstream in("/proc/thread-self/schedstat");
    std::int64_t running = 0, waiting = 0;
    in >> running >> waiting;
    return in ? waiting : 0;
}

class HostileServerTest;

struct HostileCase {
    const char* name;
    const char* address;
    std::function<Script()> script;
    std::vector<std::string> statuses; // what follows "Connected " and the address
    // Runs once the connection is made, when given; the time it takes itself is no stall.
    std::function<void(HostileServerTest&)> whileConnected = nullptr;
    std::chrono::milliseconds stall = kStall; // the largest stall allowed
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileServerTest : public testing::TestWithParam<HostileCase> {
  public:
    HostileServerTest() : server(GetParam().address) {}

    void SetUp() override {
        Application->ErrorBoxHook = [this](const std::string& text, const std::string&) {
            log.push_back("box:" + text);
        };
        auto record = [this] {
            const std::string& status = form.Sb->SimpleText();
            if (log.empty() || log.back() != status) log.push_back(status);
        };
        for (TSocketNotifyEvent* event :
             {&form.CS->OnLookup, &form.CS->OnConnect, &form.CS->OnDisconnect, &form.CS->OnRead}) {
            *event = [handler = *event, record](TComponent* s, TCustomWinSocket* socket) {
                handler(s, socket);
                record();
            };
        }
        form.CS->OnError = [handler = form.CS->OnError, record](
                               TComponent* s, TCustomWinSocket* socket, TErrorEvent e, int& code) {
            handler(s, socket, e, code);
            record();
        };
        form.CS->Timeouts.Silence = kSilence;
        form.Show();
        // The first paint of the window and of the status texts loads the fonts and their glyphs
        // once per program; that is start-up's work, not the answer's, so it is done before the
        // ticks are measured.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
        form.Sb->SetSimpleText(Searching() + ErrorStatus(10060) +
                               " Connected 127.0.0.69 Disconneted");
        form.Widget()->repaint();
        form.Sb->SetSimpleText("");
        form.Widget()->repaint();
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [this] {
            const std::int64_t gap = sinceTick.nsecsElapsed();
            sinceTick.restart();
            const std::int64_t waited = WaitedForAProcessor();
            largestGap = std::max(largestGap, gap);
            largestStall = std::max(largestStall, gap - (waited - waitedAtTick));
            waitedAtTick = waited;
        });
    }
    void TearDown() override { Application->ErrorBoxHook = nullptr; }

    void RestartTicks() {
        sinceTick.start();
        waitedAtTick = WaitedForAProcessor();
        ticker.start();
    }

    void Run(const std::string& serverName) {
        form.ServerList->SetText(serverName);
        form.ToolButton11->Click();
    }
    // Runs the event loop until `done` holds; false after `limit`.
    template <class F> bool WaitFor(F done, std::chrono::milliseconds limit = 30s) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < limit.count())
            QTest::qWait(10);
        return done();
    }
    bool LogEndsWith(const std::string& entry) const { return !log.empty() && log.back() == entry; }

    LoopbackWhoisServer server;
    TKelvaneForm form;
    std::vector<std::string> log;
    QTimer ticker;
    QElapsedTimer sinceTick;
    std::int64_t waitedAtTick = 0; // WaitedForAProcessor at the last tick
    std::int64_t largestGap = 0;   // nanoseconds, as are the two above
    std::int64_t largestStall = 0;
};

// A server that accepts and never answers holds the connection: a run with its name does nothing,
// one with another name is refused, the window goes on taking input, and the silence ends the
// connection as a failed receive.
void NeverAnswers(HostileServerTest& t) {
    const std::vector<std::string> before = t.log;
    t.Run(HostileServerTest::GetParam().address);
    QTest::qWait(100);
    EXPECT_EQ(t.log, before) << "a run with the same server";
    EXPECT_EQ(t.server.Queries().size(), 1u);
    t.Run("127.0.0.79");
    EXPECT_EQ(t.log.back(), InUseBox());
    QTest::keyClicks(t.form.InputData->Widget(), QStringLiteral("typed"));
    EXPECT_EQ(t.form.InputData->Text(), "qtyped");
    EXPECT_TRUE(t.form.CS->Active());
}

const HostileCase kCases[] = {
    {"ResetInTheMiddleOfALine",
     "127.0.0.61",
     [] {
         return Script{{"first line\r\nsecond li"}, End::Reset};
     },
     {ErrorStatus(10054), "Disconneted"}},
    // The text view keeps its text in one buffer that grows by copying: once it holds tens of
    // megabytes, one such copy takes 100 to 200 ms on a busy machine.
    {"FloodOfLines",
     "127.0.0.62",
     [] { return Script{{Flood()}}; },
     {"Disconneted"},
     nullptr,
     500ms},
    {"OneByteTrickleWithPauses",
     "127.0.0.63",
     [] {
         return Script{OneByteEach("Domain: " + ESC + "$B\x34\x41" + ESC + "(B\r\nx\r\n\nend"),
                       End::Close, 15ms};
     },
     {"Disconneted"}},
    {"ZeroAndControlBytesLoneEscAndSplitEscDollar",
     "127.0.0.64",
     [] {
         return Script{{"a\0b\0\r\n"s, "\x01\x02\x07\x08\t\x0b\x0c\x7f\x1b\r\n",
                        "lone " + ESC + " esc\r\r\n", "split " + ESC, "$", "B\x24\x22" + ESC,
                        "(B tail\r", "\n" + ESC + "$B\x21\r\n\0"s}};
     },
     {"Disconneted"}},
    // The line is whole only when the server closes, and then its 2 MB go into the view in one
    // turn; the first time, the view also looks for a font that draws its breaks in long words.
    {"TwoMegabyteLineWithoutLineFeed",
     "127.0.0.65",
     [] { return Script{{std::string(2u << 20, 'w')}}; },
     {"Disconneted"},
     nullptr,
     250ms},
    {"CloseWithoutAByte", "127.0.0.66", [] { return Script{{}}; }, {"Disconneted"}},
    {"AnswerBeforeTheQueryArrives",
     "127.0.0.67",
     [] {
         Script s{{"early answer\r\n", "more\r\n"}};
         s.answerFirst = true;
         return s;
     },
     {"Disconneted"}},
    {"HalfCloseKeepsReading",
     "127.0.0.68",
     [] {
         return Script{{"half\r\nclosed"}, End::HalfClose};
     },
     {"Disconneted"}},
    {"AcceptsAndNeverAnswers",
     "127.0.0.69",
     [] {
         return Script{{}, End::Silent};
     },
     {InUseBox(), ErrorStatus(10060), "Disconneted"},
     NeverAnswers},
};

TEST_P(HostileServerTest, EveryLineArrivesAndTheWindowKeepsAnswering) {
    const HostileCase& c = GetParam();
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    const Script script = c.script();
    std::string answer;
    for (const auto& piece : script.pieces)
        answer += piece;
    server.Add(script);

    form.InputData->SetText("q");
    RestartTicks();
    Run(c.address);
    if (c.whileConnected) {
        ASSERT_TRUE(WaitFor([&] { return LogEndsWith("Connected "s + c.address); }));
        ticker.stop();
        c.whileConnected(*this);
        RestartTicks();
    }
    ASSERT_TRUE(WaitFor([&] { return LogEndsWith("Disconneted"); }, 120s)) << log.back();
    ticker.stop();
    std::printf("[ measured ] %s: largest stall %lld ms, largest gap between ticks %lld ms\n",
                c.name, static_cast<long long>(largestStall / 1000000),
                static_cast<long long>(largestGap / 1000000));

    std::vector<std::string> statuses = {Searching(), "Connected "s + c.address};
    statuses.insert(statuses.end(), c.statuses.begin(), c.statuses.end());
    EXPECT_EQ(log, statuses);
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"q\r\n"});
    const std::string text = form.Info->Text();
    const std::string want = ViewAfter(answer);
    EXPECT_EQ(text.size(), want.size());
    EXPECT_TRUE(text == want) << "the text view differs from the answer's lines";
    EXPECT_LT(largestStall, std::chrono::nanoseconds(c.stall * kSlower).count())
        << "the window stalled";
    EXPECT_LT(largestGap, std::chrono::nanoseconds(kFrozen).count()) << "the window froze";
}

INSTANTIATE_TEST_SUITE_P(HostileServer, HostileServerTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

} // namespace

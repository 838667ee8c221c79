// The floor of the lookup benchmark: the same converted text put into a fresh text view of the
// same size and font in one insertion, until it has been painted with the caret at the end.
// Prints the time, the peak resident memory and the lines shown.
//   view_floor_bench answer <MB>   the whois-like answer, word wrap as in the main window
//   view_floor_bench flood <MB>    short lines
//   view_floor_bench long <KB>     one line without a blank, wrapped anywhere

#include "Application.h"
#include "BenchSupport.h"
#include "Cp932.h"
#include "JisToSjis.h"
#include "ReceiveLines.h"
#include "ScreenGraphics.h"
#include "SjisText.h"
#include "WhoisAnswer.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <cstdio>

namespace {

// The screen text of the answer as the view shows it: a first line "Kelvane", then each line of
// the answer converted, without its CR, each followed by a line break.
QString ScreenText(const std::string& answer) {
    QString screen = QStringLiteral("Kelvane\n");
    std::string buffer;
    CutLines(buffer, answer, [&](std::string line) {
        line = JisToSjisLine(std::move(line));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        screen += Cp932ToScreen(line);
        screen += QChar(u'\n');
    });
    if (!buffer.empty()) screen += Cp932ToScreen(buffer) + QChar(u'\n');
    return screen;
}

} // namespace

int main(int argc, char** argv) {
    const BenchArgs args = ParseArgs(argc, argv);
    if (args.n == 0 || (args.mode != "answer" && args.mode != "flood" && args.mode != "long")) {
        std::fprintf(stderr, "usage: view_floor_bench answer|flood <MB> | long <KB>\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    TApplication app(argc, argv);

    QString screen;
    {
        const std::string answer = args.mode == "answer"  ? MakeWhoisAnswer(args.n << 20)
                                   : args.mode == "flood" ? MakeFloodAnswer(args.n << 20)
                                                          : MakeLongLine(args.n << 10);
        screen = ScreenText(answer);
    }

    QPlainTextEdit view;
    view.setTabChangesFocus(true);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    if (args.mode == "long") view.setWordWrapMode(QTextOption::WrapAnywhere);
    view.setFont(
        FontOnScreen({SjisText("ＭＳ Ｐゴシック"), -12, {}, clWindowText, SHIFTJIS_CHARSET}));
    view.resize(477, 256);
    view.show();
    PaintCount paints(view.viewport());
    RunUntil([&] { return paints.Count() > 0; });

    const double start = NowMs();
    const double cpuStart = CpuMs();
    view.setPlainText(screen);
    view.moveCursor(QTextCursor::End);
    const int before = paints.Count();
    RunUntil([&] { return paints.Count() > before; });
    const double ms = NowMs() - start;
    const double cpu = CpuMs() - cpuStart;
    const long lines = view.document()->blockCount() - 2;
    std::printf("ms=%.1f cpu_ms=%.1f rss_kb=%ld lines=%ld\n", ms, cpu, PeakRssKb(), lines);
    return 0;
}

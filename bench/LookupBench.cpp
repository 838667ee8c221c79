// A whole lookup in the real main window (offscreen) against a loopback whois server: resolving,
// connecting, reading, cutting, converting and appending a 2 MB and a 20 MB answer to the text
// view. Needs root for port 43, as the window tests do.

#include "Application.h"
#include "LoopbackWhoisServer.h"
#include "Unit1.h"
#include "WhoisAnswer.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace {

void BM_Lookup(benchmark::State& state) {
    LoopbackWhoisServer server("127.0.0.40");
    if (!server.Bound()) {
        state.SkipWithError(server.Why().c_str());
        return;
    }
    const std::string answer = MakeWhoisAnswer(static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        state.PauseTiming();
        TKelvaneForm form;
        server.Add({{answer}});
        form.ServerList->SetText("127.0.0.40");
        form.InputData->SetText("example.jp");
        state.ResumeTiming();
        form.ToolButton11->Click();
        while (form.Sb->SimpleText() != "Disconneted")
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}

} // namespace

BENCHMARK(BM_Lookup)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

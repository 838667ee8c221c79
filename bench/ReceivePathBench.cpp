// The read handler's work on an answer fed in 1 KB pieces: buffering, cutting at LF and
// converting each line. A 20 MB answer should cost per byte what a 2 MB one does (at most 1.2
// times): nothing rescans the buffer or erases from its front byte by byte.

#include "JisToSjis.h"
#include "ReceiveLines.h"
#include "WhoisAnswer.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ReceivePath(benchmark::State& state) {
    const std::string answer = MakeWhoisAnswer(static_cast<std::size_t>(state.range(0)) << 20);
    constexpr std::size_t piece = 1024;
    for (auto _ : state) {
        std::string receiveBuffer;
        std::string converted;
        std::size_t lines = 0;
        for (std::size_t at = 0; at < answer.size(); at += piece) {
            const std::string_view received =
                std::string_view(answer).substr(at, std::min(piece, answer.size() - at));
            CutLines(receiveBuffer, received, [&](std::string_view line) {
                JisToSjisLine(line, converted);
                benchmark::DoNotOptimize(converted.data());
                ++lines;
            });
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}

} // namespace

BENCHMARK(BM_ReceivePath)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();

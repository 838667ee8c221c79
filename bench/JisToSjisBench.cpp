// JisToSjisLine against glibc's iconv (ISO-2022-JP to CP932), both line by line over the same
// 20 MB answer. Bytes per second are the figures to compare; the target is four times iconv's.
// Each converts from the received bytes into a buffer of its own that it reuses, as the read
// handler does.

#include "JisToSjis.h"
#include "WhoisAnswer.h"

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <string_view>
#include <vector>

namespace {

const std::string& Answer() {
    static const std::string answer = MakeWhoisAnswer(20u << 20);
    return answer;
}

// The lines as views into the answer, as the read handler gets them.
const std::vector<std::string_view>& Lines() {
    static const std::vector<std::string_view> lines = [] {
        const std::string_view answer = Answer();
        std::vector<std::string_view> out;
        std::size_t start = 0;
        for (std::size_t lf; (lf = answer.find('\n', start)) != std::string::npos; start = lf + 1)
            out.push_back(answer.substr(start, lf - start));
        return out;
    }();
    return lines;
}

std::size_t TotalBytes() {
    std::size_t n = 0;
    for (const auto& line : Lines())
        n += line.size() + 1;
    return n;
}

void BM_JisToSjisLine(benchmark::State& state) {
    const auto& lines = Lines();
    std::string out;
    for (auto _ : state)
        for (const auto& line : lines) {
            JisToSjisLine(line, out);
            benchmark::DoNotOptimize(out.data());
        }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TotalBytes()));
}

void BM_IconvLine(benchmark::State& state) {
    const auto& lines = Lines();
    iconv_t cd = iconv_open("CP932", "ISO-2022-JP");
    std::string out(256, '\0');
    for (auto _ : state)
        for (const auto& line : lines) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char* ip = const_cast<char*>(line.data());
            char* op = out.data();
            std::size_t il = line.size(), ol = out.size();
            iconv(cd, &ip, &il, &op, &ol);
            benchmark::DoNotOptimize(op);
        }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TotalBytes()));
}

} // namespace

BENCHMARK(BM_JisToSjisLine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_IconvLine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();

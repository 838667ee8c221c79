// The receive path on any answer cut into any pieces: the lines, each converted as the window
// converts it, are the same and in the same order as when the answer arrives in one piece, and
// the same as a plain split at every LF; between pieces the buffer never holds an LF.
//
// Input: one byte that says how many of the last bytes are piece lengths, those lengths (a length
// of 0 is a read that brings nothing), then the answer.

#include "JisToSjis.h"
#include "ReceiveLines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Received {
    std::vector<std::string> lines;
    std::string buffer;
};

Received InPieces(std::string_view answer, const std::vector<std::size_t>& lengths) {
    Received got;
    auto line = [&got](std::string l) { got.lines.push_back(JisToSjisLine(std::move(l))); };
    std::size_t at = 0;
    for (std::size_t i = 0; at < answer.size(); ++i) {
        const std::size_t n = lengths.empty() ? answer.size() : lengths[i % lengths.size()];
        const std::string_view piece = answer.substr(at, n);
        CutLines(got.buffer, piece, line);
        if (got.buffer.find('\n') != std::string::npos) std::abort();
        at += piece.size();
        if (i > 4 * answer.size() + 8) break; // only empty pieces: nothing more arrives
    }
    CutLines(got.buffer, answer.substr(at), line);
    return got;
}

Received PlainSplit(std::string_view answer) {
    Received got;
    std::size_t from = 0;
    for (std::size_t lf; (lf = answer.find('\n', from)) != std::string_view::npos; from = lf + 1)
        got.lines.push_back(JisToSjisLine(std::string(answer.substr(from, lf - from))));
    got.buffer = answer.substr(from);
    return got;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t count = std::min<std::size_t>(data[0] % 32, size - 1);
    std::vector<std::size_t> lengths(data + 1, data + 1 + count);
    const std::string_view answer(reinterpret_cast<const char*>(data) + 1 + count,
                                  size - 1 - count);

    const Received whole = InPieces(answer, {});
    const Received pieces = InPieces(answer, lengths);
    const Received plain = PlainSplit(answer);
    if (pieces.lines != whole.lines || pieces.buffer != whole.buffer) std::abort();
    if (whole.lines != plain.lines || whole.buffer != plain.buffer) std::abort();
    return 0;
}

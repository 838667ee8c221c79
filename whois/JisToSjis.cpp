#include "JisToSjis.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char Esc = 0x1B;

// Position of the first ESC $ at or after `from`, or `size`.
std::size_t FindOpen(const char* data, std::size_t from, std::size_t size) {
    while (from < size) {
        const void* esc = std::memchr(data + from, Esc, size - from);
        if (!esc) return size;
        from = static_cast<std::size_t>(static_cast<const char*>(esc) - data);
        if (from + 1 < size && data[from + 1] == '$') return from;
        ++from;
    }
    return size;
}

// The arithmetic of the mapping:
//   trail = j2 + 0x1F (j1 odd, j2 <= 0x5F), j2 + 0x20 (j1 odd, j2 >= 0x60, skipping 0x7F),
//           j2 + 0x7E (j1 even);
//   lead  = ((j1 - 0x21) >> 1) + 0x81, plus 0x40 past 0x9F (skipping the half-width katakana).
// Written without branches on the bytes, which arrive in no predictable order.
int SjisOf(int j1, int j2) {
    if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) return 0;
    const int odd = j1 & 1;
    const int trail = j2 + 0x7E - odd * (0x5F - (j2 >= 0x60)); // 0x7E - 0x5F = 0x1F
    int lead = ((j1 - 0x21) >> 1) + 0x81;
    lead += (lead > 0x9F) * 0x40;
    return lead << 8 | trail;
}

// Every pair's two Shift_JIS bytes in output order, indexed by the pair itself: one look-up and
// one store are cheaper than the arithmetic in the pair loop.
struct PairBytes {
    char bytes[2];
};
const std::array<PairBytes, 65536>& PairTable() {
    static const auto table = [] {
        std::array<PairBytes, 65536> t{};
        for (int i = 0; i < 65536; ++i) {
            const int sjis = SjisOf(i >> 8, i & 0xFF);
            t[i] = {{static_cast<char>(sjis >> 8), static_cast<char>(sjis & 0xFF)}};
        }
        return t;
    }();
    return table;
}

} // namespace

int JisToSjisCode(int jis) {
    return SjisOf((jis >> 8) & 0xFF, jis & 0xFF);
}

// The output is never longer than the input (a run's pairs keep their size, its escape sequences
// vanish), so the line is converted in place: the write position never passes the read position.
namespace {

void ConvertInPlace(std::string& line) {
    char* const data = line.data();
    const std::size_t size = line.size();
    std::size_t read = FindOpen(data, 0, size);
    std::size_t write = read;
    if (read == size) return;
    const auto& pairs = PairTable();

    while (read < size) {
        // The opening ESC, $ and designator byte, whatever that byte is.
        read += 3;

        // Pairs until an ESC stands at the start of a pair or fewer than two bytes remain.
        while (read + 1 < size && data[read] != Esc) {
            const PairBytes& out = pairs[static_cast<unsigned char>(data[read]) << 8 |
                                         static_cast<unsigned char>(data[read + 1])];
            std::memcpy(data + write, out.bytes, 2);
            read += 2;
            write += 2;
        }

        // The closing sequence, up to three bytes, is dropped unseen.
        read += 3;
        if (read >= size) break;

        // Everything before the next ESC $ is kept unchanged.
        const std::size_t open = FindOpen(data, read, size);
        std::memmove(data + write, data + read, open - read);
        write += open - read;
        read = open;
    }
    line.resize(write);
}

} // namespace

std::string JisToSjisLine(std::string line) {
    ConvertInPlace(line);
    return line;
}

void JisToSjisLine(std::string_view line, std::string& out) {
    out.assign(line);
    ConvertInPlace(out);
}

// JisToSjisLine on any line: it never fails, never lengthens the line, and gives what a plain
// reading of its steps gives, with a remainder and an output of its own and the code's arithmetic
// written out branch by branch.

#include "JisToSjis.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char Esc = 0x1B;

int PlainCode(int j1, int j2) {
    if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) return 0;
    int trail;
    if (j1 % 2 == 1)
        trail = j2 <= 0x5F ? j2 + 0x1F : j2 + 0x20;
    else
        trail = j2 + 0x7E;
    int lead = ((j1 - 0x21) >> 1) + 0x81;
    if (lead > 0x9F) lead += 0x40;
    return lead * 256 + trail;
}

std::string PlainLine(const std::string& line) {
    std::string rest = line;
    std::string out;
    for (;;) {
        const std::size_t open = rest.find("\x1b$");
        if (open == std::string::npos) return out + rest;
        out += rest.substr(0, open);
        std::size_t at = open + 3;
        while (at + 2 <= rest.size() && rest[at] != Esc) {
            const int sjis = PlainCode(static_cast<unsigned char>(rest[at]),
                                       static_cast<unsigned char>(rest[at + 1]));
            out += static_cast<char>(sjis / 256);
            out += static_cast<char>(sjis % 256);
            at += 2;
        }
        at += 3;
        rest = at < rest.size() ? rest.substr(at) : std::string();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string converted = JisToSjisLine(line);
    if (converted.size() > line.size()) std::abort();
    if (converted != PlainLine(line)) std::abort();
    // The code of the first four bytes taken as a whole number: its higher bits are ignored.
    if (size >= 4) {
        std::int32_t jis;
        std::memcpy(&jis, data, sizeof jis);
        if (JisToSjisCode(jis) != PlainCode((jis >> 8) & 0xFF, jis & 0xFF)) std::abort();
    }
    return 0;
}

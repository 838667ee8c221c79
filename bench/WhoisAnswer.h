#pragma once
// A generated whois-like answer for the benchmarks: lines of 30 to 80 bytes ending in CR LF, about
// half of them carrying an ISO-2022-JP kanji run, as the Japanese registries write them.

#include <cstddef>
#include <random>
#include <string>

inline std::string MakeWhoisAnswer(std::size_t bytes) {
    static const char* const labels[] = {"[Domain Name]  ", "[Registrant]  ",  "a. [Name]  ",
                                         "[Name Server]  ", "[Last Update]  ", "g. [Org]  "};
    std::mt19937 rng(43);
    std::string out;
    out.reserve(bytes + 128);
    while (out.size() < bytes) {
        const std::size_t start = out.size();
        const std::size_t length = 30 + rng() % 51; // 30..80 bytes with CR LF
        out += labels[rng() % 6];
        if (rng() % 2) {
            out += "\x1b$B";
            const std::size_t pairs = 3 + rng() % 10;
            for (std::size_t i = 0; i < pairs; ++i) {
                out += static_cast<char>(0x30 + rng() % 0x20);
                out += static_cast<char>(0x21 + rng() % 0x5E);
            }
            out += "\x1b(B";
        }
        while (out.size() - start + 2 < length)
            out += static_cast<char>('a' + rng() % 26);
        out += "\r\n";
    }
    return out;
}

#pragma once
// Generated answers for the benchmarks. A whois-like answer: lines of 30 to 80 bytes ending in
// CR LF, about half of them carrying an ISO-2022-JP kanji run, as the Japanese registries write
// them. A flood: many short lines. A long line: one line with no blank and no LF, as a hostile
// server may send.

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

// Lines of 4 to 16 bytes with CR LF: "n: 1234".
inline std::string MakeFloodAnswer(std::size_t bytes) {
    std::mt19937 rng(50);
    std::string out;
    out.reserve(bytes + 32);
    while (out.size() < bytes) {
        out += "n: ";
        const std::size_t digits = rng() % 12;
        for (std::size_t i = 0; i < digits; ++i)
            out += static_cast<char>('0' + rng() % 10);
        out += "\r\n";
    }
    return out;
}

// One line of letters and digits without a blank and without an LF.
inline std::string MakeLongLine(std::size_t bytes) {
    std::string out(bytes, 'x');
    for (std::size_t i = 0; i < bytes; ++i)
        out[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[(i * 7 + i / 36) % 36];
    return out;
}

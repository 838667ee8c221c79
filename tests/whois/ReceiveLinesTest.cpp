#include "ReceiveLines.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<std::string> lines;
    std::string left;
};

// Tests are named by their case; the bytes would only clutter the list.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const Case kCases[] = {
    {"NoLineEnd", {"abc", "def"}, {}, "abcdef"},
    {"CrLfKeepsCr", {"a\r\nb\r\n"}, {"a\r", "b\r"}, ""},
    {"SplitBetweenCrAndLf", {"a\r", "\nb"}, {"a\r"}, "b"},
    {"TwoLfsGiveEmptyLine", {"a\n\nb\n"}, {"a", "", "b"}, ""},
    {"StartsWithLf", {"\n", "x\n"}, {"", "x"}, ""},
    {"LineAcrossManyPieces", {"do", "ma", "in", "\nrest"}, {"domain"}, "rest"},
    {"ZeroBytesStay", {std::string("a\0b\n", 4)}, {std::string("a\0b", 3)}, ""},
    {"EmptyPiece", {"ab", "", "\n"}, {"ab"}, ""},
};

class CutLinesTest : public testing::TestWithParam<Case> {};

TEST_P(CutLinesTest, CutsCompleteLines) {
    const Case& c = GetParam();
    std::string buffer;
    std::vector<std::string> lines;
    for (const auto& piece : c.pieces) {
        CutLines(buffer, piece, [&](std::string_view line) { lines.emplace_back(line); });
        EXPECT_EQ(buffer.find('\n'), std::string::npos);
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(buffer, c.left);
}

INSTANTIATE_TEST_SUITE_P(CutLines, CutLinesTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

// One byte at a time gives the same lines as all at once (handed over as strings this time).
TEST(CutLines, OneBytePiecesEqualOnePiece) {
    const std::string answer = "a: x\r\n\x1b$B\x24\x22\x1b(B\r\n\nlast";
    std::string whole, bytewise;
    std::vector<std::string> fromWhole, fromBytes;
    CutLines(whole, answer, [&](std::string l) { fromWhole.push_back(std::move(l)); });
    for (char c : answer)
        CutLines(bytewise, std::string(1, c), [&](std::string l) { fromBytes.push_back(l); });
    EXPECT_EQ(fromBytes, fromWhole);
    EXPECT_EQ(bytewise, whole);
    EXPECT_EQ(fromWhole.size(), 3u);
}

} // namespace

#include "Application.h"
#include "SjisText.h"

#include <gtest/gtest.h>

namespace {

// The application's title: the executable's name without folder, cut at its first ".", with every
// character after the first in lower case.
TEST(ApplicationTitle, FromTheExecutablesName) {
    const struct {
        const char* exe;
        std::string title;
    } cases[] = {
        {"/usr/bin/Kelvane", "Kelvane"},
        {"/opt/KELVANE.EXE", "Kelvane"},
        {"kelvane.bin.old", "kelvane"},
        {"/a.b/ProgName", "Progname"},
        {"/tmp/.hidden", ""},
        {"", ""},
        {"/opt/ケルベインＡＢ.bin", SjisText("ケルベインａｂ")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TApplication::TitleOf(c.exe), c.title) << c.exe;
}

} // namespace

#include "Application.h"
#include "SjisText.h"

#include <gtest/gtest.h>

namespace {

// A message gets a closing "." when its last byte sorts after "." (Japanese texts always do).
TEST(ErrorBox, FullStopRule) {
    const struct {
        std::string message, shown;
    } cases[] = {
        {"abc", "abc."},
        {"abc.", "abc."},
        {"(11001)", "(11001)"},
        {"a-", "a-"},
        {"a/", "a/."},
        {"", ""},
        {SjisText("行を挿入できません"), SjisText("行を挿入できません.")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TApplication::ErrorBoxText(c.message), c.shown);
}

} // namespace

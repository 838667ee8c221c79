#include "Json.h"

#include <gtest/gtest.h>

using namespace rdap;
using namespace std::string_literals;

namespace {

// Documents that read, written out again by the pretty-printer.
TEST(Json, ReadsAndWritesBackPretty) {
    struct Case {
        const char* name;
        std::string in;
        std::vector<std::string> want;
    } cases[] = {
        {"scalars",
         R"([null, true, false, 0, -1.5e+3, "x"])",
         {"[", "  null,", "  true,", "  false,", "  0,", "  -1.5e+3,", R"(  "x")", "]"}},
        {"nested and empty",
         R"( {"a": {"b": []}, "c": {}} )",
         {"{", R"(  "a": {)", R"(    "b": [])", "  },", R"(  "c": {})", "}"}},
        {"members keep order and duplicates",
         R"({"z":1,"a":2,"z":3})",
         {"{", R"(  "z": 1,)", R"(  "a": 2,)", R"(  "z": 3)", "}"}},
        {"escapes become characters and come back escaped where needed",
         R"(["\"\\\/\b\f\n\r\t\u0001\u00e9\u65e5"])",
         {"[", "  \"\\\"\\\\/\\u0008\\u000c\\n\\r\\t\\u0001\xC3\xA9\xE6\x97\xA5\"", "]"}},
        {"surrogate pair", R"(["\ud83d\ude00"])", {"[", "  \"\xF0\x9F\x98\x80\"", "]"}},
        {"half a pair is U+FFFD",
         R"(["\ud83dx", "\ude00", "\ud83d\u0041"])",
         {"[", "  \"\xEF\xBF\xBDx\",", "  \"\xEF\xBF\xBD\",",
          "  \"\xEF\xBF\xBD"
          "A\"",
          "]"}},
        {"bytes that are no UTF-8 stay", "[\"\xE9t\xE9\"]", {"[", "  \"\xE9t\xE9\"", "]"}},
        {"zero escaped", R"(["a\u0000b"])", {"[", R"(  "a\u0000b")", "]"}},
        {"byte order mark skipped",
         "\xEF\xBB\xBF"
         "1",
         {"1"}},
    };
    for (const auto& c : cases) {
        const auto value = ParseJson(c.in);
        ASSERT_TRUE(value) << c.name;
        EXPECT_EQ(PrettyJson(*value), c.want) << c.name;
    }
}

TEST(Json, RefusesWhatIsNoJson) {
    const std::string deep(MaxJsonDepth + 2, '[');
    const struct {
        const char* name;
        std::string in;
    } cases[] = {
        {"empty", ""},
        {"blank", " \n"},
        {"html", "<html><body>502 Bad Gateway</body></html>"},
        {"trailing text", "{} x"},
        {"two documents", "1 2"},
        {"trailing comma", "[1,]"},
        {"missing colon", R"({"a" 1})"},
        {"unquoted key", "{a:1}"},
        {"single quotes", "['a']"},
        {"unterminated string", R"(["abc)"},
        {"raw line break in a string", "[\"a\nb\"]"},
        {"bad escape", R"(["\x41"])"},
        {"short unicode escape", R"(["\u12"])"},
        {"leading zero", "[01]"},
        {"bare minus", "[-]"},
        {"dot without digits", "[1.]"},
        {"exponent without digits", "[1e]"},
        {"plus sign", "[+1]"},
        {"truncated literal", "[tru]"},
        {"nan", "[NaN]"},
        {"unclosed", R"({"a":[1,2)"},
        {"too deep", deep + std::string(MaxJsonDepth + 2, ']')},
        {"zero byte outside a string", "[1,\0 2]"s},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ParseJson(c.in)) << c.name;
}

TEST(Json, DepthAndCountBounds) {
    const int depth = MaxJsonDepth; // the outermost value sits at depth 0
    EXPECT_TRUE(ParseJson(std::string(depth + 1, '[') + std::string(depth + 1, ']')));
    EXPECT_FALSE(ParseJson(std::string(depth + 2, '[') + std::string(depth + 2, ']')));

    // Every value counts, the containers as well as what they hold.
    const struct {
        const char* in;
        std::size_t values;
    } cases[] = {{"0", 1}, {"[0,0,0]", 4}, {R"({"a":[1,{"b":null}],"c":""})", 6}};
    for (const auto& c : cases) {
        EXPECT_TRUE(ParseJson(c.in, c.values)) << c.in;
        EXPECT_FALSE(ParseJson(c.in, c.values - 1)) << c.in;
    }
}

TEST(Json, MembersByName) {
    const auto value = ParseJson(R"({"s":"x","n":42,"a":[1,2],"o":{},"s":"second"})");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->Text("s"), "x"); // the first of a duplicated name
    EXPECT_EQ(value->Text("n"), "42");
    EXPECT_EQ(value->Text("a"), "");
    EXPECT_EQ(value->Text("missing"), "");
    EXPECT_EQ(value->Items("a").size(), 2u);
    EXPECT_TRUE(value->Items("o").empty());
    EXPECT_TRUE(value->Items("s").empty());
    EXPECT_EQ(value->Items("a")[0].Find("x"), nullptr); // a number has no members
}

} // namespace

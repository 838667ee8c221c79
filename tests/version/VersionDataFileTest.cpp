#include "VersionDataFile.h"

#include <gtest/gtest.h>

namespace {

const std::string Fixed = "[fixed]\n"
                          "FileVersion = 3.2.2.2\n"
                          "ProductVersion = 3.2.2.2\n"
                          "FileFlagsMask = 0x3F\n"
                          "FileFlags = 0\n"
                          "FileOS = 4\n"
                          "FileType = 1\n"
                          "FileSubtype = 0\n"
                          "FileDate = 0\n";
const std::string Translation = "[translation]\nLanguage = 0x0411\nCodePage = 932\n";

TEST(VersionDataFile, ReadsFieldsAndStringsInOrder) {
    const TVersionData data =
        ReadVersionData("# comment\r\n" + Fixed + Translation +
                        "[strings]\n  Empty =\nB = two words  \nA = 著作権 😀\nEq = a=b\n");
    EXPECT_EQ(data.FileVersion, (std::array<std::uint16_t, 4>{3, 2, 2, 2}));
    EXPECT_EQ(data.FileFlagsMask, 0x3Fu);
    EXPECT_EQ(data.FileOS, 4u);
    EXPECT_EQ(data.Language, 0x0411);
    EXPECT_EQ(data.CodePage, 932);
    using S = std::pair<std::u16string, std::u16string>;
    EXPECT_EQ(
        data.Strings,
        (std::vector<S>{
            {u"Empty", u""}, {u"B", u"two words"}, {u"A", u"著作権 \U0001F600"}, {u"Eq", u"a=b"}}));
}

TEST(VersionDataFile, FaultsNameTheirLine) {
    const struct {
        const char* name;
        std::string text;
        std::string want;
    } cases[] = {
        {"unknown section", Fixed + "[other]\n", "line 10: unknown section [other]"},
        {"key before a section", "FileOS = 4\n", "line 1: a key before the first section"},
        {"no equals sign", Fixed + Translation + "[strings]\nCompanyName\n",
         "line 14: expected \"key = value\""},
        {"unknown key", Fixed + "FileColour = 1\n" + Translation,
         "line 10: unknown key \"fixed.FileColour\""},
        {"key twice", Fixed + "FileOS = 4\n", "line 10: \"FileOS\" given twice"},
        {"number too large", "[translation]\nLanguage = 0x10000\n",
         "line 2: \"0x10000\" is not a 16-bit number"},
        {"not a number", "[fixed]\nFileOS = four\n", "line 2: \"four\" is not a 32-bit number"},
        {"version of three numbers", "[fixed]\nFileVersion = 3.2.2\n",
         "line 2: \"3.2.2\" is not a version of four numbers"},
        {"version of five numbers", "[fixed]\nFileVersion = 3.2.2.2.2\n",
         "line 2: \"3.2.2.2.2\" is not a version of four numbers"},
        {"version part too large", "[fixed]\nFileVersion = 3.2.2.65536\n",
         "line 2: \"3.2.2.65536\" is not a version of four numbers"},
        {"string not UTF-8", Fixed + Translation + "[strings]\nA = \xC0\xAF\n",
         "line 14: not UTF-8"},
        {"field missing", Fixed, "\"translation.CodePage\" is missing"},
    };
    for (const auto& c : cases) {
        try {
            ReadVersionData(c.text);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const TVersionDataError& e) {
            EXPECT_EQ(std::string(e.what()), c.want) << c.name;
        }
    }
}

} // namespace

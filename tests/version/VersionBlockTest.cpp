#include "VersionBlock.h"

#include "ElfSection.h"
#include "KelvaneVersion.h"
#include "OSError.h"
#include "VersionBlockWriter.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

std::u16string Utf16(const char* ascii) {
    return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii));
}

// Little-endian fields, as a version block stores them.
struct Bytes {
    std::string b;
    Bytes& W(std::uint16_t w) {
        b += static_cast<char>(w & 0xFF);
        b += static_cast<char>(w >> 8);
        return *this;
    }
    Bytes& D(std::uint32_t d) { return W(d & 0xFFFF).W(static_cast<std::uint16_t>(d >> 16)); }
    Bytes& S(const char* ascii) { // UTF-16 with its final NUL
        for (const char* c = ascii; *c; ++c)
            W(static_cast<std::uint16_t>(*c));
        return W(0);
    }
    Bytes& Pad() { return W(0); }
};

void Put16(std::string& b, std::size_t at, std::uint16_t w) {
    b[at] = static_cast<char>(w & 0xFF);
    b[at + 1] = static_cast<char>(w >> 8);
}

// The error number a block fails with; 0 when it is taken.
int ParseError(const std::string& bytes) {
    try {
        TVersionBlock block(bytes);
        return 0;
    } catch (const EOSError& e) {
        return e.ErrorCode();
    }
}

TEST(VersionBlock, BuiltBlockHoldsTheProgramsVersionData) {
    const TVersionBlock block(ReadBytes(KELVANE_VERSION_BLOCK));
    ASSERT_TRUE(block.FixedFileInfo());
    const TFixedFileInfo& f = *block.FixedFileInfo();
    const struct {
        const char* name;
        std::uint32_t got, want;
    } fixed[] = {
        {"signature", f.Signature, 0xFEEF04BD},
        {"structure version 1.0", f.StrucVersion, 0x00010000},
        {"file version 3.2", f.FileVersionMS, 0x00030002},
        {"file version .2.2", f.FileVersionLS, 0x00020002},
        {"product version 3.2", f.ProductVersionMS, 0x00030002},
        {"product version .2.2", f.ProductVersionLS, 0x00020002},
        {"flags mask", f.FileFlagsMask, 0x3F},
        {"flags", f.FileFlags, 0},
        {"operating system", f.FileOS, 4},
        {"file type", f.FileType, 1},
        {"file subtype", f.FileSubtype, 0},
        {"file date, high", f.FileDateMS, 0},
        {"file date, low", f.FileDateLS, 0},
    };
    for (const auto& c : fixed)
        EXPECT_EQ(c.got, c.want) << c.name;

    using Translation = std::pair<std::uint16_t, std::uint16_t>;
    EXPECT_EQ(block.Translations(), std::vector<Translation>{Translation(0x0411, 932)});

    const TVersionEntry* table = block.Find(u"\\StringFileInfo\\041103A4");
    ASSERT_TRUE(table);
    ASSERT_EQ(table->Children.size(), KelvaneStrings.size());
    for (std::size_t i = 0; i < KelvaneStrings.size(); ++i) {
        const TVersionEntry& s = table->Children[i];
        EXPECT_EQ(s.Key, Utf16(KelvaneStrings[i].key)) << i;
        EXPECT_TRUE(s.IsText) << KelvaneStrings[i].key;
        EXPECT_EQ(s.Text(), Utf16(KelvaneStrings[i].value) + u'\0') << KelvaneStrings[i].key;
    }
}

TEST(VersionBlock, ExecutableCarriesTheBuiltBlock) {
    EXPECT_EQ(ReadElfSection(KELVANE_EXE, ".versioninfo"), ReadBytes(KELVANE_VERSION_BLOCK));
}

// A small block written out field by field from the documented layout, lengths counted by hand.
TEST(VersionBlockWriter, WritesTheWindowsLayout) {
    TVersionData data;
    data.FileVersion = {1, 2, 3, 4};
    data.ProductVersion = {5, 6, 7, 8};
    data.FileFlagsMask = 0x3F;
    data.FileFlags = 2;
    data.FileOS = 4;
    data.FileType = 1;
    data.FileSubtype = 0;
    data.FileDate = 0x0000000100000002;
    data.Language = 0x0411;
    data.CodePage = 932;
    data.Strings = {{u"A", u"B"}};

    Bytes want;
    want.W(236).W(52).W(0).S("VS_VERSION_INFO").Pad();            // 0..40
    want.D(0xFEEF04BD).D(0x00010000).D(0x00010002).D(0x00030004); // 40..56
    want.D(0x00050006).D(0x00070008).D(0x3F).D(2).D(4).D(1).D(0); // 56..84
    want.D(1).D(2);                                               // 84..92
    want.W(76).W(0).W(1).S("StringFileInfo");                     // 92..128
    want.W(40).W(0).W(1).S("041103A4");                           // 128..152
    want.W(16).W(2).W(1).S("A").Pad().S("B");                     // 152..168
    want.W(68).W(0).W(1).S("VarFileInfo").Pad();                  // 168..200
    want.W(36).W(4).W(0).S("Translation").Pad().W(0x0411).W(932); // 200..236
    EXPECT_EQ(WriteVersionBlock(data), want.b);
}

TEST(VersionBlock, DamagedBlocksAreInvalidData) {
    const std::string good = ReadBytes(KELVANE_VERSION_BLOCK);
    ASSERT_EQ(ParseError(good), 0);
    // In the built block the root's fixed part starts at 40, "StringFileInfo" at 92 and its
    // first string, "CompanyName", at 152.
    const struct {
        const char* name;
        std::function<void(std::string&)> damage;
    } cases[] = {
        {"no bytes", [](std::string& b) { b.clear(); }},
        {"cut short of its length", [](std::string& b) { b.resize(b.size() - 2); }},
        {"root length under a header", [](std::string& b) { Put16(b, 0, 4); }},
        {"root of another name", [](std::string& b) { b[6] = 'W'; }},
        {"entry of an unknown type", [](std::string& b) { Put16(b, 4, 2); }},
        {"fixed part with another signature", [](std::string& b) { b[40] ^= 1; }},
        {"fixed part shorter than its layout", [](std::string& b) { Put16(b, 2, 48); }},
        {"child longer than its parent", [](std::string& b) { Put16(b, 92, 0xFFF0); }},
        {"key without a final NUL", [](std::string& b) { Put16(b, 152, 10); }},
        {"text longer than its entry", [](std::string& b) { Put16(b, 154, 0x100); }},
    };
    for (const auto& c : cases) {
        std::string bytes = good;
        c.damage(bytes);
        EXPECT_EQ(ParseError(bytes), ERROR_INVALID_DATA) << c.name;
    }
}

// A root with a chain of `depth` entries "k" below it.
std::string Nested(int depth) {
    std::string chain;
    for (int i = 0; i < depth; ++i)
        chain = Bytes().W(static_cast<std::uint16_t>(12 + chain.size())).W(0).W(1).S("k").Pad().b +
                chain;
    Bytes root;
    root.W(static_cast<std::uint16_t>(40 + chain.size())).W(0).W(0).S("VS_VERSION_INFO").Pad();
    return root.b + chain;
}

TEST(VersionBlock, DepthIsBoundedNotTheStack) {
    EXPECT_EQ(ParseError(Nested(4)), 0);
    EXPECT_EQ(ParseError(Nested(5000)), ERROR_INVALID_DATA);
}

TEST(VersionBlock, LookupByPath) {
    const TVersionBlock block(ReadBytes(KELVANE_VERSION_BLOCK) + std::string(16, '\xEE'));
    EXPECT_EQ(block.Find(u"\\"), &block.Root());
    const TVersionEntry* version = block.Find(u"\\StringFileInfo\\041103A4\\FileVersion");
    ASSERT_TRUE(version);
    EXPECT_EQ(block.Find(u"\\stringfileinfo\\041103a4\\FILEVERSION"), version);
    EXPECT_EQ(block.Find(u"StringFileInfo\\041103A4\\FileVersion"), version);
    EXPECT_EQ(block.Find(u"\\StringFileInfo\\040904B0\\FileVersion"), nullptr);
    EXPECT_EQ(block.Find(u"\\StringFileInfo\\041103A4\\FileVersio"), nullptr);
    EXPECT_EQ(block.Find(u"\\StringFileInfo\\041103A4\\FileVersion\\More"), nullptr);
    EXPECT_TRUE(TVersionBlock(Nested(4)).Find(u"\\k\\k\\k\\k"));
    EXPECT_FALSE(TVersionBlock(Nested(4)).FixedFileInfo());
}

} // namespace

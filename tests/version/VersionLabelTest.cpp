#include "KelvaneVersion.h"
#include "SjisText.h"
#include "TempDir.h"
#include "VersionBlockWriter.h"
#include "VersionDataFile.h"
#include "VersionInfo.h"
#include "VersionInfoFileVersionLabel.h"
#include "VersionInfoLegalCopyrightLabel.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const std::string Copyright = SjisText("Copyright (C) 2026 Kelvane developers");

QLabel* Screen(const TLabel& label) {
    return static_cast<QLabel*>(label.Widget());
}

// The window the labels live on, as on a form: it frees their widgets after them.
struct Window {
    QWidget widget;
    template <class L> void Put(L& label) { label.Widget()->setParent(&widget); }
};

// A source reading `path`, enabled.
std::unique_ptr<TVersionInfo> Source(const std::string& path) {
    auto source = std::make_unique<TVersionInfo>();
    source->SetFileName(path);
    source->SetEnabled(true);
    return source;
}

TEST(VersionLabel, LabelsShowTheExecutablesStringsSizedToThem) {
    Window window;
    TVersionInfoFileVersionLabel version;
    TVersionInfoLegalCopyrightLabel copyright;
    window.Put(version);
    window.Put(copyright);
    version.SetBounds(120, 10, 42, 12);
    copyright.SetBounds(40, 32, 216, 12);
    const auto source = Source(KELVANE_EXE);
    version.SetVersionInfo(source.get());
    copyright.SetVersionInfo(source.get());

    EXPECT_EQ(version.LabelText(), "3.2.2.2");
    EXPECT_EQ(copyright.LabelText(), Copyright);
    EXPECT_EQ(Screen(version)->text(), QStringLiteral("3.2.2.2"));
    EXPECT_EQ(Screen(copyright)->text(), QString::fromStdString(Copyright));
    for (TLabel* label : {static_cast<TLabel*>(&version), static_cast<TLabel*>(&copyright)}) {
        EXPECT_EQ(Screen(*label)->size(), Screen(*label)->sizeHint());
        EXPECT_GT(label->Widget()->width(), 0);
    }
    EXPECT_EQ(version.Widget()->pos(), QPoint(120, 10));
    EXPECT_EQ(copyright.Widget()->pos(), QPoint(40, 32));
}

TEST(VersionLabel, WithoutTheSectionTheLabelsAreEmpty) {
    TempDir dir;
    const std::string copy = CopyOfKelvane(dir);
    ASSERT_TRUE(Objcopy({"--remove-section", ".versioninfo", copy}));
    Window window;
    TVersionInfoFileVersionLabel version;
    TVersionInfoLegalCopyrightLabel copyright;
    window.Put(version);
    window.Put(copyright);
    const auto source = Source(copy);
    version.SetVersionInfo(source.get());
    copyright.SetVersionInfo(source.get());
    EXPECT_EQ(Screen(version)->text(), QString());
    EXPECT_EQ(Screen(copyright)->text(), QString());
}

// Values are shown as stored up to their first NUL, "&" and markup as themselves, converted to
// code page 932 and nothing else.
TEST(VersionLabel, ValuesShowAsStoredUpToTheirFirstNul) {
    TVersionData data =
        ReadVersionData("[fixed]\nFileVersion=1.0.0.0\nProductVersion=1.0.0.0\n"
                        "FileFlagsMask=0\nFileFlags=0\nFileOS=4\nFileType=1\nFileSubtype=0\n"
                        "FileDate=0\n[translation]\nLanguage=0x0411\nCodePage=932\n");
    data.Strings = {{u"FileVersion", std::u16string(u"版 & 1\0後", 7)},
                    {u"LegalCopyright", u" (C) A&&B <b>x</b> "}};
    TempDir dir;
    const std::string copy = CopyOfKelvane(dir);
    ASSERT_TRUE(ReplaceVersionBlock(dir, copy, WriteVersionBlock(data)));

    Window window;
    TVersionInfoFileVersionLabel version;
    TVersionInfoLegalCopyrightLabel copyright;
    window.Put(version);
    window.Put(copyright);
    const auto source = Source(copy);
    version.SetVersionInfo(source.get());
    copyright.SetVersionInfo(source.get());
    EXPECT_EQ(version.LabelText(), SjisText("版 & 1"));
    EXPECT_EQ(copyright.LabelText(), " (C) A&&B <b>x</b> ");
    EXPECT_EQ(Screen(version)->text(), QStringLiteral("版 & 1"));
    EXPECT_EQ(Screen(copyright)->text(), QStringLiteral(" (C) A&&B <b>x</b> "));
    EXPECT_EQ(Screen(version)->textFormat(), Qt::PlainText);
}

TEST(VersionLabel, LabelsFollowBindingAndEveryChangeOfTheirSource) {
    Window window;
    TVersionInfoFileVersionLabel first;
    auto second = std::make_unique<TVersionInfoFileVersionLabel>();
    window.Put(first);
    window.Put(*second);
    auto source = Source(KELVANE_EXE);
    TVersionInfo other; // disabled
    other.SetFileName(KELVANE_EXE);
    auto shown = [](const TLabel& l) { return Screen(l)->text().toStdString(); };

    EXPECT_EQ(shown(first), "");
    first.SetCaption("VersionInfoFileVersionLabel1"); // the caption is never drawn
    EXPECT_EQ(shown(first), "");
    first.SetVersionInfo(source.get());
    second->SetVersionInfo(source.get());
    EXPECT_EQ(shown(first), "3.2.2.2");
    EXPECT_EQ(first.Caption(), "VersionInfoFileVersionLabel1");
    const int width = first.Widget()->width();

    source->SetEnabled(false);
    EXPECT_EQ(shown(first), "");
    EXPECT_EQ(shown(*second), "");
    EXPECT_LT(first.Widget()->width(), width);
    source->SetEnabled(true);
    EXPECT_EQ(shown(first), "3.2.2.2");
    EXPECT_EQ(first.Widget()->width(), width);

    first.SetVersionInfo(&other);
    EXPECT_EQ(shown(first), "");
    EXPECT_EQ(shown(*second), "3.2.2.2");
    other.SetEnabled(true);
    EXPECT_EQ(shown(first), "3.2.2.2");
    first.SetVersionInfo(nullptr);
    EXPECT_EQ(shown(first), "");

    second.reset(); // a destroyed label is no longer told
    source->SetEnabled(false);
    first.SetVersionInfo(source.get());
    source.reset(); // a destroyed source leaves its labels empty
    EXPECT_EQ(first.VersionInfo(), nullptr);
    EXPECT_EQ(shown(first), "");
}

} // namespace

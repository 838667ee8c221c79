// What a screen reader learns from the windows through Qt's accessibility interfaces: every
// control's role and name, the status bar's text and its announcements during a lookup, the About
// window's texts, and the error box's alert.

#include "AccessibleNames.h"
#include "Application.h"
#include "LoopbackWhoisServer.h"
#include "ModalDriver.h"
#include "SjisText.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The events Qt raises for assistive technology, as the bus would pass them on.
struct Heard {
    QObject* object;
    QAccessible::Event type;
    QString name; // the object's name when the event was raised
};
std::vector<Heard> heard;

void Listen(QAccessibleEvent* event) {
    QAccessibleInterface* object = event->accessibleInterface();
    heard.push_back(
        {event->object(), event->type(), object ? object->text(QAccessible::Name) : QString()});
}

QString Name(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

QAccessible::Role Role(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->role();
}

QString Screen(const char* text) {
    return QString::fromUtf8(text);
}

class AccessibilityTest : public testing::Test {
  protected:
    void SetUp() override {
        heard.clear();
        previous = QAccessible::installUpdateHandler(Listen);
        // What the desktop's bridge does when a screen reader starts.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    void TearDown() override {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(previous);
        Application->ErrorBoxHook = nullptr;
    }

    std::vector<QString> StatusNamesHeard() const {
        std::vector<QString> names;
        for (const Heard& h : heard)
            if (h.object == form.Sb->Widget() && h.type == QAccessible::NameChanged &&
                (names.empty() || names.back() != h.name))
                names.push_back(h.name);
        return names;
    }

    TKelvaneForm form;
    QAccessible::UpdateHandler previous = nullptr;
};

TEST(CaptionWithoutMarker, ReadsTheCaptionAsItIsSpoken) {
    const std::pair<std::string, std::string> cases[] = {
        {SjisText("切り取り(&T)"), SjisText("切り取り")}, // the key in parentheses goes whole
        {"&File", "File"},
        {"Save &As", "Save As"},
        {"A&&B", "A&B"},
        {"end&", "end&"},
        {"(&)", "()"},
        {"", ""},
        {SjisText("表(&&)"), SjisText("表(&)")},
    };
    for (const auto& [caption, spoken] : cases)
        EXPECT_EQ(CaptionWithoutMarker(caption), spoken) << caption;
}

TEST_F(AccessibilityTest, EveryControlOfTheMainWindowHasItsRoleAndName) {
    struct Case {
        const char* control;
        QWidget* it;
        QAccessible::Role role;
        const char* name;
    };
    const Case cases[] = {
        {"window", form.Widget(), QAccessible::Window, "Kelvane ver3"},
        {"query box", form.InputData->Widget(), QAccessible::EditableText, "検索データ"},
        {"text view", form.Info->Widget(), QAccessible::EditableText, "結果"},
        {"add server", form.ToolButton1->Widget(), QAccessible::Button, "サーバー追加"},
        {"delete server", form.ToolButton2->Widget(), QAccessible::Button, "サーバー削除"},
        {"cut", form.ToolButton4->Widget(), QAccessible::Button, "切り取り"},
        {"copy", form.ToolButton5->Widget(), QAccessible::Button, "コピー"},
        {"paste", form.ToolButton6->Widget(), QAccessible::Button, "貼り付け"},
        {"delete", form.ToolButton7->Widget(), QAccessible::Button, "削除"},
        {"clear", form.ToolButton13->Widget(), QAccessible::Button, "クリア"},
        {"file menu", form.ToolButton8->Widget(), QAccessible::Button, "ファイル"},
        {"edit menu", form.ToolButton9->Widget(), QAccessible::Button, "編集"},
        {"help menu", form.ToolButton10->Widget(), QAccessible::Button, "ヘルプ"},
        {"run", form.ToolButton11->Widget(), QAccessible::Button, "実行"},
        {"separator on the server bar", form.ToolButton3->Widget(), QAccessible::Separator, ""},
        {"separator on the edit bar", form.ToolButton12->Widget(), QAccessible::Separator, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(Role(c.it), c.role);
        EXPECT_EQ(Name(c.it), Screen(c.name));
    }
    // The server box's text field is what takes the focus and carries the name; on this desktop
    // the box itself reads as its text.
    EXPECT_EQ(Role(form.ServerList->Widget()), QAccessible::ComboBox);
    EXPECT_EQ(Name(form.ServerList->Widget()), QStringLiteral("whois.jprs.jp"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.ServerList->Widget())
                  ->text(QAccessible::Description),
              Screen("サーバー"));
    QLineEdit* field = static_cast<QComboBox*>(form.ServerList->Widget())->lineEdit();
    EXPECT_EQ(Role(field), QAccessible::EditableText);
    EXPECT_EQ(Name(field), Screen("サーバー"));

    // The status bar reads as its current text and says what it is in its description.
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(form.Sb->Widget());
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Description), Screen("状態"));
}

// Walks the accessible tree as a screen reader does: nothing the user can press or type in is
// left without a name, and nothing is a nameless button.
TEST_F(AccessibilityTest, NoControlInTheWindowsTreeIsNameless) {
    form.Show();
    std::vector<QString> nameless;
    int controls = 0;
    std::function<void(QAccessibleInterface*, QString)> walk = [&](QAccessibleInterface* node,
                                                                   QString path) {
        const QAccessible::Role role = node->role();
        path += QStringLiteral("/%1").arg(int(role));
        const bool control = role == QAccessible::Button || role == QAccessible::EditableText ||
                             role == QAccessible::ComboBox;
        if (control && !node->state().invisible) {
            ++controls;
            if (node->text(QAccessible::Name).isEmpty()) nameless.push_back(path);
        }
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface* child = node->child(i)) walk(child, path);
    };
    walk(QAccessible::queryAccessibleInterface(form.Widget()), {});
    EXPECT_EQ(controls, 15); // 11 buttons, 2 boxes, the server box's field, the text view
    EXPECT_EQ(nameless, std::vector<QString>{});
}

TEST_F(AccessibilityTest, StatusChangesAreAnnouncedWithTheirText) {
    form.Sb->SetSimpleText(SjisText("サーバーを検索中"));
    EXPECT_EQ(Name(form.Sb->Widget()), Screen("サーバーを検索中"));
    ASSERT_EQ(StatusNamesHeard(), std::vector<QString>{Screen("サーバーを検索中")});

    // A whole lookup: each stage is heard in turn, without the focus moving.
    LoopbackWhoisServer server("127.0.0.90");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{"Domain: example.jp\r\n"}});
    form.Sb->SetSimpleText("");
    heard.clear();
    form.InputData->SetFocus();
    form.ServerList->SetText("127.0.0.90");
    form.InputData->SetText("example.jp");
    form.ToolButton11->Click();
    for (int i = 0; i < 1000 && form.Sb->SimpleText() != "Disconneted"; ++i)
        QTest::qWait(10);
    EXPECT_EQ(StatusNamesHeard(),
              (std::vector<QString>{Screen("サーバーを検索中"), Screen("Connected 127.0.0.90"),
                                    Screen("Disconneted")}));
}

TEST_F(AccessibilityTest, TheErrorBoxIsAnnouncedWithItsMessage) {
    QString alerted;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        for (const Heard& h : heard)
            if (h.type == QAccessible::Alert && h.object == box)
                alerted = QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name) +
                          QChar(u'|') + box->text();
        box->accept();
    });
    Application->ShowException(std::runtime_error("ErrorCode=11001"));
    EXPECT_TRUE(alerted.endsWith(QStringLiteral("|ErrorCode=11001."))) << alerted.toStdString();
}

TEST_F(AccessibilityTest, TheAboutWindowReadsItsTexts) {
    TAboutForm about;
    struct Case {
        const char* control;
        QWidget* it;
        QAccessible::Role role;
        QString name;
    };
    const Case cases[] = {
        {"window", about.Widget(), QAccessible::Dialog, Screen("バージョン情報")},
        {"title", about.Label1->Widget(), QAccessible::StaticText, "Kelvane"},
        {"version", about.VersionInfoFileVersionLabel1->Widget(), QAccessible::StaticText,
         Screen(about.VersionInfo1->StringValue("FileVersion").c_str())},
        {"copyright", about.VersionInfoLegalCopyrightLabel1->Widget(), QAccessible::StaticText,
         Screen(about.VersionInfo1->StringValue("LegalCopyright").c_str())},
        {"OK", about.OKButton->Widget(), QAccessible::Button, "OK"},
        {"address", about.MyURL->Widget(), QAccessible::EditableText, Screen("ホームページ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(Role(c.it), c.role);
        EXPECT_EQ(Name(c.it), c.name);
    }
    EXPECT_FALSE(cases[1].name.isEmpty());
    EXPECT_FALSE(cases[2].name.isEmpty());

    // The address is a read-only field that reads its text and says it opens like a link.
    QAccessibleInterface* address = QAccessible::queryAccessibleInterface(about.MyURL->Widget());
    EXPECT_TRUE(address->state().readOnly);
    EXPECT_TRUE(address->text(QAccessible::Description).startsWith(Screen("リンク")));
    ASSERT_NE(address->textInterface(), nullptr);
    EXPECT_EQ(address->textInterface()->text(0, address->textInterface()->characterCount()),
              QStringLiteral("https://www.example.com/kelvane/"));
}

} // namespace

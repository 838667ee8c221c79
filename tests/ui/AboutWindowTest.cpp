// The About window as the user meets it: its layout and settings, the version strings read from
// this test program's own file (it carries Kelvane's version data), the keys, the address handed
// to the desktop on every click, and the modal showing.

#include "Application.h"
#include "Exception.h"
#include "LoopbackWhoisServer.h"
#include "SjisText.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string Address = "https://www.example.com/kelvane/";
const QString Copyright = QStringLiteral("Copyright (C) 2026 Kelvane developers");

QString Shown(const TLabel* label) {
    return static_cast<QLabel*>(label->Widget())->text();
}

class AboutWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Application->ShellOpenHook = [this](const std::string& target) {
            opened.push_back(target);
        };
    }
    void TearDown() override { Application->ShellOpenHook = nullptr; }

    // Shows the window modally (by `show`, or ShowModal) and runs `act` inside its loop once it
    // is the active modal window; `act` is to end the showing. A window still open after `act`
    // is closed, so that a failing test ends. Returns the window's modal result.
    TModalResult Showing(const std::function<void()>& act, std::function<void()> show = {}) {
        bool acted = false;
        QWidget* window = about.Widget();
        QTimer::singleShot(0, window, [&] {
            if (QApplication::activeModalWidget() == window) {
                QApplication::setActiveWindow(window);
                if (QTest::qWaitForWindowActive(window)) {
                    acted = true;
                    act();
                }
            }
            if (window->isVisible()) window->close();
        });
        if (show)
            show();
        else
            about.ShowModal();
        EXPECT_TRUE(acted) << "the window never became the active modal window";
        EXPECT_FALSE(window->isVisible());
        return about.ModalResult();
    }

    QLineEdit* Url() const { return static_cast<QLineEdit*>(about.MyURL->Widget()); }
    QPushButton* Ok() const { return static_cast<QPushButton*>(about.OKButton->Widget()); }
    static void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void ClickOk() const { QTest::mouseClick(Ok(), Qt::LeftButton); }

    TAboutForm about;
    std::vector<std::string> opened;
};

// Every control where the layout puts it, in the client area of a fixed 307 x 106 window. The
// labels keep their left and top edges and take the size of their text.
TEST_F(AboutWindowTest, Layout) {
    const struct {
        const char* name;
        const TControl* control;
        int left, top, width, height;
        bool sizedToText;
    } cases[] = {
        {"Label1", about.Label1, 16, 8, 90, 16, true},
        {"VersionInfoFileVersionLabel1", about.VersionInfoFileVersionLabel1, 120, 10, 42, 12, true},
        {"VersionInfoLegalCopyrightLabel1", about.VersionInfoLegalCopyrightLabel1, 40, 32, 216, 12,
         true},
        {"OKButton", about.OKButton, 200, 88, 65, 17, false},
        {"MyURL", about.MyURL, 40, 64, 217, 17, false},
    };
    QWidget* window = about.Widget();
    EXPECT_EQ(about.ClientWidth(), 307);
    EXPECT_EQ(about.ClientHeight(), 106);
    EXPECT_EQ(window->minimumSize(), QSize(307, 106));
    EXPECT_EQ(window->maximumSize(), QSize(307, 106));
    for (const auto& c : cases) {
        QWidget* widget = c.control->Widget();
        EXPECT_EQ(widget->parentWidget(), window) << c.name;
        EXPECT_TRUE(widget->isVisibleTo(window)) << c.name;
        EXPECT_EQ(widget->pos(), QPoint(c.left, c.top)) << c.name;
        const QSize want = c.sizedToText ? widget->sizeHint() : QSize(c.width, c.height);
        EXPECT_EQ(widget->size(), want) << c.name;
        EXPECT_LE(widget->x() + widget->width(), 307) << c.name;
    }
    // The name stops short of the version, which stands on its line.
    EXPECT_LT(about.Label1->Left() + about.Label1->Width(), 120);
}

TEST_F(AboutWindowTest, WindowSettings) {
    QWidget* window = about.Widget();
    EXPECT_FALSE(about.Visible());
    EXPECT_EQ(about.Caption(), SjisText("バージョン情報"));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(window->palette().color(QPalette::Window), face);
    EXPECT_EQ(window->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(window->font().pixelSize(), 12);
    EXPECT_EQ(QFontInfo(window->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(about.ActiveControl(), about.OKButton);

    const QFont name = about.Label1->Widget()->font();
    EXPECT_EQ(QTextDocumentFragment::fromHtml(Shown(about.Label1)).toPlainText(),
              QStringLiteral("Kelvane"));
    EXPECT_EQ(name.pixelSize(), 16);
    EXPECT_TRUE(name.bold());
    EXPECT_TRUE(name.italic());
    EXPECT_FALSE(name.underline());

    for (const TLabel* label :
         {static_cast<const TLabel*>(about.VersionInfoFileVersionLabel1),
          static_cast<const TLabel*>(about.VersionInfoLegalCopyrightLabel1)}) {
        EXPECT_FALSE(label->ShowAccelChar());
        EXPECT_EQ(label->Widget()->font(), window->font());
    }
    EXPECT_EQ(about.VersionInfoFileVersionLabel1->VersionInfo(), about.VersionInfo1);
    EXPECT_EQ(about.VersionInfoLegalCopyrightLabel1->VersionInfo(), about.VersionInfo1);
    EXPECT_TRUE(about.VersionInfo1->Enabled());
    EXPECT_EQ(about.VersionInfo1->FileName(), "");

    EXPECT_EQ(Ok()->text(), QStringLiteral("OK"));
    EXPECT_EQ(about.OKButton->ModalResult(), mrOk);
    EXPECT_FALSE(Ok()->isDefault());
    EXPECT_EQ(Ok()->font(), window->font());

    EXPECT_EQ(about.MyURL->Text(), Address);
    EXPECT_TRUE(Url()->isReadOnly());
    EXPECT_FALSE(Url()->hasFrame());
    EXPECT_EQ(Url()->palette().color(QPalette::Base), face);
    EXPECT_EQ(Url()->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_TRUE(Url()->font().underline());
    EXPECT_EQ(Url()->font().pixelSize(), 12);
    EXPECT_FALSE(Url()->font().bold());
    EXPECT_EQ(Url()->cursor().shape(), Qt::PointingHandCursor);
}

// This test program carries Kelvane's version data; the labels show its two strings as read from
// the file.
TEST_F(AboutWindowTest, LabelsShowTheVersionDataOfTheRunningProgram) {
    EXPECT_EQ(Shown(about.VersionInfoFileVersionLabel1), QStringLiteral("3.2.2.2"));
    EXPECT_EQ(Shown(about.VersionInfoLegalCopyrightLabel1), Copyright);
}

// The first showing is centred on the screen with the focus on OK; a second showing shows the
// same texts where the window was left, with the focus where it was left.
TEST_F(AboutWindowTest, SecondShowingKeepsThePlaceAndTheTexts) {
    QWidget* window = about.Widget();
    EXPECT_EQ(Showing([&] {
                  EXPECT_TRUE(window->isModal());
                  const QRect screen = window->screen()->availableGeometry();
                  const QPoint off = window->frameGeometry().center() - screen.center();
                  EXPECT_LE(off.manhattanLength(), 1) << off.x() << "," << off.y();
                  EXPECT_EQ(QApplication::focusWidget(), Ok());
                  window->move(25, 35); // as the user drags it
                  Key(Qt::Key_Tab);
                  window->close();
              }),
              mrCancel);
    EXPECT_EQ(Showing([&] {
                  EXPECT_EQ(window->pos(), QPoint(25, 35));
                  EXPECT_EQ(Shown(about.VersionInfoFileVersionLabel1), QStringLiteral("3.2.2.2"));
                  EXPECT_EQ(Shown(about.VersionInfoLegalCopyrightLabel1), Copyright);
                  EXPECT_EQ(QApplication::focusWidget(), Url());
                  ClickOk();
              }),
              mrOk);
}

// Only OK ends the showing (with 1), or the close box (with 2). Escape closes nothing; Enter
// presses OK only while OK has the focus.
TEST_F(AboutWindowTest, KeysAndTheCloseBox) {
    enum class Focus { Ok, Url };
    const struct {
        const char* name;
        Focus focus;
        std::function<void()> act;
        bool closes;
        TModalResult result;
    } cases[] = {
        {"Enter on OK", Focus::Ok, [] { Key(Qt::Key_Return); }, true, mrOk},
        {"keypad Enter on OK", Focus::Ok, [] { Key(Qt::Key_Enter, Qt::KeypadModifier); }, true,
         mrOk},
        {"space on OK", Focus::Ok, [] { Key(Qt::Key_Space); }, true, mrOk},
        {"click on OK", Focus::Url, [this] { ClickOk(); }, true, mrOk},
        {"close box", Focus::Ok, [this] { about.Widget()->close(); }, true, mrCancel},
        {"Escape on OK", Focus::Ok, [] { Key(Qt::Key_Escape); }, false, mrOk},
        {"Escape on the address", Focus::Url, [] { Key(Qt::Key_Escape); }, false, mrOk},
        {"Enter on the address", Focus::Url, [] { Key(Qt::Key_Return); }, false, mrOk},
        {"keypad Enter on the address", Focus::Url, [] { Key(Qt::Key_Enter, Qt::KeypadModifier); },
         false, mrOk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool openAfterKey = false;
        const TModalResult result = Showing([&] {
            QWidget* target = c.focus == Focus::Ok ? static_cast<QWidget*>(Ok()) : Url();
            target->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(QApplication::focusWidget(), target);
            c.act();
            QCoreApplication::processEvents();
            openAfterKey = about.Visible();
            if (openAfterKey) ClickOk();
        });
        EXPECT_EQ(openAfterKey, !c.closes);
        EXPECT_EQ(result, c.result);
    }
    EXPECT_TRUE(opened.empty());
}

TEST_F(AboutWindowTest, TabMovesBetweenOkAndTheAddress) {
    Showing([&] {
        EXPECT_EQ(QApplication::focusWidget(), Ok());
        for (QWidget* next : {static_cast<QWidget*>(Url()), static_cast<QWidget*>(Ok()),
                              static_cast<QWidget*>(Url())}) {
            Key(Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next);
        }
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), Ok());
        ClickOk();
    });
}

// The address can be selected and copied; typing, deleting, cutting and pasting change nothing.
TEST_F(AboutWindowTest, AddressCanBeCopiedButNotChanged) {
    Showing([&] {
        Key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Url());
        Key(Qt::Key_A, Qt::ControlModifier);
        Key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(Address));
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        Key(Qt::Key_X, Qt::ControlModifier);
        Key(Qt::Key_V, Qt::ControlModifier);
        Key(Qt::Key_Delete);
        Key(Qt::Key_Backspace);
        QTest::keyClicks(Url(), QStringLiteral("typed"));
        EXPECT_EQ(about.MyURL->Text(), Address);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("pasted"));
        ClickOk();
    });
    EXPECT_TRUE(opened.empty());
}

// Every click on the address hands it to the desktop, also one that only places the caret or
// that drags out a selection, and the window stays open. A press released elsewhere is no click,
// and a double click opens it once.
TEST_F(AboutWindowTest, EveryClickOnTheAddressOpensIt) {
    const struct {
        const char* name;
        std::function<void(QLineEdit*)> gesture;
        std::size_t opens;
    } cases[] = {
        {"click", [](QLineEdit* url) { QTest::mouseClick(url, Qt::LeftButton); }, 1},
        {"click placing the caret",
         [](QLineEdit* url) {
             QTest::mouseClick(url, Qt::LeftButton, {}, QPoint(30, 8));
             EXPECT_GT(url->cursorPosition(), 0);
             EXPECT_LT(url->cursorPosition(), url->text().size());
         },
         1},
        {"drag selecting",
         [](QLineEdit* url) {
             QTest::mousePress(url, Qt::LeftButton, {}, QPoint(3, 8));
             QTest::mouseMove(url, QPoint(60, 8));
             QTest::mouseMove(url, QPoint(120, 8));
             QTest::mouseRelease(url, Qt::LeftButton, {}, QPoint(120, 8));
             EXPECT_TRUE(url->hasSelectedText());
         },
         1},
        // Through the window, as the desktop delivers it: press, release, press, double click,
        // release.
        {"double click",
         [](QLineEdit* url) {
             QTest::mouseDClick(url->window()->windowHandle(), Qt::LeftButton, {},
                                url->mapTo(url->window(), QPoint(30, 8)));
             EXPECT_TRUE(url->hasSelectedText());
         },
         1},
        {"press released outside",
         [](QLineEdit* url) {
             QTest::mousePress(url, Qt::LeftButton, {}, QPoint(10, 8));
             QTest::mouseRelease(url, Qt::LeftButton, {}, QPoint(10, 40));
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        bool stayedOpen = false;
        const TModalResult result = Showing([&] {
            c.gesture(Url());
            QCoreApplication::processEvents();
            stayedOpen = about.Visible() && QApplication::activeModalWidget() == about.Widget();
            ClickOk();
        });
        EXPECT_EQ(opened, std::vector<std::string>(c.opens, Address));
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(result, mrOk);
    }
}

// The handler opens whatever text the clicked box holds, an empty one too; the window stays.
TEST_F(AboutWindowTest, HandlerOpensTheClickedBoxsText) {
    about.MyURL->SetText("");
    about.MyURLClick(about.MyURL);
    about.MyURL->SetText(SjisText("ファイル.txt"));
    about.MyURLClick(about.MyURL);
    EXPECT_EQ(opened, (std::vector<std::string>{"", SjisText("ファイル.txt")}));
}

TEST_F(AboutWindowTest, AWindowAlreadyShownCannotBeShownModally) {
    about.Show();
    EXPECT_THROW(about.ShowModal(), Exception);
    EXPECT_TRUE(about.Visible());
    EXPECT_FALSE(about.Widget()->isModal());
    about.Close();
}

// The main window's About command shows the window modally; its loop goes on receiving, so a
// lookup in progress keeps appending to the main window.
TEST_F(AboutWindowTest, AnswerArrivingWhileTheWindowIsOpenIsAppended) {
    LoopbackWhoisServer server("127.0.0.77");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{"first\n", "second\n"}, LoopbackWhoisServer::End::Silent});
    TKelvaneForm form;
    AboutForm = &about;
    form.ServerList->SetText("127.0.0.77");
    form.ToolButton11->Click();
    bool sawWhileOpen = false;
    const TModalResult result = Showing(
        [&] {
            sawWhileOpen = QTest::qWaitFor(
                [&] { return form.Info->Text().find("second") != std::string::npos; }, 5000);
            server.Finish({"third\n"});
            ClickOk();
        },
        [&] { form.VerInfoExecute(nullptr); });
    AboutForm = nullptr;
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(sawWhileOpen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Sb->SimpleText() == "Disconneted"; }, 5000));
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\nfirst\r\nsecond\r\nthird\r\n");
}

} // namespace

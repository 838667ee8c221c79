// The main window as the user meets it: its layout, the bands, the tooltips, and its own commands
// (Save As, the font change, Clear, Exit).

#include "Application.h"
#include "LoopbackWhoisServer.h"
#include "ModalDriver.h"
#include "SjisText.h"
#include "TempDir.h"
#include "Unit1.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Application->ErrorBoxHook = [this](const std::string& text, const std::string&) {
            boxes.push_back(text);
        };
    }
    void TearDown() override { Application->ErrorBoxHook = nullptr; }

    void ShowAndActivate() {
        form.Show();
        QApplication::setActiveWindow(form.Widget());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
    }
    // True when the keyboard focus is in `control` (a combo box passes it to its text field).
    static bool HasFocus(const TControl* control) {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == control->Widget() || control->Widget()->isAncestorOf(focus));
    }

    // Save As with the name put into the dialog's name field and Enter pressed; "" cancels, and
    // so does the user when the dialog stays open after Enter (declining to replace a file).
    void SaveAs(const std::string& typed) {
        WhenModal<QFileDialog>([typed](QFileDialog* dialog) {
            if (typed.empty()) return dialog->reject();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            // As the user picks a file in a folder, or types a whole path where there is no folder.
            const QString path = QString::fromStdString(typed);
            if (std::filesystem::is_directory(std::filesystem::path(typed).parent_path()))
                dialog->selectFile(path);
            else
                name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog->isVisible()) dialog->reject();
        });
        Application->Guard([&] { form.SaveFileAsExecute(nullptr); });
    }

    TKelvaneForm form;
    std::vector<std::string> boxes;
};

TEST_F(MainWindowTest, FreshStart) {
    ShowAndActivate();
    EXPECT_EQ(form.Caption(), "Kelvane ver3");
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\n");
    EXPECT_EQ(form.ServerList->Text(), "whois.jprs.jp");
    EXPECT_EQ(form.InputData->Text(), "");
    EXPECT_EQ(form.Sb->SimpleText(), "");
    EXPECT_TRUE(HasFocus(form.Info));
    // Tab goes round the text view, the server box and the query box.
    for (const TControl* next :
         {static_cast<const TControl*>(form.ServerList),
          static_cast<const TControl*>(form.InputData), static_cast<const TControl*>(form.Info)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(HasFocus(next));
    }
}

// Every control where the layout puts it: places within the parent's client area.
TEST_F(MainWindowTest, Geometry) {
    ShowAndActivate();
    const struct {
        const char* name;
        const TControl* control;
        int left, top, width, height;
    } cases[] = {
        {"ControlBar1", form.ControlBar1, 0, 0, 477, 56},
        {"Info", form.Info, 0, 56, 477, 256},
        {"Sb", form.Sb, 0, 312, 477, 20},
        {"ToolBar3", form.ToolBar3, 11, 2, 200, 22},
        {"ToolBar1", form.ToolBar1, 224, 2, 186, 22},
        {"InputData", form.InputData, 11, 28, 254, 22},
        {"ToolBar4", form.ToolBar4, 278, 28, 28, 22},
        {"ToolBar2", form.ToolBar2, 319, 28, 129, 22},
        {"ServerList", form.ServerList, 0, 1, 129, 20},
        {"ToolButton3", form.ToolButton3, 129, 0, 8, 22},
        {"ToolButton1", form.ToolButton1, 137, 0, 23, 22},
        {"ToolButton2", form.ToolButton2, 160, 0, 23, 22},
        {"ToolButton4", form.ToolButton4, 0, 0, 23, 22},
        {"ToolButton5", form.ToolButton5, 23, 0, 23, 22},
        {"ToolButton6", form.ToolButton6, 46, 0, 23, 22},
        {"ToolButton7", form.ToolButton7, 69, 0, 23, 22},
        {"ToolButton12", form.ToolButton12, 92, 0, 8, 22},
        {"ToolButton13", form.ToolButton13, 100, 0, 23, 22},
        {"ToolButton8", form.ToolButton8, 0, 0, 67, 20},
        {"ToolButton9", form.ToolButton9, 67, 0, 50, 20},
        {"ToolButton10", form.ToolButton10, 117, 0, 63, 20},
        {"ToolButton11", form.ToolButton11, 0, 0, 23, 22},
    };
    EXPECT_EQ(form.ClientWidth(), 477);
    EXPECT_EQ(form.ClientHeight(), 332);
    for (const auto& c : cases) {
        const QRect at = c.control->Widget()->geometry();
        EXPECT_EQ(at, QRect(c.left, c.top, c.width, c.height)) << c.name;
    }
}

// Drags a band by its grip to a point of the bar, with real mouse events.
void DragBand(TControlBar* bar, const TControl* band, QPoint to) {
    QWidget* grip = bar->Widget()->childAt(band->Left() - 5, band->Top() + 10);
    ASSERT_NE(grip, nullptr);
    ASSERT_NE(grip, band->Widget());
    const QPoint hold(3, 10);
    QTest::mousePress(grip, Qt::LeftButton, {}, hold);
    QTest::mouseMove(grip, grip->mapFrom(bar->Widget(), to - QPoint(band->Width() / 2, 0)));
    QTest::mouseMove(grip, grip->mapFrom(bar->Widget(), to));
    QTest::mouseRelease(grip, Qt::LeftButton, {}, grip->mapFrom(bar->Widget(), to));
}

TEST_F(MainWindowTest, BandsMoveBetweenRowsAndTheTextViewTakesTheRest) {
    ShowAndActivate();
    // The run button's band into the first row, after the server box's.
    DragBand(form.ControlBar1, form.ToolBar4, QPoint(425, 10));
    EXPECT_EQ(form.ControlBar1->RowOf(form.ToolBar4), 0);
    EXPECT_GE(form.ToolBar4->Left(), 224 + 186 + 2 + 11);
    EXPECT_EQ(form.ToolBar4->Top(), 2);
    EXPECT_EQ(form.ControlBar1->RowCount(), 2);

    // The two bands left in the second row join the first: one row remains.
    DragBand(form.ControlBar1, form.ToolBar2, QPoint(470, 10));
    DragBand(form.ControlBar1, form.InputData, QPoint(470, 10));
    EXPECT_EQ(form.ControlBar1->RowCount(), 1);
    QTest::qWait(20);
    EXPECT_EQ(form.ControlBar1->Height(), 30);
    EXPECT_EQ(form.Info->Top(), 30);
    EXPECT_EQ(form.Info->Height(), 332 - 30 - 20);

    // A band dragged below the last row starts a new one; none leaves the bar.
    DragBand(form.ControlBar1, form.ToolBar3, QPoint(40, 200));
    EXPECT_EQ(form.ControlBar1->RowCount(), 2);
    EXPECT_EQ(form.ControlBar1->RowOf(form.ToolBar3), 1);
    DragBand(form.ControlBar1, form.ToolBar1, QPoint(-300, 30));
    EXPECT_EQ(form.ToolBar1->Left(), 11);
    EXPECT_EQ(form.ToolBar1->Widget()->parentWidget(), form.ControlBar1->Widget());
}

TEST_F(MainWindowTest, TooltipsOnFiveControlsOnly) {
    const struct {
        const char* name;
        const TControl* control;
        const char* tip;
    } cases[] = {
        {"ToolButton1", form.ToolButton1, "サーバー追加"},
        {"ToolButton2", form.ToolButton2, "サーバー削除"},
        {"ToolButton11", form.ToolButton11, "実行"},
        {"ToolButton13", form.ToolButton13, "クリア"},
        {"InputData", form.InputData, "検索データ"},
        {"ToolButton4", form.ToolButton4, ""},
        {"ToolButton5", form.ToolButton5, ""},
        {"ToolButton6", form.ToolButton6, ""},
        {"ToolButton7", form.ToolButton7, ""},
        {"ToolButton8", form.ToolButton8, ""},
        {"ToolButton9", form.ToolButton9, ""},
        {"ToolButton10", form.ToolButton10, ""},
        {"ServerList", form.ServerList, ""},
        {"Info", form.Info, ""},
        {"Sb", form.Sb, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.control->Widget()->toolTip(), QString::fromUtf8(c.tip)) << c.name;
        if (*c.tip) {
            EXPECT_EQ(c.control->Widget()->toolTipDuration(), 2500) << c.name;
        }
    }
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);

    // Resting the mouse on the run button shows its tooltip.
    ShowAndActivate();
    QTest::mouseMove(form.ToolButton11->Widget(), QPoint(10, 10));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("実行"));
}

TEST_F(MainWindowTest, SaveAsWritesTheViewsBytes) {
    TempDir dir;
    form.Info->Lines->Add(SjisText("漢字") + "\x81\x20" + "\xFF");
    const std::string want = "Kelvane\r\n" + SjisText("漢字") + "\x81\x20\xFF\r\n";
    SaveAs(dir / "answer.txt");
    EXPECT_EQ(ReadBytes(dir / "answer.txt"), want);
    EXPECT_TRUE(boxes.empty());

    // Typed text stands as typed: no line break is added after it.
    auto* view = static_cast<QPlainTextEdit*>(form.Info->Widget());
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view, QStringLiteral("typed"));
    SaveAs(dir / "typed.txt");
    EXPECT_EQ(ReadBytes(dir / "typed.txt"), want + "typed");

    // After Clear the file is empty.
    form.ToolButton13->Click();
    SaveAs(dir / "empty.txt");
    EXPECT_TRUE(std::filesystem::exists(dir / "empty.txt"));
    EXPECT_EQ(ReadBytes(dir / "empty.txt"), "");
}

TEST_F(MainWindowTest, SaveAsRightAfterStartWritesNineBytes) {
    TempDir dir;
    SaveAs(dir / "start.txt");
    EXPECT_EQ(ReadBytes(dir / "start.txt"), "Kelvane\r\n");
}

TEST_F(MainWindowTest, SaveAsAddsTheDefaultExtensionAndPresetsTheName) {
    TempDir dir;
    SaveAs(dir / "noext");
    EXPECT_EQ(ReadBytes(dir / "noext.txt"), "Kelvane\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "noext"));
    EXPECT_EQ(form.SD->FileName, dir / "noext.txt");

    QString preset;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        preset = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    form.SaveFileAsExecute(nullptr);
    EXPECT_EQ(preset.toStdString(), dir / "noext.txt");
}

TEST_F(MainWindowTest, SaveAsAsksBeforeReplacingAFile) {
    TempDir dir;
    WriteBytes(dir / "old.txt", "old");
    QString question;
    auto answer = [&](QMessageBox::StandardButton button) {
        WhenModal<QMessageBox>([&question, button](QMessageBox* box) {
            question = box->text();
            box->button(button)->click();
        });
    };
    answer(QMessageBox::No);
    SaveAs(dir / "old.txt");
    EXPECT_EQ(ReadBytes(dir / "old.txt"), "old");
    EXPECT_TRUE(question.contains(QStringLiteral("old.txt")));
    EXPECT_FALSE(question.contains(QStringLiteral("exist"))); // asked in Japanese

    answer(QMessageBox::Yes);
    SaveAs(dir / "old.txt");
    EXPECT_EQ(ReadBytes(dir / "old.txt"), "Kelvane\r\n");
}

TEST_F(MainWindowTest, CancelledSaveAsWritesNothingAndSaysNothing) {
    TempDir dir;
    SaveAs("");
    EXPECT_EQ(dir.EntryCount(), 0u);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(form.SD->FileName.empty());
}

TEST_F(MainWindowTest, SaveAsFailuresShowTheErrorAndKeepTheOldFile) {
    TempDir dir;
    const std::string missing = dir / "no/such/folder/a.txt";
    SaveAs(missing);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], SjisText("ファイル " + missing + " を作成できません."));

    // A write that stops short (a file-size limit) leaves the old file whole and no temporary
    // file behind.
    WriteBytes(dir / "big.txt", "old");
    form.Info->SetText(std::string(64 * 1024, 'x'));
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    SaveAs(dir / "big.txt");
    setrlimit(RLIMIT_FSIZE, &before);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], SjisText("ストリームへの書き込みエラー."));
    EXPECT_EQ(ReadBytes(dir / "big.txt"), "old");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

// The font dialog's embedded chooser and colour box, as the user sets them, then OK or Cancel.
void ChooseFont(const QFont& font, const char* color, bool ok, QFont* preset = nullptr) {
    WhenModal<QDialog>([=](QDialog* dialog) {
        auto* chooser = dialog->findChild<QFontDialog*>();
        auto* colors = dialog->findChild<QComboBox*>();
        ASSERT_NE(chooser, nullptr);
        ASSERT_NE(colors, nullptr);
        if (preset) *preset = chooser->currentFont();
        chooser->setCurrentFont(font);
        colors->setCurrentIndex(colors->findText(QString::fromUtf8(color)));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
}

TEST_F(MainWindowTest, FontChangeTouchesOnlyTheTextViewAndIsRemembered) {
    const TFont windowFont = form.Font();
    EXPECT_EQ(form.Info->Font().Name, SjisText("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form.Info->Font().Height, -12);

    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPointSize(12);
    chosen.setStyleName(QStringLiteral("Bold")); // as picked from the chooser's list of styles
    chosen.setUnderline(true);
    ChooseFont(chosen, "赤", true);
    form.F1Click(nullptr);
    const TFont font = form.Info->Font();
    EXPECT_EQ(font.Name, "DejaVu Sans");
    EXPECT_EQ(font.Height, -16);
    EXPECT_TRUE(font.Style.Has(TFontStyle::Bold));
    EXPECT_TRUE(font.Style.Has(TFontStyle::Underline));
    EXPECT_FALSE(font.Style.Has(TFontStyle::Italic));
    EXPECT_EQ(font.Color, clRed);
    EXPECT_EQ(font.Charset, DEFAULT_CHARSET); // a face without Japanese
    EXPECT_EQ(form.Info->Widget()->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(form.Info->Widget()->font().pixelSize(), 16);
    EXPECT_EQ(form.InputData->Font(), windowFont);
    EXPECT_EQ(form.InputData->Widget()->font().pixelSize(), 12);

    // The next dialog opens with the last chosen font; cancelling it changes nothing.
    QFont preset;
    QFont other(QStringLiteral("IPAPGothic"));
    other.setPointSize(20);
    ChooseFont(other, "青", false, &preset);
    form.F1Click(nullptr);
    EXPECT_EQ(preset.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(preset.pointSize(), 12);
    EXPECT_TRUE(preset.bold());
    EXPECT_EQ(form.Info->Font(), font);
    EXPECT_EQ(form.FD->Font, font);
}

// Esc in the chooser's own fields cancels the whole dialog, as its Cancel button does.
TEST_F(MainWindowTest, EscapeInTheFontDialogCancelsIt) {
    const TFont before = form.Info->Font();
    bool closed = false;
    WhenModal<QDialog>([&](QDialog* dialog) {
        auto* chooser = dialog->findChild<QFontDialog*>();
        QFont other(QStringLiteral("DejaVu Sans"));
        other.setPointSize(20);
        chooser->setCurrentFont(other);
        QTest::keyClick(chooser->findChild<QLineEdit*>(), Qt::Key_Escape);
        closed = !dialog->isVisible();
        if (!closed) dialog->reject();
    });
    form.F1Click(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(form.Info->Font(), before);
}

TEST_F(MainWindowTest, ClearEmptiesOnlyTheTextView) {
    form.InputData->SetText("q");
    form.Sb->SetSimpleText("s");
    form.ToolButton13->Click();
    EXPECT_EQ(form.Info->Text(), "");
    EXPECT_EQ(form.InputData->Text(), "q");
    EXPECT_EQ(form.Sb->SimpleText(), "s");
    EXPECT_EQ(form.ServerList->Text(), "whois.jprs.jp");
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
    ShowAndActivate();
    form.ExitExecute(nullptr);
    EXPECT_FALSE(form.Visible());
}

// The dialogs run their own event loops: a lookup goes on meanwhile.
TEST_F(MainWindowTest, AnswerArrivingWhileADialogIsOpenIsAppended) {
    LoopbackWhoisServer server("127.0.0.31");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{"first\n", "second\n"}, LoopbackWhoisServer::End::Silent});
    form.ServerList->SetText("127.0.0.31");
    form.ToolButton11->Click();
    bool sawWhileOpen = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        sawWhileOpen = QTest::qWaitFor(
            [&] { return form.Info->Text().find("second") != std::string::npos; }, 5000);
        server.Finish({"third\n"});
        dialog->reject();
    });
    form.SaveFileAsExecute(nullptr);
    EXPECT_TRUE(sawWhileOpen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Sb->SimpleText() == "Disconneted"; }, 5000));
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\nfirst\r\nsecond\r\nthird\r\n");
}

} // namespace

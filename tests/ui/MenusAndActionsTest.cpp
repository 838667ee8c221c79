// The menus that drop from the tool bar, the edit actions with their shortcuts and enabled
// states, and the buttons and entries that show them.

#include "Application.h"
#include "ModalDriver.h"
#include "ShortCut.h"
#include "SjisText.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyCombination>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TEST(ShortCuts, KeysAndMenuTexts) {
    const struct {
        TShortCut shortCut;
        QKeyCombination key;
        const char* text;
    } cases[] = {
        {16451, QKeyCombination(Qt::ControlModifier, Qt::Key_C), "Ctrl+C"},
        {16472, QKeyCombination(Qt::ControlModifier, Qt::Key_X), "Ctrl+X"},
        {16470, QKeyCombination(Qt::ControlModifier, Qt::Key_V), "Ctrl+V"},
        {46, QKeyCombination(Qt::Key_Delete), "Del"},
        {32776, QKeyCombination(Qt::AltModifier, Qt::Key_Backspace), "Alt+BkSp"},
        {0x2000 | 0x70, QKeyCombination(Qt::ShiftModifier, Qt::Key_F1), "Shift+F1"},
        {0x6000 | '5', QKeyCombination(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_5),
         "Shift+Ctrl+5"},
        {0, QKeyCombination(), ""},
        {0x4000 | 0xE7, QKeyCombination(), ""}, // a key without a name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortCutToKey(c.shortCut), c.key) << c.shortCut;
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text) << c.shortCut;
    }
}

class MenusTest : public testing::Test {
  protected:
    void SetUp() override {
        form.Show();
        QApplication::setActiveWindow(form.Widget());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
        view = static_cast<QPlainTextEdit*>(form.Info->Widget());
        query = static_cast<QLineEdit*>(form.InputData->Widget());
        server = static_cast<QComboBox*>(form.ServerList->Widget())->lineEdit();
    }

    static QWidget* Focus() { return QApplication::focusWidget(); }
    static QString Clipboard() { return QApplication::clipboard()->text(); }
    // Lets the program go idle (its event loop waits for events), when the actions work out their
    // enabled states.
    static void Idle() {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // The texts of a menu's entries ("-" for a separator), with the shortcut after a tab.
    static QStringList Entries(const QMenu* menu) {
        QStringList texts;
        for (const QAction* entry : menu->actions())
            texts << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        return texts;
    }

    // Opens a menu with `open`, notes which one dropped down and where, and closes it.
    struct Dropped {
        QWidget* menu = nullptr;
        QPoint at;
    };
    Dropped DropWith(const std::function<void()>& open) {
        Dropped dropped;
        WhenPopup([&](QWidget* popup) {
            dropped = {popup, popup->pos()};
            QTest::keyClick(popup, Qt::Key_Escape);
        });
        open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dropped.menu != nullptr; }, 5000));
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, 2000));
        // The offscreen platform leaves no window active after a pop-up; a desktop gives the
        // activation back to the window the menu came from.
        QApplication::setActiveWindow(form.Widget());
        return dropped;
    }
    static QPoint BelowLeft(const TToolButton* button) {
        return button->Widget()->mapToGlobal(QPoint(0, button->Height()));
    }

    TKelvaneForm form;
    QPlainTextEdit* view = nullptr;
    QLineEdit* query = nullptr;
    QLineEdit* server = nullptr;
};

TEST_F(MenusTest, EntriesShowCaptionsShortcutsAndPictures) {
    EXPECT_EQ(Entries(form.File1->Menu()),
              (QStringList{"名前をつけて保存(&A)", "-", "終了(&X)"}));
    EXPECT_EQ(Entries(form.Edit1->Menu()),
              (QStringList{"切り取り(&T)\tCtrl+X", "コピー(&C)\tCtrl+C", "貼り付け(&P)\tCtrl+V",
                           "削除(&D)\tDel", "すべてを選択(&A)", "-", "フォント変更(&F)"}));
    EXPECT_EQ(Entries(form.Help1->Menu()), (QStringList{"バージョン情報"}));
    const QList<QAction*> edit = form.Edit1->Menu()->actions();
    for (int i : {0, 1, 2, 3})
        EXPECT_FALSE(edit[i]->icon().isNull()) << i;
    for (int i : {4, 6})
        EXPECT_TRUE(edit[i]->icon().isNull()) << i;
    // The buttons bound to actions show the actions' pictures: cut, copy, paste, delete.
    const QToolButton* cut = static_cast<QToolButton*>(form.ToolButton4->Widget());
    EXPECT_EQ(cut->icon().pixmap(16).toImage(), form.ALIL->Icon(1).pixmap(16).toImage());
    EXPECT_EQ(form.ToolButton7->ImageIndex(), 2);
}

TEST_F(MenusTest, EachMenuDropsBelowItsButtonByClickAndByAltLetter) {
    const struct {
        const char* name;
        TToolButton* button;
        TMenuItem* item;
        Qt::Key letter;
    } cases[] = {
        {"File", form.ToolButton8, form.File1, Qt::Key_F},
        {"Edit", form.ToolButton9, form.Edit1, Qt::Key_E},
        {"Help", form.ToolButton10, form.Help1, Qt::Key_H},
    };
    for (const auto& c : cases) {
        Dropped clicked = DropWith([&] { QTest::mouseClick(c.button->Widget(), Qt::LeftButton); });
        EXPECT_EQ(clicked.menu, c.item->Menu()) << c.name;
        EXPECT_EQ(clicked.at, BelowLeft(c.button)) << c.name;
        Dropped keyed = DropWith([&] { QTest::keyClick(Focus(), c.letter, Qt::AltModifier); });
        EXPECT_EQ(keyed.menu, c.item->Menu()) << c.name;
        EXPECT_EQ(keyed.at, BelowLeft(c.button)) << c.name;
        EXPECT_TRUE(view->hasFocus()) << c.name; // the menu gave the focus back
    }
}

TEST_F(MenusTest, AltAloneEntersKeyboardMenuMode) {
    QTest::keyClick(Focus(), Qt::Key_Alt);
    EXPECT_EQ(form.ToolBar3->Highlighted(), 0);
    QTest::keyClick(Focus(), Qt::Key_Right);
    EXPECT_EQ(form.ToolBar3->Highlighted(), 1);
    Dropped edit = DropWith([&] { QTest::keyClick(Focus(), Qt::Key_Return); });
    EXPECT_EQ(edit.menu, form.Edit1->Menu());
    EXPECT_EQ(form.ToolBar3->Highlighted(), -1);

    QTest::keyClick(Focus(), Qt::Key_Alt);
    Dropped down = DropWith([&] { QTest::keyClick(Focus(), Qt::Key_Down); });
    EXPECT_EQ(down.menu, form.File1->Menu());

    QTest::keyClick(Focus(), Qt::Key_Alt);
    Dropped help = DropWith([&] { QTest::keyClick(Focus(), Qt::Key_H); });
    EXPECT_EQ(help.menu, form.Help1->Menu());

    // Esc and Alt leave the mode; the keys then reach the focused control again.
    QTest::keyClick(Focus(), Qt::Key_Alt);
    QTest::keyClick(Focus(), Qt::Key_Escape);
    EXPECT_EQ(form.ToolBar3->Highlighted(), -1);
    QTest::keyClick(Focus(), Qt::Key_Alt);
    QTest::keyClick(Focus(), Qt::Key_Alt);
    EXPECT_EQ(form.ToolBar3->Highlighted(), -1);
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(Focus(), QStringLiteral("ok"));
    EXPECT_TRUE(view->toPlainText().endsWith(QStringLiteral("ok")));
}

TEST_F(MenusTest, LeftAndRightDoNotSwitchMenus) {
    QWidget* stillOpen = nullptr;
    WhenPopup([&](QWidget* popup) {
        QTest::keyClick(popup, Qt::Key_Right);
        QTest::keyClick(popup, Qt::Key_Left);
        stillOpen = QApplication::activePopupWidget();
        QTest::keyClick(popup, Qt::Key_Escape);
    });
    form.ToolButton9->Click();
    EXPECT_EQ(stillOpen, form.Edit1->Menu());
}

// Which edit commands can run, with the focus in each control, with and without a selection and
// with and without text on the clipboard; the buttons and the menu entries show the same.
TEST_F(MenusTest, EnabledStates) {
    const struct {
        const char* name;
        int control; // 0 text view, 1 query box, 2 server box
        bool selection, clipboard;
        bool cut, copy, paste, del, selectAll, undo;
    } cases[] = {
        {"view, nothing", 0, false, false, false, false, false, false, true, false},
        {"view, selection", 0, true, false, true, true, false, true, true, false},
        {"view, clipboard", 0, false, true, false, false, true, false, true, false},
        {"query, nothing", 1, false, false, false, false, false, false, true, true},
        {"query, selection, clipboard", 1, true, true, true, true, true, true, true, true},
        {"server box", 2, true, true, false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        QApplication::clipboard()->setText(c.clipboard ? QStringLiteral("clip") : QString());
        query->clear();
        QTest::keyClicks(query, QStringLiteral("typed"));
        QWidget* target = c.control == 0 ? static_cast<QWidget*>(view)
                          : c.control == 1 ? static_cast<QWidget*>(query)
                                           : static_cast<QWidget*>(server);
        target->setFocus();
        if (c.control == 0) {
            QTextCursor cursor = view->textCursor();
            cursor.setPosition(0);
            if (c.selection) cursor.setPosition(3, QTextCursor::KeepAnchor);
            view->setTextCursor(cursor);
        } else if (c.control == 1) {
            c.selection ? query->selectAll() : query->deselect();
        } else {
            server->selectAll();
        }
        Idle();
        const std::pair<TAction*, bool> want[] = {
            {form.EditCut1, c.cut},      {form.EditCopy1, c.copy},
            {form.EditPaste1, c.paste},  {form.EditDelete1, c.del},
            {form.EditSelectAll1, c.selectAll}, {form.EditUndo1, c.undo},
        };
        for (const auto& [action, enabled] : want)
            EXPECT_EQ(action->Enabled(), enabled) << c.name << " " << action->Caption();
        EXPECT_EQ(form.ToolButton4->Enabled(), c.cut) << c.name;
        EXPECT_EQ(form.ToolButton5->Enabled(), c.copy) << c.name;
        EXPECT_EQ(form.ToolButton6->Enabled(), c.paste) << c.name;
        EXPECT_EQ(form.ToolButton7->Enabled(), c.del) << c.name;
        const QList<QAction*> entries = form.Edit1->Menu()->actions();
        EXPECT_EQ(entries[0]->isEnabled(), c.cut) << c.name;
        EXPECT_EQ(entries[4]->isEnabled(), c.selectAll) << c.name;
    }
}

TEST_F(MenusTest, ShortcutsActOnTheFocusedEditControl) {
    query->setFocus();
    QTest::keyClicks(query, QStringLiteral("abc"));
    query->selectAll();
    QTest::keyClick(query, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("abc"));
    EXPECT_EQ(query->text(), QString());
    QTest::keyClick(query, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(query, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(query->text(), QStringLiteral("abcabc"));
    query->setSelection(0, 3);
    QTest::keyClick(query, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(query, Qt::Key_Delete);
    EXPECT_EQ(query->text(), QStringLiteral("abc"));
    EXPECT_EQ(Clipboard(), QStringLiteral("abc"));
    // Without a selection Delete is disabled: the key deletes the character after the caret.
    query->setCursorPosition(0);
    QTest::keyClick(query, Qt::Key_Delete);
    EXPECT_EQ(query->text(), QStringLiteral("bc"));

    // In the text view the same keys work on its selection.
    view->setFocus();
    QTextCursor cursor = view->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    view->setTextCursor(cursor);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("Kel"));
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(form.Info->Text(), "vane\r\n");
}

// The server box is no target of the edit actions: its own text field takes the keys.
TEST_F(MenusTest, ServerBoxKeepsItsOwnClipboardKeys) {
    server->setFocus();
    server->selectAll();
    QTest::keyClick(server, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("whois.jprs.jp"));
    QTest::keyClick(server, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form.ServerList->Text(), "");
    QTest::keyClick(server, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.ServerList->Text(), "whois.jprs.jp");
    server->setSelection(0, 6);
    QTest::keyClick(server, Qt::Key_Delete);
    EXPECT_EQ(form.ServerList->Text(), "jprs.jp");
}

TEST_F(MenusTest, AltBackspaceUndoesTypingButNoAppendedLine) {
    view->setFocus();
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view, QStringLiteral("xyz"));
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\nxyz");
    QTest::keyClick(view, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\n");

    QTest::keyClicks(view, QStringLiteral("typed"));
    form.Info->Lines->Add("answer");
    Idle();
    EXPECT_FALSE(form.EditUndo1->Enabled());
    QTest::keyClick(view, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\ntyped\r\nanswer");
}

TEST_F(MenusTest, EntriesRunTheirCommandsOnTheControlThatHadTheFocus) {
    // Edit > Select all, then Edit > Copy, chosen from the dropped menu.
    view->setFocus();
    auto choose = [&](TToolButton* button, int entry) {
        WhenPopup([entry](QWidget* popup) {
            auto* menu = static_cast<QMenu*>(popup);
            menu->setActiveAction(menu->actions()[entry]);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        button->Click();
        QApplication::setActiveWindow(form.Widget()); // as a desktop does when the menu closes
    };
    choose(form.ToolButton9, 4);
    choose(form.ToolButton9, 1);
    EXPECT_EQ(Clipboard(), QStringLiteral("Kelvane\n"));
    EXPECT_TRUE(view->hasFocus());

    // File > Save As opens the save dialog; the cut button cuts the view's selection.
    bool saveDialog = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        saveDialog = true;
        dialog->reject();
    });
    choose(form.ToolButton8, 0);
    EXPECT_TRUE(saveDialog);
    QApplication::setActiveWindow(form.Widget()); // as a desktop does when the dialog closes
    Idle();
    QTest::mouseClick(form.ToolButton4->Widget(), Qt::LeftButton);
    EXPECT_EQ(form.Info->Text(), "");

    // Help > About shows the About window modally.
    TAboutForm about;
    AboutForm = &about;
    bool aboutShown = false;
    WhenFound([] { return QApplication::activeModalWidget(); },
              [&](QWidget* window) {
                  aboutShown = window == about.Widget();
                  about.Close();
              });
    choose(form.ToolButton10, 0);
    AboutForm = nullptr;
    EXPECT_TRUE(aboutShown);

    // File > Exit closes the window.
    choose(form.ToolButton8, 2);
    EXPECT_FALSE(form.Visible());
}

} // namespace

// Requesters answered by a timer, and the Escape state around them.

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include "qt_fixture.h"

namespace fontarel::test {
namespace {

using Requesters = QtToolkitTest;

TEST_F(Requesters, ColourChooserOpensBlackAndReturnsTheColourValue) {
    QColor opened;
    ModalAnswerer pick([&](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        opened = dialog->currentColor();
        dialog->setCurrentColor(QColor(1, 2, 3));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(tk.choose_colour(), rgb(1, 2, 3));
    EXPECT_EQ(opened, QColor(0, 0, 0));
}

TEST_F(Requesters, CancelledColourChooserGivesMinusOne) {
    ModalAnswerer cancel([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(tk.choose_colour(), -1);
}

TEST_F(Requesters, PaletteChooserGivesTheSwatchClickedOrTheFocusedOneOnReturnAndItsCheck) {
    const std::vector<Colour> colours(16, rgb(10, 20, 30));
    // What the user does in the chooser, opened on entry 3, and the entry it gives.
    const auto swatch = [](QWidget* dialog, const char* number) {
        for (auto* b : dialog->findChildren<QPushButton*>())
            if (b->text() == number)
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    const auto toggle = [](QWidget* d) {
        auto* box = d->findChild<QCheckBox*>(); // a click on its tick box, at its left end
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    };
    const struct {
        std::function<void(QWidget*)> act;
        int gives;
        bool with_check, check_after; // a "Flash" box that opens unticked; its state after
    } cases[] = {
        {[&](QWidget* d) { QTest::mouseClick(swatch(d, "5"), Qt::LeftButton); }, 5, false, false},
        {[](QWidget* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }, 3, false, false},
        {[](QWidget* d) {
             QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
             QTest::keyClick(d->focusWidget(), Qt::Key_Return);
         },
         4, false, false},
        {[](QWidget* d) { static_cast<QDialog*>(d)->reject(); }, -1, false, false},
        {[&](QWidget* d) {
             toggle(d);
             QTest::mouseClick(swatch(d, "5"), Qt::LeftButton);
         },
         5, true, true},
        {[&](QWidget* d) {
             toggle(d);
             static_cast<QDialog*>(d)->reject();
         },
         -1, true, false},
    };
    for (const auto& c : cases) {
        bool opened_on_3 = false, has_box = false;
        ModalAnswerer answer([&](QWidget* d) {
            opened_on_3 = d->focusWidget() == swatch(d, "3");
            auto* box = d->findChild<QCheckBox*>();
            has_box = box && box->text() == "Flash" && !box->isChecked();
            c.act(d);
        });
        PaletteCheck check{"Flash", false};
        EXPECT_EQ(tk.choose_palette_entry("Pen colour", colours, 3, c.with_check ? &check : nullptr),
                  c.gives);
        EXPECT_TRUE(opened_on_3) << c.gives;
        EXPECT_EQ(has_box, c.with_check) << c.gives;
        EXPECT_EQ(check.on, c.check_after) << c.gives;
    }
}

TEST_F(Requesters, ListGivesTheRowChosenByKeysOrDoubleClickAndMinusOneOnCancel) {
    const std::vector<std::string> rows = {"12:04  C64 40x25, level 64x32",
                                           "09:30  Mono 40x24, level 16x16", "yesterday"};
    const struct {
        std::function<void(QListWidget*)> act;
        int gives;
    } cases[] = {
        {[](QListWidget* l) { QTest::keyClick(l, Qt::Key_Return); }, 0},
        {[](QListWidget* l) {
             QTest::keyClick(l, Qt::Key_Down);
             QTest::keyClick(l, Qt::Key_Down);
             QTest::keyClick(l, Qt::Key_Return);
         },
         2},
        {[](QListWidget* l) {
             const QRect r = l->visualItemRect(l->item(1));
             // A double click as the platform gives it: a click, then the second press.
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
             QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
         },
         1},
        {[](QListWidget* l) { QTest::keyClick(l, Qt::Key_Escape); }, -1},
    };
    for (const auto& c : cases) {
        QStringList shown;
        ModalAnswerer answer([&](QWidget* d) {
            auto* list = d->findChild<QListWidget*>();
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i)
                shown << list->item(i)->text();
            c.act(list);
            if (d->isVisible()) // a key that did not end it: end it as unanswered
                static_cast<QDialog*>(d)->reject();
        });
        EXPECT_EQ(tk.choose_from_list("Recover last session", "Which run?", rows), c.gives);
        EXPECT_EQ(shown.size(), 3);
        EXPECT_EQ(shown.value(0), "12:04  C64 40x25, level 64x32");
    }
    EXPECT_EQ(tk.choose_from_list("t", "l", {}), -1) << "nothing to choose";
}

TEST_F(Requesters, OpenStartsInTheFolderWithTheNameAndEntryAndAcceptsAMissingFile) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    QString shown_folder, shown_filter;
    ModalAnswerer confirm([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown_folder = dialog->directory().absolutePath();
        shown_filter = dialog->selectedNameFilter();
        static_cast<QDialog*>(dialog)->accept(); // with the proposed name, which does not exist
    });
    const std::string path =
        tk.choose_open_file("Please choose file to load", folder + "charmap.map",
                            "Font (*.fnt)|*.fnt|Character map (*.map)|*.map", 1);
    EXPECT_EQ(path, folder + "charmap.map");
    EXPECT_EQ(tk.chosen_pattern(), 1);
    EXPECT_EQ(shown_folder, dir.path());
    EXPECT_EQ(shown_filter, "Character map (*.map)");
}

TEST_F(Requesters, CancelGivesEmptyTextAndEntryMinusOne) {
    ModalAnswerer confirm([](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        dialog->selectNameFilter(dialog->nameFilters().at(0));
        static_cast<QDialog*>(dialog)->accept();
    });
    tk.choose_open_file("t", QDir::tempPath().toStdString() + "/x.fnt",
                        "Font (*.fnt)|*.fnt|Character map (*.map)|*.map", 1);
    EXPECT_EQ(tk.chosen_pattern(), 0);
    ModalAnswerer cancel([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(
        tk.choose_open_file("t", QDir::tempPath().toStdString() + "/", "Font (*.fnt)|*.fnt", 0),
        "");
    EXPECT_EQ(tk.chosen_pattern(), -1);
}

TEST_F(Requesters, SaveWithALabelOnlyListReplacesWithoutAsking) {
    QTemporaryDir dir;
    const std::string existing = dir.path().toStdString() + "/old.bmp";
    QFile file(QString::fromStdString(existing));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ModalAnswerer confirm([](QWidget* w) {
        if (auto* dialog = qobject_cast<QFileDialog*>(w))
            static_cast<QDialog*>(dialog)->accept();
        else
            static_cast<QDialog*>(w)->reject(); // a question would land here
    });
    EXPECT_EQ(tk.choose_save_file("Please choose file to save", existing, ".bmp", 0), existing);
    EXPECT_EQ(tk.chosen_pattern(), 0);
    EXPECT_EQ(confirm.count(), 1);
}

TEST_F(Requesters, EscapeCountsOnlyInTheProgramsOwnWindows) {
    ASSERT_NE(tk.create_canvas(0, 0, 0, 50, 50, kCanvasFocusable), 0);
    QWidget* canvas = tk.control_widget(0);
    QTest::keyPress(canvas, Qt::Key_Escape);
    EXPECT_TRUE(tk.escape_down());
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(canvas, &repeat);
    EXPECT_TRUE(tk.escape_down()); // still held
    QTest::keyRelease(canvas, Qt::Key_Escape);
    EXPECT_FALSE(tk.escape_down());

    // An Escape that closes the message box is the box's, even with its release never seen.
    bool down_in_box = true;
    ModalAnswerer escape([&](QWidget* w) {
        QTest::keyPress(w, Qt::Key_Escape);
        down_in_box = tk.escape_down();
    });
    tk.message_box("Read error", "/tmp/x.fnt");
    EXPECT_EQ(escape.count(), 1);
    EXPECT_FALSE(down_in_box);
    EXPECT_FALSE(tk.escape_down());
}

TEST_F(Requesters, EscapeThatClosesAPopupMenuDoesNotCount) {
    ASSERT_NE(tk.create_popup_menu(3), 0);
    tk.menu_item(41, "Insert char");
    bool down_in_menu = true;
    ModalAnswerer escape([&](QWidget* w) {
        QTest::keyPress(w, Qt::Key_Escape);
        down_in_menu = tk.escape_down();
    });
    tk.show_popup_menu(3, 0);
    EXPECT_EQ(escape.count(), 1);
    EXPECT_FALSE(down_in_menu);
    EXPECT_FALSE(tk.escape_down());
    for (const Event& e : take_events(tk))
        EXPECT_NE(e.code, kEventMenu);
}

} // namespace
} // namespace fontarel::test

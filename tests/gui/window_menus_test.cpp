#include <gtest/gtest.h>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>

#include <initializer_list>

#include "base/path_text.h"
#include "commands/opened_file.h"
#include "gui/menu_texts.h"
#include "gui/view_status.h"
#include "main_window_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::MainWindowTest;
namespace fs = std::filesystem;

QString plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

class WindowMenus : public MainWindowTest {
protected:
    // The item at the end of a path of menu captions, "&" left out.
    QAction* item(std::initializer_list<QString> path) {
        QList<QAction*> actions = window->menuBar()->actions();
        QAction* found = nullptr;
        for (const QString& name : path) {
            found = nullptr;
            for (QAction* action : actions) {
                if (plain(action->text()) == name) {
                    found = action;
                }
            }
            if (found == nullptr) {
                return nullptr;
            }
            actions = found->menu() != nullptr ? found->menu()->actions() : QList<QAction*>{};
        }
        return found;
    }

    void write_data_files() {
        std::vector<std::uint8_t> palette(1024);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            palette[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : i / 4);
        }
        testing::write_bytes(root / "land_pal.dat", palette);
        testing::write_bytes(root / "bigf_land.dat", std::vector<std::uint8_t>(294912, 14));
        testing::write_bytes(root / "cliff_land.dat", std::vector<std::uint8_t>(8192, 3));
    }
};

TEST_F(WindowMenus, EachFileMenuItemAsksAsItsButtonDoes) {
    open_window();
    const std::pair<const char*, const char*> groups[] = {
        {"Palette", "import_from_pal"},          {"Palette", "save_pal_to_bitmap"},
        {"Palette", "save_to_pal"},              {"Palette", "import_pal_from_bitmap"},
        {"cliff", "import_from_ciff"},           {"cliff", "cliff_save_to_bitmap"},
        {"bigf", "import_from_bigf"},            {"bigf", "save_bigf_to_bitmap"},
        {"bigf", "save_to_bigf"},                {"bigf", "import_bigf_from_bitmap"},
        {"cliff", "import_cliff_from_bitmap"},   {"cliff", "save_to_cliff"},
        {"Palette", "import_palette"},           {"Palette", "export_palette"},
        {"bigf", "save_bigf_to_indexed_bitmap"}, {"cliff", "save_cliff_to_indexed_bitmap"},
    };
    for (const auto& [group, name] : groups) {
        QAction* action = item({"File", group, QString::fromLatin1(name) + "..."});
        ASSERT_NE(action, nullptr) << name;
        chooser->requests.clear();
        action->trigger();
        ASSERT_EQ(chooser->requests.size(), 1u) << name;
        const FileRequest by_menu = chooser->requests[0];
        if (button(name) != nullptr) {
            click(name);
            ASSERT_EQ(chooser->requests.size(), 1u) << name;
            EXPECT_EQ(by_menu.filter, chooser->requests[0].filter) << name;
            EXPECT_EQ(by_menu.kind, chooser->requests[0].kind) << name;
        }
    }
    item({"File", "cliff", "build_cliff"})->trigger();
    EXPECT_TRUE(window->editor().unsaved_changes().changed(DataPart::cliff));
    EXPECT_EQ(boxes.shown(), 0);
}

TEST_F(WindowMenus, EveryMenuAndItemHasItsOwnAltLetter) {
    open_window();
    const auto check = [](const QList<QAction*>& actions, const auto& self) -> void {
        QSet<QChar> letters;
        for (const QAction* action : actions) {
            if (action->isSeparator() || !action->isEnabled()) {
                continue;
            }
            const qsizetype at = action->text().indexOf(QLatin1Char('&'));
            ASSERT_GE(at, 0) << action->text().toStdString();
            const QChar letter = action->text()[at + 1].toLower();
            EXPECT_FALSE(letters.contains(letter)) << action->text().toStdString();
            letters.insert(letter);
            if (action->menu() != nullptr) {
                self(action->menu()->actions(), self);
            }
        }
    };
    check(window->menuBar()->actions(), check);
    EXPECT_EQ(item({"File", "Save all"})->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(item({"File", "Quit"})->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST_F(WindowMenus, SaveAllWritesExactlyTheChangedPartsToTheirFiles) {
    write_data_files();
    open_window();
    window->open_files({root / "land_pal.dat", root / "bigf_land.dat", root / "cliff_land.dat"});
    EXPECT_EQ(window->files_status_text(),
              "palette: land_pal.dat   bigf: bigf_land.dat   cliff: cliff_land.dat");
    click("build_cliff");
    EXPECT_EQ(window->files_status_text(),
              "palette: land_pal.dat   bigf: bigf_land.dat   cliff: cliff_land.dat*");
    fs::remove(root / "bigf_land.dat");
    fs::remove(root / "land_pal.dat");
    chooser->requests.clear();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
    // Only the cliff was changed: it alone is written, over its own file, without a dialog.
    EXPECT_TRUE(chooser->requests.empty());
    EXPECT_FALSE(fs::exists(root / "bigf_land.dat"));
    EXPECT_FALSE(fs::exists(root / "land_pal.dat"));
    const auto written = testing::read_bytes(root / "cliff_land.dat");
    ASSERT_EQ(written.size(), 8192u);
    EXPECT_NE(written, std::vector<std::uint8_t>(8192, 3));
    EXPECT_FALSE(window->editor().unsaved_changes().any());
    EXPECT_EQ(boxes.shown(), 0);
}

TEST_F(WindowMenus, SaveAllAsksForTheNameOfAPartWithoutAFileAndSoDoesClosing) {
    open_window();
    window->show();
    click("build_cliff");
    chooser->answers = {root / "cliff_new.dat"};
    chooser->requests.clear();
    // The close prompt's "Save all" saves as Ctrl+S does, then closes.
    boxes.add([](QWidget& w) {
        for (QAbstractButton* b : dynamic_cast<QMessageBox&>(w).buttons()) {
            if (plain(b->text()) == "Save all") {
                b->click();
            }
        }
    });
    EXPECT_TRUE(window->close());
    ASSERT_EQ(chooser->requests.size(), 1u);
    EXPECT_EQ(chooser->requests[0].filter, "cliff*.dat|cliff*.dat");
    EXPECT_EQ(fs::file_size(root / "cliff_new.dat"), 8192u);

    // A cancelled dialog keeps the window open.
    open_window();
    window->show();
    click("build_cliff");
    boxes.add([](QWidget& w) {
        for (QAbstractButton* b : dynamic_cast<QMessageBox&>(w).buttons()) {
            if (plain(b->text()) == "Save all") {
                b->click();
            }
        }
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(boxes.unexpected(), 0);
}

TEST_F(WindowMenus, StatusTextForAPixelAndAnEntry) {
    write_data_files();
    open_window();
    window->open_files({root / "land_pal.dat", root / "bigf_land.dat", root / "cliff_land.dat"});
    TextureEditor& editor = window->editor();
    testing::write_bytes(root / "pic.bmp", testing::build_bmp(4, 2, 24, [](int x, int y) {
                             return make_color(static_cast<std::uint8_t>(x * 50), 7,
                                               static_cast<std::uint8_t>(y));
                         }));
    const struct {
        View* view;
        QPoint at;
        const char* text;
    } cases[] = {
        {&editor.bigf, {37, 902}, "bigf x 37, y 902: entry 14 (14, 14, 14)"},
        {&editor.cliff, {127, 63}, "cliff x 127, y 63: entry 3 (3, 3, 3)"},
        {&editor.pal, {14, 0}, "pal entry 14 (14, 14, 14): 294,912 bigf and 0 cliff pixels"},
        {&editor.pal_preview, {8 * 3, 0}, "pal_preview entry 3 (3, 3, 3): 0 bigf and 8,192 cliff pixels"},
        {&editor.bigf, {256, 0}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pointer_status(editor, *c.view, c.at), c.text) << c.text;
    }
    // A loaded picture gives its own colour and the index stored there. The small picture
    // brings a notice of what was read outside it.
    expect_box();
    window->run(Command::import_bigf_from_bitmap, root / "pic.bmp");
    const int index = editor.workspace().bigf_data[256 + 3];
    EXPECT_EQ(pointer_status(editor, editor.bigf, {3, 1}),
              QStringLiteral("bigf x 3, y 1: entry %1 (150, 7, 1)").arg(index));
}

TEST_F(WindowMenus, RecentFilesAndFoldersSurviveARestart) {
    write_data_files();
    fs::create_directories(root / "pictures");
    testing::write_bytes(root / "pictures/pic.bmp", testing::build_bmp(256, 1152, 24, [](int, int) {
                             return make_color(1, 2, 3);
                         }));
    open_window();
    click("import_from_pal", root / "land_pal.dat");
    click("import_bigf_from_bitmap", root / "pictures/pic.bmp");
    fs::current_path(exe_folder);
    open_window();  // a restart, with the same settings file
    const auto recent = window->settings().recent_files();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], (RecentFile{Command::import_bigf_from_bitmap, root / "pictures/pic.bmp"}));
    EXPECT_EQ(recent[1], (RecentFile{Command::import_from_pal, root / "land_pal.dat"}));
    QMenu* menu = item({"File", "Recent files"})->menu();
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "&1 pic.bmp (import_bigf_from_bitmap)");
    EXPECT_EQ(menu->actions()[1]->text(), "&2 land_pal.dat");
    menu->actions()[1]->trigger();
    EXPECT_EQ(window->editor().data_file(DataPart::palette), root / "land_pal.dat");
    // Each kind of file opens its dialog in its own folder; others where the command asks.
    const struct {
        const char* button;
        fs::path folder;
    } dialogs[] = {{"save_to_pal", root.path()},
                   {"import_pal_from_bitmap", root / "pictures"},
                   {"import_from_ciff", exe_folder}};
    for (const auto& d : dialogs) {
        fs::current_path(exe_folder);
        click(d.button);
        ASSERT_EQ(chooser->requests.size(), 1u);
        EXPECT_TRUE(fs::equivalent(chooser->requests[0].initial_dir, d.folder)) << d.button;
    }
    // The save proposes the file the palette belongs to.
    click("save_to_pal");
    EXPECT_EQ(chooser->requests[0].proposed_name, root / "land_pal.dat");
}

TEST_F(WindowMenus, FilesGivenByNameOpenAsADropWouldAndOthersAreRefused) {
    write_data_files();
    testing::write_bytes(root / "Land_PAL.dat", std::vector<std::uint8_t>(1024, 5));
    open_window();
    Box* refused = expect_box();
    window->open_files({root / "cliff_land.dat", root / "Land_PAL.dat", root / "notes.txt"});
    EXPECT_EQ(window->editor().data_file(DataPart::cliff), root / "cliff_land.dat");
    EXPECT_EQ(window->editor().data_file(DataPart::palette), root / "Land_PAL.dat");
    EXPECT_TRUE(refused->text.startsWith(
        QDir::toNativeSeparators(QString::fromStdU16String((root / "notes.txt").u16string())) +
        " was not opened"));
    EXPECT_TRUE(chooser->requests.empty());

    const struct {
        const char* name;
        std::optional<Command> command;
    } cases[] = {
        {"land_pal.dat", Command::import_from_pal},   {"BIGF1.DAT", Command::import_from_bigf},
        {"cliff_pal.dat", Command::import_from_ciff}, {"bigf_pal.dat", Command::import_from_bigf},
        {"colours.GPL", Command::import_palette},     {"jasc.pal", Command::import_palette},
        {"water.act", Command::import_palette},       {"list.hex", Command::import_palette},
        {"land.dat", std::nullopt},                   {"picture.bmp", std::nullopt},
        {"pal", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(command_for_opened_file(fs::path("dir.bigf") / c.name), c.command) << c.name;
    }
}

TEST_F(WindowMenus, KeysReachTheButtonsTheStatusBarFollowsThePointer) {
    write_data_files();
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Enter presses the focused button, as Space does.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        chooser->requests.clear();
        button("save_to_cliff")->setFocus();
        QTest::keyClick(button("save_to_cliff"), key);
        ASSERT_EQ(chooser->requests.size(), 1u) << key;
        EXPECT_EQ(chooser->requests[0].filter, "cliff*.dat|cliff*.dat");
    }
    window->open_files({root / "bigf_land.dat"});
    auto* bigf = window->findChild<PictureWidget*>("bigf");
    QMouseEvent move(QEvent::MouseMove, QPointF(37, 902), bigf->mapToGlobal(QPointF(37, 902)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bigf, &move);
    EXPECT_EQ(window->statusBar()->currentMessage(), "bigf x 37, y 902: entry 14 (0, 0, 0)");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bigf, &leave);
    EXPECT_EQ(window->statusBar()->currentMessage(), "");
    // The keys the help lists come from the menus themselves.
    const QString keys = keyboard_shortcuts_text(*window->menuBar());
    EXPECT_TRUE(keys.contains("File > Save all: Ctrl+S")) << keys.toStdString();
    EXPECT_TRUE(keys.contains("File > Quit: Ctrl+Q")) << keys.toStdString();
}

TEST(MnemonicPicker, WordStartsFirstThenAnyLetterNeverTwice) {
    MnemonicPicker picker;
    EXPECT_EQ(picker.pick("import_from_pal..."), "&import_from_pal...");
    EXPECT_EQ(picker.pick("import_pal_from_bitmap..."), "import_&pal_from_bitmap...");
    EXPECT_EQ(picker.pick("import_palette..."), "i&mport_palette...");
    EXPECT_EQ(picker.pick("save_to_pal..."), "&save_to_pal...");
    EXPECT_EQ(picker.pick("ps"), "ps");
}

}  // namespace
}  // namespace vlt

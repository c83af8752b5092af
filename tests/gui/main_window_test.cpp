#include "gui/main_window.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <deque>

#include "base/errors.h"
#include "base/path_text.h"
#include "main_window_fixture.h"
#include "modal_script.h"
#include "support/bmp_builder.h"
#include "support/fake_wine_prefix.h"
#include "support/system_texts.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

using testing::MainWindowTest;

TEST_F(MainWindowTest, GeometryControlsAndTabOrder) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->windowTitle(), "VoskLandTextureTest");
    EXPECT_EQ(window->objectName(), "VoskLandTextureTest");
    EXPECT_EQ(window->frameGeometry().size(), QSize(484, 429));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->frameGeometry().topLeft(),
              QPoint((screen.width() - 484) / 2, (screen.height() - 429) / 2));
    ASSERT_NE(window->widget(), nullptr);
    EXPECT_EQ(window->widget()->size(), QSize(425, 1352));

    const struct {
        const char* name;
        QRect place;
    } controls[] = {
        {"pal", {8, 144, 16, 16}},
        {"pal_preview", {8, 8, 128, 128}},
        {"cliff", {296, 16, 128, 64}},
        {"bigf", {8, 200, 256, 1152}},
        {"import_from_pal", {144, 8, 129, 25}},
        {"save_pal_to_bitmap", {144, 72, 129, 25}},
        {"save_to_pal", {144, 104, 129, 25}},
        {"import_pal_from_bitmap", {144, 40, 129, 25}},
        {"import_from_ciff", {296, 88, 129, 25}},
        {"cliff_save_to_bitmap", {296, 152, 129, 25}},
        {"import_from_bigf", {272, 256, 129, 25}},
        {"save_bigf_to_bitmap", {272, 320, 129, 25}},
        {"save_to_bigf", {272, 352, 129, 25}},
        {"import_bigf_from_bitmap", {272, 288, 129, 25}},
        {"import_cliff_from_bitmap", {296, 120, 129, 25}},
        {"save_to_cliff", {296, 184, 129, 25}},
        {"build_cliff", {176, 152, 75, 25}},
    };
    QPushButton* previous = nullptr;
    for (const auto& c : controls) {
        auto* control = window->findChild<QWidget*>(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.place) << c.name;
        EXPECT_EQ(control->parentWidget(), window->widget()) << c.name;
        if (auto* b = qobject_cast<QPushButton*>(control)) {
            EXPECT_EQ(b->text(), c.name);
            // The whole caption is seen, whatever fonts the system has.
            EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()) + 6, c.place.width())
                << c.name;
            if (previous != nullptr) {
                EXPECT_EQ(previous->nextInFocusChain(), b) << c.name;
            }
            previous = b;
        }
    }
    auto* about = window->findChild<QLabel*>("txtAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->pos(), QPoint(296, 1328));
    EXPECT_TRUE(about->text().contains(VLT_VERSION));
    EXPECT_LE(about->geometry().right(), 425);
}

TEST_F(MainWindowTest, ScrollsOverTheControlsRange) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QScrollBar* bar = window->verticalScrollBar();
    const QSize client = window->viewport()->size();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(window->horizontalScrollBar()->isVisible());
    EXPECT_EQ(bar->maximum(), 1352 - client.height());
    EXPECT_EQ(bar->singleStep(), 8);
    EXPECT_EQ(bar->pageStep(), client.height());

    // At the bottom the lower end of bigf and the label come into sight.
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    const QRect visible(window->widget()->mapFrom(window->viewport(), QPoint(0, 0)), client);
    EXPECT_TRUE(visible.contains(window->findChild<QLabel*>("txtAbout")->geometry()));
    EXPECT_EQ(visible.bottom(), 1351);

    // A wider and taller window needs no bars.
    window->resize(700, 1500);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(MainWindowTest, EachButtonRunsItsCommand) {
    open_window();
    using Kind = FileRequest::Kind;
    const struct {
        const char* name;
        Kind kind;
        const char* filter;
        const char* ext;
    } buttons[] = {
        {"import_from_pal", Kind::open, "*pal*.dat|*pal*.dat", ""},
        {"save_pal_to_bitmap", Kind::save, "bitmap (*.bmp)|*.bmp", "*.bmp"},
        {"save_to_pal", Kind::save, "*pal*.dat|*pal*.dat", "*.dat"},
        {"import_pal_from_bitmap", Kind::open, "*.bmp|*.bmp", ""},
        {"import_from_ciff", Kind::open, "cliff*.dat|cliff*.dat", ""},
        {"cliff_save_to_bitmap", Kind::save, "bitmap (*.bmp)|*.bmp", "*.bmp"},
        {"import_from_bigf", Kind::open, "bigf*.dat|bigf*.dat", ""},
        {"save_bigf_to_bitmap", Kind::save, "*.bmp|*.bmp", "*.bmp"},
        {"save_to_bigf", Kind::save, "bigf*.dat|bigf*.dat", "*.dat"},
        {"import_bigf_from_bitmap", Kind::open, "*.bmp|*.bmp", ""},
        {"import_cliff_from_bitmap", Kind::open, "*.bmp|*.bmp", ""},
        {"save_to_cliff", Kind::save, "cliff*.dat|cliff*.dat", "*.dat"},
    };
    for (const auto& b : buttons) {
        click(b.name);  // cancelled: only the dialog's request is seen
        ASSERT_EQ(chooser->requests.size(), 1u) << b.name;
        const FileRequest& request = chooser->requests[0];
        EXPECT_EQ(request.kind, b.kind) << b.name;
        EXPECT_EQ(request.filter, b.filter) << b.name;
        EXPECT_EQ(request.default_ext, b.ext) << b.name;
        EXPECT_EQ(request.initial_dir, fs::current_path()) << b.name;
    }
    // build_cliff needs no file; the cliff view shows what it built.
    click("build_cliff");
    EXPECT_TRUE(chooser->requests.empty());
    ASSERT_NE(window->editor().cliff.bitmap(), nullptr);
    const Color built = window->editor().cliff.get_pixel(5, 5);
    EXPECT_EQ(shown("cliff").pixel(5, 5), qRgb(red_of(built), green_of(built), blue_of(built)));
    EXPECT_EQ(boxes.shown(), 0);
}

TEST_F(MainWindowTest, AnEditShowsItsPicturesAndMovesTheDialogFolder) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    fs::create_directories(root / "game/Data");
    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 256; ++i) {
        palette.insert(palette.end(),
                       {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                        static_cast<std::uint8_t>(i / 2), 0});
    }
    testing::write_bytes(root / "game/Data/texpal1.dat", palette);
    click("import_from_pal", root / "game/Data/texpal1.dat");
    const QImage pal = shown("pal");
    const QImage preview = shown("pal_preview");
    for (const int i : {0, 17, 100, 255}) {
        const QRgb expected = qRgb(i, 255 - i, i / 2);
        EXPECT_EQ(pal.pixel(i % 16, i / 16), expected) << i;
        EXPECT_EQ(preview.pixel(8 * (i % 16) + 7, 8 * (i / 16) + 7), expected) << i;
    }
    // The next dialog opens where the last one ended.
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root / "game/Data"));
    click("import_bigf_from_bitmap");
    EXPECT_TRUE(fs::equivalent(chooser->requests.at(0).initial_dir, root / "game/Data"));

    // A loaded picture smaller than the view shows at the top left, the background elsewhere.
    // It has few colours, so that the conversion keeps every one of them.
    testing::write_bytes(root / "small.bmp", testing::build_bmp(20, 10, 24, [](int x, int y) {
                             return make_color(static_cast<std::uint8_t>(x * 10), 0,
                                               static_cast<std::uint8_t>(y % 2 * 200));
                         }));
    Box* notice = expect_box();
    click("import_bigf_from_bitmap", root / "small.bmp");
    EXPECT_EQ(notice->text,
              "The picture is 20 x 10; the texture is 256 x 1152: 294,712 pixels outside the "
              "picture were read as FFFFFFFF.");
    const QImage bigf = shown("bigf");
    EXPECT_EQ(bigf.pixel(19, 9), qRgb(190, 0, 200));
    EXPECT_EQ(bigf.pixel(20, 0), window->palette().color(QPalette::Window).rgb());
    click("save_to_bigf", root / "bigf1.dat");
    EXPECT_EQ(fs::file_size(root / "bigf1.dat"), 294912u);
    EXPECT_EQ(boxes.unexpected(), 0);
}

TEST_F(MainWindowTest, AnImportsWarningsShowTogetherInOneNoticeAfterItsDrawing) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // 150 colours, and the file cut short by its top row (bottom-up: the file's last bytes).
    auto bytes = testing::build_bmp(256, 1152, 24, testing::colour_bands_150);
    bytes.resize(bytes.size() - 256 * 3);
    testing::write_bytes(root / "bands.bmp", bytes);
    // The notice comes once the views are drawn: the bigf view already shows the blackened rows.
    QString text;
    QRgb shown_black = 1;
    boxes.add([&](QWidget& box) {
        text = box.findChild<QLabel*>("Message")->text();
        shown_black = shown("bigf").pixel(0, 1151);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    click("import_bigf_from_bitmap", root / "bands.bmp");
    EXPECT_EQ(text,
              "39 colours did not fit in palette entries 1 to 111: 76,800 pixels were painted "
              "black.\n\nThe pixel data is 768 bytes short: the missing pixels were read as zero.");
    EXPECT_EQ(shown_black, qRgb(0, 0, 0));
    EXPECT_EQ(boxes.shown(), 1);
}

// The bigf view's reducing import, dithered as the box is ticked: its note heads the report.
TEST_F(MainWindowTest, TheReducingImportsNoteShowsWithItsWarnings) {
    open_window();
    auto bytes = testing::build_bmp(256, 1152, 24, testing::colour_bands_150);
    bytes.resize(bytes.size() - 256 * 3);
    testing::write_bytes(root / "bands.bmp", bytes);
    Box* report = expect_box();
    auto* dither = window->findChild<QCheckBox*>("dither");
    ASSERT_NE(dither, nullptr);
    dither->setChecked(true);
    chooser->answers = {root / "bands.bmp"};
    auto* bigf = window->findChild<PictureWidget*>("bigf");
    const auto actions = bigf->findChild<QMenu*>()->actions();
    const auto reducing = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
        return action->text() == "Import BMP reducing colours...";
    });
    ASSERT_NE(reducing, actions.end());
    (*reducing)->trigger();
    EXPECT_TRUE(report->text.startsWith("150 colours were reduced to palette entries 1 to 111: "
                                        "mean error "))
        << report->text.toStdString();
    EXPECT_TRUE(report->text.endsWith(".\n\nThe pixel data is 768 bytes short: the missing "
                                      "pixels were read as zero."))
        << report->text.toStdString();
    EXPECT_EQ(boxes.shown(), 1);
}

TEST_F(MainWindowTest, NoticeAndErrorReportCarryTheTitle) {
    open_window();
    Box* notice = expect_box();
    click("import_from_bigf", root / "missing_bigf.dat");
    EXPECT_EQ(notice->caption, "Tool");
    // The system's reason stands on a second line.
    EXPECT_EQ(notice->text,
              QString::fromStdString("Failed!\n" + utf8_of(root / "missing_bigf.dat") + ": " +
                                     testing::no_such_file()));
    EXPECT_FALSE(notice->error_icon);

    testing::write_bytes(root / "text.bmp", std::vector<std::uint8_t>(40, 'x'));
    Box* error = expect_box();
    click("import_bigf_from_bitmap", root / "text.bmp");
    EXPECT_EQ(error->caption, "Tool");
    EXPECT_EQ(error->text, "Bitmap image is not valid.");
    EXPECT_TRUE(error->error_icon);
    EXPECT_EQ(boxes.unexpected(), 0);
}

#ifndef _WIN32
// Windows reads its own registry: that side is tested with the start-up folder in tests/base.
TEST_F(MainWindowTest, StartsInTheGamesDataFolderFromTheWinePrefix) {
    const struct {
        const char* name;
        std::string value_line;  // empty: no key at all
        bool data;
        const char* error;
    } cases[] = {
        {"no key", "", false, ""},
        {"string", R"("InstallPath"="C:\\Games\\Vosk")", true, ""},
        {"expandable string", R"("InstallPath"=str(2):"C:\\Games\\Vosk")", true, ""},
        {"missing Data folder", R"("InstallPath"="C:\\Games\\Gone")", false, ""},
        {"dword", R"("InstallPath"=dword:00000010)", false, "Invalid data type for 'InstallPath'"},
    };
    fs::create_directories(prefix.path() / "drive_c/Games/Vosk/Data");
    const fs::path start_folder = root / "start";
    fs::create_directories(start_folder);
    for (const auto& c : cases) {
        prefix.write_registry(
            c.value_line.empty() ? std::string() : testing::FakeWinePrefix::vosk_key(c.value_line));
        Box* box = *c.error ? expect_box() : nullptr;
        fs::current_path(start_folder);
        open_window();
        // Without a Data folder the window stays in the folder it was started from.
        const fs::path expected = c.data ? prefix.path() / "drive_c/Games/Vosk/Data" : start_folder;
        EXPECT_TRUE(fs::equivalent(fs::current_path(), expected)) << c.name;
        if (box != nullptr) {
            EXPECT_EQ(box->text, c.error) << c.name;
            EXPECT_EQ(box->caption, "Tool");
            EXPECT_TRUE(box->error_icon);
        }
        // The window opens and works all the same.
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get())) << c.name;
        click("import_from_pal");
        EXPECT_EQ(chooser->requests.size(), 1u);
        EXPECT_TRUE(fs::equivalent(chooser->requests.at(0).initial_dir, expected)) << c.name;
    }
    EXPECT_EQ(boxes.unexpected(), 0);
}
#endif

}  // namespace
}  // namespace vlt

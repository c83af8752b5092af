#include <gtest/gtest.h>
#include <QDir>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include "main_window_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::MainWindowTest;
namespace fs = std::filesystem;

class EverydayUse : public MainWindowTest {
protected:
    PictureWidget* view(const char* name) {
        return window->findChild<PictureWidget*>(QString::fromLatin1(name));
    }

    // Drags the files over the view and drops them; true when the drag was welcome.
    bool drop(const char* name, const std::vector<fs::path>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const fs::path& file : files) {
            urls << QUrl::fromLocalFile(QString::fromStdU16String(file.u16string()));
        }
        data.setUrls(urls);
        const QPoint at(4, 4);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view(name), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view(name), &dropped);
        QCoreApplication::processEvents();  // the command runs once the drop has ended
        return enter.isAccepted();
    }
};

TEST_F(EverydayUse, ClosingAsksOnlyWhenChangesAreNotSaved) {
    open_window();
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(boxes.shown(), 0);

    open_window();
    window->show();
    click("build_cliff");
    for (const QString answer : {"Cancel", "Close without saving"}) {
        QString text;
        boxes.add([&](QWidget& w) {
            auto& prompt = dynamic_cast<QMessageBox&>(w);
            text = prompt.text();
            EXPECT_EQ(prompt.defaultButton()->text(), "Cancel");
            if (answer == "Cancel") {
                QTest::keyClick(&w, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : prompt.buttons()) {
                if (b->text() == answer) {
                    b->click();
                }
            }
        });
        EXPECT_EQ(window->close(), answer != "Cancel");
        EXPECT_EQ(text, "The cliff texture has changes that are not saved.");
    }
    EXPECT_EQ(boxes.unexpected(), 0);
}

TEST_F(EverydayUse, AFileDroppedOnAViewRunsItsImportWithoutADialog) {
    open_window();
    testing::write_bytes(root / "land_pal.dat", std::vector<std::uint8_t>(1024, 9));
    testing::write_bytes(root / "cliff1.dat", std::vector<std::uint8_t>(8192, 2));
    // Full size and few colours, so that no import has anything to warn about.
    testing::write_bytes(root / "pic.bmp", testing::build_bmp(256, 1152, 24, [](int x, int) {
                             return make_color(static_cast<std::uint8_t>(x % 16), 1, 2);
                         }));
    const struct {
        const char* view;
        fs::path file;
    } cases[] = {
        {"pal", root / "land_pal.dat"},
        {"pal_preview", root / "pic.bmp"},
        {"cliff", root / "cliff1.dat"},
        {"bigf", root / "pic.bmp"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(drop(c.view, {c.file})) << c.view;
        EXPECT_EQ(window->editor().source_of(view(c.view)->view()), c.file) << c.view;
    }
    // Refused: several files, or a kind the view takes no import for.
    EXPECT_FALSE(drop("bigf", {root / "pic.bmp", root / "cliff1.dat"}));
    EXPECT_FALSE(drop("cliff", {root / "land_pal.gif"}));
    EXPECT_EQ(window->editor().source_of(window->editor().bigf), root / "pic.bmp");
    EXPECT_TRUE(chooser->requests.empty());
    EXPECT_EQ(boxes.shown(), 0);
}

TEST_F(EverydayUse, TooltipsSayWhatEachControlDoesAndShows) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    for (const CommandSpec& spec : command_table()) {
        if (spec.listing == Listing::button) {
            EXPECT_EQ(button(std::string(spec.name).c_str())->toolTip().toStdString(),
                      spec.summary);
        }
    }
    std::vector<std::uint8_t> palette(1024);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : i / 4 + i % 4);
    }
    testing::write_bytes(root / "land_pal.dat", palette);
    click("import_from_pal", root / "land_pal.dat");
    const QString from =
        "\nfrom " +
        QDir::toNativeSeparators(QString::fromStdU16String((root / "land_pal.dat").u16string()));
    const struct {
        const char* view;
        QPoint at;
        QString text;
    } cases[] = {
        {"pal",
         {9, 8},
         "The palette, one pixel per entry, 16 entries to a row" + from +
             "\nentry 137: 137, 138, 139"},
        {"pal_preview",
         {127, 0},
         "The palette enlarged, 8 x 8 pixels per entry" + from + "\nentry 15: 15, 16, 17"},
        {"bigf", {100, 900}, "The bigf texture, 256 x 1152"},
    };
    for (const auto& c : cases) {
        QHelpEvent help(QEvent::ToolTip, c.at, view(c.view)->mapToGlobal(c.at));
        QCoreApplication::sendEvent(view(c.view), &help);
        EXPECT_EQ(QToolTip::text(), c.text) << c.view;
        QToolTip::hideText();
    }
}

TEST_F(EverydayUse, HomeAndEndGoToTheTopAndBottom) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QScrollBar* bar = window->scroll_area().verticalScrollBar();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int value;
    } keys[] = {{Qt::Key_End, Qt::NoModifier, bar->maximum()},
                {Qt::Key_Home, Qt::NoModifier, 0},
                {Qt::Key_End, Qt::ControlModifier, bar->maximum()},
                {Qt::Key_Home, Qt::ControlModifier, 0}};
    for (const auto& k : keys) {
        // The focus is on a button, which leaves these keys to the window.
        QTest::keyClick(button("import_from_pal"), k.key, k.modifiers);
        EXPECT_EQ(bar->value(), k.value) << k.key;
    }
}

}  // namespace
}  // namespace vlt

#include <gtest/gtest.h>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include "gui/inspector_window.h"
#include "main_window_fixture.h"

namespace vlt {
namespace {

using testing::MainWindowTest;

// A picture of w x h texels, each its own colour, so that any misplaced texel shows.
QImage numbered_image(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(40 * x, 60 * y, 200));
        }
    }
    return image;
}

QImage zoomed(ZoomView& zoom) {
    return zoom.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(ZoomView, StepsStayWithinOneToSixteen) {
    const std::pair<int, std::pair<int, int>> cases[] = {
        {1, {2, 1}}, {2, {3, 1}}, {4, {6, 3}}, {5, {6, 4}}, {8, {12, 6}}, {16, {16, 12}},
    };
    for (const auto& [from, next] : cases) {
        EXPECT_EQ(ZoomView::zoom_in_from(from), next.first) << from;
        EXPECT_EQ(ZoomView::zoom_out_from(from), next.second) << from;
    }
    ZoomView zoom;
    zoom.set_image(numbered_image(4, 4));
    for (const auto& [asked, got] : {std::pair{0, 1}, {40, 16}, {7, 7}}) {
        zoom.set_zoom(asked);
        EXPECT_EQ(zoom.zoom(), got) << asked;
    }
    zoom.resize(100, 60);
    zoom.fit();
    EXPECT_EQ(zoom.zoom(), 14);  // 4 texels in 60 pixels, less the frame
}

TEST(ZoomView, TexelsAreCrispBlocksWithAGridFromEightTimes) {
    ZoomView zoom;
    zoom.setFrameShape(QFrame::NoFrame);
    zoom.set_image(numbered_image(4, 3));
    zoom.resize(200, 200);
    for (const int z : {4, 6, 8, 12}) {
        zoom.set_zoom(z);
        zoom.set_grid(true);
        const QImage image = zoomed(zoom);
        // Inside a block: the texel's own colour, never a blend of its neighbours.
        EXPECT_EQ(image.pixel(2 * z + z / 2, z + z / 2), qRgb(80, 60, 200)) << z;
        EXPECT_EQ(image.pixel(2 * z + 1, z + 1), qRgb(80, 60, 200)) << z;
        EXPECT_EQ(zoom.grid_shown(), z >= 8) << z;
        EXPECT_EQ(image.pixel(2 * z, z + z / 2) != qRgb(80, 60, 200), z >= 8) << z;
        zoom.set_grid(false);
        EXPECT_EQ(zoomed(zoom).pixel(2 * z, z + z / 2), qRgb(80, 60, 200)) << z;
    }
}

TEST(ZoomView, TiledIsTheTextureFourTimes) {
    ZoomView zoom;
    zoom.setFrameShape(QFrame::NoFrame);
    const QImage texture = numbered_image(5, 3);
    zoom.set_image(texture);
    zoom.set_zoom(2);
    zoom.set_tiled(true);
    zoom.resize(40, 40);
    const QImage whole = zoomed(zoom).copy(0, 0, 20, 12).scaled(10, 6);
    for (const QPoint tile : {QPoint(0, 0), QPoint(5, 0), QPoint(0, 3), QPoint(5, 3)}) {
        EXPECT_EQ(whole.copy(QRect(tile, texture.size())), texture) << tile.x() << tile.y();
    }
    EXPECT_EQ(zoom.texel_at({13, 9}), QPoint(1, 1));  // texel (6, 4) of the tiling
    EXPECT_EQ(zoom.texel_at({21, 0}), QPoint(-1, -1));
}

class Inspector : public MainWindowTest {
protected:
    void load_workspace() {
        std::vector<std::uint8_t> pal(1024);
        pal[4 * 5] = 50;  // entry 5: (50, 0, 0)
        testing::write_bytes(root / "land_pal.dat", pal);
        std::vector<std::uint8_t> bigf(294'912, 5);
        bigf[1] = 7;
        testing::write_bytes(root / "bigf1.dat", bigf);
        testing::write_bytes(root / "cliff1.dat", std::vector<std::uint8_t>(8192, 7));
        click("import_from_pal", root / "land_pal.dat");
        click("import_from_bigf", root / "bigf1.dat");
        click("import_from_ciff", root / "cliff1.dat");
    }
    QRgb inspected_bigf(QPoint texel) {
        return window->inspector().zoom_view(InspectorWindow::Tab::bigf).image().pixel(texel);
    }
};

TEST_F(Inspector, OpensFromAViewWithItsTabInFront) {
    open_window();
    window->show();
    auto* bigf = window->findChild<PictureWidget*>("bigf");
    QTest::mouseDClick(bigf, Qt::LeftButton, Qt::NoModifier, {5, 5});
    EXPECT_TRUE(window->inspector().isVisible());
    EXPECT_EQ(window->inspector().current_tab(), InspectorWindow::Tab::bigf);
    EXPECT_EQ(window->inspector().windowTitle(), "Inspector - bigf");
    EXPECT_FALSE(window->inspector().isModal());

    auto* menu = window->findChild<PictureWidget*>("pal_preview")->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    menu->actions().back()->trigger();
    EXPECT_EQ(menu->actions().back()->text(), "Inspector");
    EXPECT_EQ(window->inspector().current_tab(), InspectorWindow::Tab::palette);
    EXPECT_EQ(window->inspector_action().shortcut(), QKeySequence("Ctrl+I"));
}

TEST_F(Inspector, CountsTheUsesOfEachEntry) {
    open_window();
    load_workspace();
    const PaletteSwatches& swatches = window->inspector().swatches();
    EXPECT_EQ(swatches.entry_text(5), "entry 5 (50, 0, 0): 294,911 bigf pixels, 0 cliff pixels");
    EXPECT_EQ(swatches.entry_text(7), "entry 7 (0, 0, 0): 1 bigf pixel, 8,192 cliff pixels");
    EXPECT_EQ(PaletteSwatches::swatch_rect(17).size().width(), PaletteSwatches::swatch);
    EXPECT_GE(PaletteSwatches::swatch, 16);
    EXPECT_EQ(PaletteSwatches::entry_at(PaletteSwatches::swatch_rect(17).center()), 17);
}

TEST_F(Inspector, FollowsEveryCommand) {
    open_window();
    window->inspector();  // open before the commands run
    load_workspace();
    EXPECT_EQ(inspected_bigf({0, 0}), qRgb(50, 0, 0));
    EXPECT_EQ(inspected_bigf({1, 0}), qRgb(0, 0, 0));
    click("build_cliff");
    EXPECT_EQ(window->inspector().zoom_view(InspectorWindow::Tab::cliff).image(),
              shown("cliff").convertToFormat(QImage::Format_RGB32));
}

TEST_F(Inspector, AnEditedEntryRedrawsTheViewsAndMarksThePalette) {
    open_window();
    load_workspace();
    InspectorWindow& inspector = window->inspector();
    window->set_entry_dialogs([](QWidget*) { return std::optional<int>(7); },
                              [](int, Color, QWidget*) { return make_color(1, 2, 3); });
    inspector.edit_entry(5);
    EXPECT_EQ(shown("bigf").pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(shown("pal").pixel(5, 0), qRgb(1, 2, 3));
    EXPECT_EQ(inspected_bigf({0, 0}), qRgb(1, 2, 3));
    EXPECT_TRUE(window->editor().unsaved_changes().changed(DataPart::palette));
    // From the Edit menu, away from any view: the entry is asked for first.
    window->edit_entry_action().trigger();
    EXPECT_EQ(shown("cliff").pixel(0, 0), qRgb(1, 2, 3));
    // Each edit is one step; undone, the views and the inspector show the old colours again.
    EXPECT_EQ(window->undo_action().text(), "&Undo Edit palette entry 7");
    window->undo_action().trigger();
    EXPECT_EQ(window->undo_action().text(), "&Undo Edit palette entry 5");
    window->undo_action().trigger();
    EXPECT_EQ(shown("bigf").pixel(0, 0), qRgb(50, 0, 0));
    EXPECT_EQ(inspected_bigf({0, 0}), qRgb(50, 0, 0));
    EXPECT_FALSE(window->editor().unsaved_changes().changed(DataPart::palette));
}

TEST_F(Inspector, OutlinesThePixelsOfTheEntryPointedAt) {
    open_window();
    load_workspace();
    InspectorWindow& inspector = window->inspector();
    PaletteSwatches& swatches = inspector.swatches();
    inspector.show_tab(InspectorWindow::Tab::palette);
    inspector.show();
    QTest::mouseMove(&swatches, PaletteSwatches::swatch_rect(7).center());
    ZoomView& bigf = inspector.zoom_view(InspectorWindow::Tab::bigf);
    bigf.setFrameShape(QFrame::NoFrame);
    inspector.show_tab(InspectorWindow::Tab::bigf);
    EXPECT_EQ(inspector.outlined_entry(), 7);
    const QImage image = zoomed(bigf);
    EXPECT_EQ(image.pixel(0, 0), qRgb(50, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));  // black, inverted
    inspector.outline_entry(-1);
    EXPECT_EQ(zoomed(bigf).pixel(1, 0), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace vlt

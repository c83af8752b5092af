#include <gtest/gtest.h>

#include "commands/editor_fixture.h"
#include "commands/file_drop.h"

namespace vlt {
namespace {

using Strings = std::vector<std::string>;

class PaintCommands : public testing::EditorTest {};

TEST_F(PaintCommands, ImportPaletteRedrawsThePaletteViewsAndWarnsOfFewColours) {
    testing::write_bytes(dir / "p.hex", {'1', '0', '2', '0', '3', '0', '\n'});
    click(Command::import_palette, dir / "p.hex");
    EXPECT_EQ(ws().pal_colors[0], make_color(0x10, 0x20, 0x30));
    EXPECT_EQ(port.refreshed, (Strings{"pal", "pal_preview"}));
    EXPECT_EQ(port.warnings,
              (std::vector<Strings>{
                  {"The file holds 1 colour; entries from 1 on kept their old values."}}));
    ASSERT_EQ(port.requests.size(), 1u);
    EXPECT_EQ(port.requests[0].kind, FileRequest::Kind::open);
    EXPECT_TRUE(port.requests[0].filter.starts_with("Palette files (*.gpl;*.pal;*.act;*.hex)|"));
    EXPECT_TRUE(editor->unsaved_changes().changed(DataPart::palette));
    EXPECT_EQ(command_for_dropped_file("pal_preview", "land.GPL"), Command::import_palette);
}

TEST_F(PaintCommands, IndexedExportsWorkAtStartUpAndDrawNothing) {
    click(Command::save_bigf_to_indexed_bitmap, dir / "bigf.bmp");
    click(Command::save_cliff_to_indexed_bitmap, dir / "cliff.bmp");
    EXPECT_EQ(testing::read_bytes(dir / "bigf.bmp").size(), 1078u + 256 * 1152);
    EXPECT_EQ(testing::read_bytes(dir / "cliff.bmp").size(), 1078u + 128 * 64);
    EXPECT_TRUE(port.refreshed.empty());
    EXPECT_EQ(view_states(), (std::vector<testing::ViewState>(4)));
    EXPECT_EQ(port.requests[0].default_ext, "*.bmp");
}

TEST_F(PaintCommands, PaletteFileErrorsAreReported) {
    click(Command::import_palette, dir / "land.txt");
    EXPECT_EQ(port.errors, (Strings{"Unknown palette file extension (.txt) (" +
                                    (dir / "land.txt").string() + ")"}));
    click(Command::export_palette, dir / "no" / "land.gpl");
    EXPECT_EQ(port.errors,
              (Strings{"Cannot create file " + (dir / "no" / "land.gpl").string() + "."}));
}

}  // namespace
}  // namespace vlt

// The indexed imports as commands: what they draw, mark and report.
#include <gtest/gtest.h>

#include <algorithm>

#include "commands/editor_fixture.h"
#include "pictures/indexed_bmp.h"
#include "pictures/png_writer.h"

namespace vlt {
namespace {

using testing::EditorTest;
using Texts = std::vector<std::string>;

class IndexedImports : public EditorTest {
protected:
    // A cliff-sized picture of indices 0, 1, 2, ... in the given palette, as BMP or PNG.
    std::filesystem::path write_cliff_picture(const std::string& name, const Palette& palette) {
        std::vector<std::uint8_t> indices(cliff_width * cliff_height);
        for (std::size_t i = 0; i < indices.size(); ++i) {
            indices[i] = static_cast<std::uint8_t>(i % 7);
        }
        testing::write_bytes(dir / name,
                             name.ends_with(".png")
                                 ? encode_indexed_png(indices, cliff_width, cliff_height, palette)
                                 : encode_indexed_bmp(indices, cliff_width, cliff_height, palette));
        return dir / name;
    }
};

Palette numbered_palette(std::uint8_t green) {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = make_color(static_cast<std::uint8_t>(i), green, 0);
    }
    return palette;
}

TEST_F(IndexedImports, StoreTheIndicesAndDrawTheTexture) {
    click(Command::import_from_pal, write_palette_file("p_pal.dat", numbered_palette(0)));
    click(Command::import_cliff_indices, write_cliff_picture("c.png", numbered_palette(0)));
    EXPECT_TRUE(port.errors.empty());
    EXPECT_TRUE(port.warnings.empty());
    EXPECT_EQ(ws().cliff_data[8], 1);
    EXPECT_EQ(editor->cliff.get_pixel(8, 0), make_color(1, 0, 0));
    EXPECT_EQ(port.refreshed, Texts{"cliff"});
    EXPECT_EQ(editor->source_of(editor->cliff), dir / "c.png");
}

TEST_F(IndexedImports, AnotherTableMapsToThePaletteAndWarnsOfMissingColours) {
    Palette shifted = numbered_palette(0);
    shifted[6] = make_color(1, 1, 1);                                        // not in the palette
    std::rotate(shifted.begin(), shifted.begin() + 1, shifted.begin() + 6);  // 1..5, 0, gone
    click(Command::import_from_pal, write_palette_file("p_pal.dat", numbered_palette(0)));
    click(Command::import_cliff_indices, write_cliff_picture("c.bmp", shifted));
    EXPECT_EQ(ws().cliff_data[0], 1);  // entry 0 of the picture is colour 1
    EXPECT_EQ(ws().cliff_data[5], 0);
    EXPECT_EQ(ws().cliff_data[6], 6);
    EXPECT_EQ(ws().pal_colors, numbered_palette(0));
    EXPECT_EQ(port.warnings,
              std::vector<Texts>{{"1,170 pixels have a colour that is not in the palette: they "
                                  "kept their index and show the palette's colour there."}});
}

TEST_F(IndexedImports, TakingThePaletteRedrawsEveryViewThatShowsSomething) {
    click(Command::build_cliff, std::nullopt);
    click(Command::import_cliff_indices_taking_palette,
          write_cliff_picture("c.png", numbered_palette(9)));
    EXPECT_TRUE(port.errors.empty());
    EXPECT_EQ(ws().pal_colors, numbered_palette(9));
    EXPECT_EQ(port.refreshed, (Texts{"pal", "pal_preview", "cliff"}));  // bigf holds nothing
    EXPECT_EQ(editor->cliff.get_pixel(1, 0), make_color(1, 9, 0));
}

TEST_F(IndexedImports, RefusedPicturesChangeNothing) {
    write_cliff_picture("c.bmp", numbered_palette(0));
    ws().bigf_data.fill(4);
    click(Command::import_bigf_indices, dir / "c.bmp");
    EXPECT_EQ(port.errors,
              Texts{"The picture is 128 x 64: import_bigf_indices takes an indexed picture of "
                    "256 x 1152; import_bigf_from_bitmap takes pictures of other sizes."});
    EXPECT_EQ(ws().bigf_data[0], 4);
    EXPECT_EQ(editor->bigf.picture_kind(), PictureKind::none);
    EXPECT_TRUE(port.refreshed.empty());
}

}  // namespace
}  // namespace vlt

#include <gtest/gtest.h>

#include <filesystem>

#include "base/path_text.h"
#include "commands/editor_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::EditorTest;
using Names = std::vector<std::string>;

constexpr Color red = 0x000000FF;
constexpr Color green = 0x0000FF00;
constexpr Color blue = 0x00FF0000;

Palette sample_palette() {
    Palette p{};
    for (int i = 0; i < palette_size; ++i) {
        p[static_cast<std::size_t>(i)] =
            make_color(static_cast<std::uint8_t>(i), 0x40, static_cast<std::uint8_t>(255 - i));
    }
    return p;
}

class CommandEffects : public EditorTest {
protected:
    std::filesystem::path write_bmp(const std::string& name, int width, int height, int bits,
                                    const std::function<Color(int, int)>& pixel) {
        testing::write_bytes(dir / name, testing::build_bmp(width, height, bits, pixel));
        return dir / name;
    }
    std::uintmax_t size_of(const std::string& name) {
        return std::filesystem::file_size(dir / name);
    }
    void expect_no_messages() {
        EXPECT_TRUE(port.notices.empty()) << port.notices.front();
        EXPECT_TRUE(port.errors.empty()) << port.errors.front();
    }
};

TEST_F(CommandEffects, EachCommandRedrawsTheViewsItChanges) {
    const auto pal_file = write_palette_file("game_pal.dat", sample_palette());
    testing::write_bytes(dir / "bigf1.dat", std::vector<std::uint8_t>(294912, 7));
    testing::write_bytes(dir / "cliff1.dat", std::vector<std::uint8_t>(8192, 9));
    const auto bmp = write_bmp("pic.bmp", 16, 16, 24, [](int, int) { return green; });
    const struct {
        Command command;
        std::filesystem::path path;
        Names refreshed;
    } cases[] = {
        {Command::import_from_pal, pal_file, {"pal", "pal_preview"}},
        {Command::import_from_ciff, dir / "cliff1.dat", {"cliff"}},
        {Command::import_from_bigf, dir / "bigf1.dat", {"bigf"}},
        {Command::save_to_pal, dir / "out_pal.dat", {}},
        {Command::save_to_cliff, dir / "cliff_out.dat", {}},
        {Command::save_to_bigf, dir / "bigf_out.dat", {}},
        {Command::save_pal_to_bitmap, dir / "pal.bmp", {}},
        {Command::cliff_save_to_bitmap, dir / "cliff.bmp", {}},
        {Command::save_bigf_to_bitmap, dir / "bigf.bmp", {}},
        // A new palette redraws the texture views that hold a picture; the bigf import's
        // view already shows what it made.
        {Command::import_pal_from_bitmap, bmp, {"pal", "pal_preview", "bigf", "cliff"}},
        {Command::import_bigf_from_bitmap, bmp, {"bigf", "pal", "pal_preview", "cliff"}},
        {Command::import_cliff_from_bitmap, bmp, {"cliff"}},
        {Command::build_cliff, {}, {"cliff"}},
    };
    // In this order every export finds a picture in its view.
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        click(c.command, c.path);
        expect_no_messages();
        EXPECT_EQ(port.refreshed, c.refreshed);
    }
}

TEST_F(CommandEffects, PaletteFileRoundTripsAndRedrawsTheTextures) {
    Palette palette = sample_palette();
    palette[3] = 0xAB000001;  // a top byte that is not zero survives
    const auto first = write_palette_file("first_pal.dat", palette);
    testing::write_bytes(dir / "bigf.dat", std::vector<std::uint8_t>(294912, 2));
    click(Command::import_from_pal, first);
    click(Command::import_from_bigf, dir / "bigf.dat");
    EXPECT_EQ(editor->bigf.get_pixel(10, 10), palette[2]);

    click(Command::save_to_pal, dir / "copy_pal.dat");
    EXPECT_EQ(testing::read_bytes(dir / "copy_pal.dat"), testing::read_bytes(first));
    write_palette_file("other_pal.dat", Palette{});
    click(Command::import_from_pal, dir / "other_pal.dat");
    EXPECT_EQ(editor->bigf.get_pixel(10, 10), 0u);  // drawn in the new palette
    EXPECT_EQ(editor->pal.get_pixel(2, 0), 0u);
    EXPECT_EQ(editor->pal_preview.get_pixel(23, 7), 0u);

    click(Command::import_from_pal, dir / "copy_pal.dat");
    EXPECT_EQ(ws().pal_colors, palette);
    EXPECT_EQ(editor->bigf.get_pixel(10, 10), palette[2]);
    EXPECT_EQ(editor->pal.get_pixel(5, 1), palette[21]);
    EXPECT_EQ(editor->pal_preview.get_pixel(8 * 5 + 7, 8 * 1), palette[21]);
    expect_no_messages();
}

TEST_F(CommandEffects, ExportsWriteTheViewsPictures) {
    testing::write_bytes(dir / "bigf.dat", {});
    click(Command::import_from_bigf, dir / "bigf.dat");
    EXPECT_EQ(editor->bigf.get_pixel(255, 1151), 0u);  // empty file: all black
    click(Command::save_bigf_to_bitmap, dir / "bigf.bmp");
    EXPECT_EQ(size_of("bigf.bmp"), 1179702u);

    click(Command::build_cliff, std::nullopt);
    click(Command::cliff_save_to_bitmap, dir / "cliff.bmp");
    EXPECT_EQ(size_of("cliff.bmp"), 32822u);

    click(Command::import_from_pal, write_palette_file("p_pal.dat", sample_palette()));
    click(Command::save_pal_to_bitmap, dir / "pal.bmp");
    EXPECT_EQ(size_of("pal.bmp"), 1078u);
    expect_no_messages();
}

TEST_F(CommandEffects, ExportIntoAMissingFolderIsReported) {
    click(Command::build_cliff, std::nullopt);
    const auto target = dir / "nowhere" / "cliff.bmp";
    click(Command::cliff_save_to_bitmap, target);
    EXPECT_EQ(port.errors, Names{"Cannot create file " + utf8_of(target) + "."});
}

TEST_F(CommandEffects, PaletteFromPictureRoundTripsAnExport) {
    const Palette palette = sample_palette();
    click(Command::import_from_pal, write_palette_file("p_pal.dat", palette));
    click(Command::save_pal_to_bitmap, dir / "pal.bmp");
    ws().pal_colors.fill(0);
    click(Command::import_pal_from_bitmap, dir / "pal.bmp");
    EXPECT_EQ(ws().pal_colors, palette);
    expect_no_messages();
}

TEST_F(CommandEffects, PaletteFromLargePictureShowsItWholeInThePreview) {
    // 32 x 32: left half red, right half blue; only the top-left 16 x 16 becomes the palette.
    const auto bmp =
        write_bmp("big.BMP", 32, 32, 32, [](int x, int) { return x < 16 ? red : blue; });
    click(Command::import_pal_from_bitmap, bmp);
    expect_no_messages();
    for (const Color c : ws().pal_colors) {
        ASSERT_EQ(c, red);
    }
    EXPECT_EQ(editor->pal_preview.get_pixel(10, 10), red);
    EXPECT_EQ(editor->pal_preview.get_pixel(120, 10), blue);
}

TEST_F(CommandEffects, PaletteFromPictureErrorsLeaveThePaletteAlone) {
    ws().pal_colors.fill(0x00010203);
    testing::write_bytes(dir / "junk.bmp", std::vector<std::uint8_t>(20, 'x'));
    const struct {
        std::filesystem::path path;
        std::string error;
    } cases[] = {
        // A message ending in ")" gets no full stop.
        {dir / "picture.gif", "Unknown picture file extension (.gif)"},
        {dir / "noext", "Unknown picture file extension (.)"},
        {dir / "junk.bmp", "Bitmap image is not valid. (" + utf8_of(dir / "junk.bmp") + ")"},
        {dir / "gone.bmp", "Cannot open file " + utf8_of(dir / "gone.bmp") + "."},
    };
    for (const auto& c : cases) {
        click(Command::import_pal_from_bitmap, c.path);
        EXPECT_EQ(port.errors, Names{c.error});
        EXPECT_TRUE(port.refreshed.empty());
        EXPECT_EQ(ws().pal_colors[200], 0x00010203u);
    }
}

TEST_F(CommandEffects, BigfFromPictureKeepsTheLoadedPictureInItsView) {
    Palette palette{};
    palette[150] = blue;
    click(Command::import_from_pal, write_palette_file("p_pal.dat", palette));
    const auto bmp =
        write_bmp("pic.bmp", 100, 100, 24, [](int x, int) { return x < 50 ? green : blue; });
    click(Command::import_bigf_from_bitmap, bmp);
    expect_no_messages();
    EXPECT_EQ(ws().pal_colors[1], green);
    EXPECT_EQ(ws().pal_colors[2], CLR_INVALID);
    EXPECT_EQ(ws().pal_colors[150], blue);
    EXPECT_EQ(ws().bigf_data[10], 1);
    EXPECT_EQ(ws().bigf_data[60], 150);
    EXPECT_EQ(ws().bigf_data[100], 2);
    EXPECT_EQ(editor->bigf.get_pixel(120, 0), CLR_INVALID);  // not redrawn from indices
    EXPECT_EQ(editor->pal.get_pixel(1, 0), green);
    EXPECT_EQ(editor->pal_preview.get_pixel(8, 0), green);
    EXPECT_EQ(editor->cliff.picture_kind(), PictureKind::none);

    click(Command::save_bigf_to_bitmap, dir / "out.bmp");
    EXPECT_EQ(size_of("out.bmp"), 54u + 300u * 100u);  // the loaded size and format
}

TEST_F(CommandEffects, CliffFromPictureRedrawsInPaletteColours) {
    Palette palette{};
    palette[0] = make_color(1, 2, 3);
    palette[6] = make_color(200, 10, 10);
    click(Command::import_from_pal, write_palette_file("p_pal.dat", palette));
    const auto bmp = write_bmp("c.bmp", 128, 64, 24, [](int x, int) {
        return x == 0 ? make_color(209, 1, 19) : make_color(100, 100, 100);
    });
    click(Command::import_cliff_from_bitmap, bmp);
    expect_no_messages();
    EXPECT_EQ(ws().cliff_data[0], 6);
    EXPECT_EQ(ws().cliff_data[1], 0);
    EXPECT_EQ(editor->cliff.get_pixel(0, 0), palette[6]);
    EXPECT_EQ(editor->cliff.get_pixel(1, 0), palette[0]);
    EXPECT_EQ(ws().pal_colors, palette);

    testing::write_bytes(dir / "bad.bmp", std::vector<std::uint8_t>(5, 'B'));
    click(Command::import_cliff_from_bitmap, dir / "bad.bmp");
    EXPECT_EQ(port.errors, Names{"Stream read error. (" + utf8_of(dir / "bad.bmp") + ")"});
    EXPECT_EQ(ws().cliff_data[0], 6);
    EXPECT_TRUE(port.refreshed.empty());
}

TEST_F(CommandEffects, BuildCliffDrawsTheGeneratedTexture) {
    click(Command::build_cliff, std::nullopt);
    EXPECT_EQ(ws().cliff_data[20 * 128 + 3], 255);
    EXPECT_EQ(ws().cliff_data[63 * 128 + 127], 136);
    EXPECT_EQ(editor->cliff.get_pixel(3, 20), 0u);  // entry 255 of the empty palette
    EXPECT_TRUE(port.requests.empty());
}

}  // namespace
}  // namespace vlt

// What imports say they lost, and the mended exports and loads that used to lose data silently.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/editor_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::EditorTest;
using testing::read_bytes;
using testing::write_bytes;
using Texts = std::vector<std::string>;

class ImportReport : public EditorTest {
protected:
    std::filesystem::path bmp(const std::string& name, int width, int height,
                              const std::function<Color(int, int)>& pixel,
                              std::size_t cut_bytes = 0) {
        auto bytes = testing::build_bmp(width, height, 24, pixel);
        bytes.resize(bytes.size() - cut_bytes);
        write_bytes(dir / name, bytes);
        return dir / name;
    }
    // The warnings of the last click, which shows them all at once or none.
    Texts warnings() const {
        EXPECT_LE(port.warnings.size(), 1u);
        return port.warnings.empty() ? Texts{} : port.warnings.front();
    }
};

// Distinct colours, none black: k = 0, 1, 2, ...
Color colour(int k) {
    return make_color(static_cast<std::uint8_t>(k % 200 + 1), static_cast<std::uint8_t>(k / 200),
                      77);
}

TEST_F(ImportReport, ExportOfAViewWithoutPicturesWritesNothingAndSaysSo) {
    const struct {
        Command command;
        const char* view;
    } cases[] = {
        {Command::save_pal_to_bitmap, "pal"},
        {Command::cliff_save_to_bitmap, "cliff"},
        {Command::save_bigf_to_bitmap, "bigf"},
    };
    write_bytes(dir / "kept.bmp", {'o', 'l', 'd'});
    for (const auto& c : cases) {
        click(c.command, dir / "kept.bmp");
        EXPECT_EQ(port.errors, Texts{"Nothing to export: the " + std::string(c.view) +
                                     " view holds no picture."});
    }
    editor->cliff.bitmap_access();  // the empty picture
    click(Command::cliff_save_to_bitmap, dir / "kept.bmp");
    EXPECT_EQ(port.errors.size(), 1u);
    EXPECT_EQ(read_bytes(dir / "kept.bmp"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(editor->pal.picture_kind(), PictureKind::none);
    EXPECT_EQ(editor->bigf.picture_kind(), PictureKind::none);

    // Later redraws fill the views as usual.
    write_bytes(dir / "bigf.dat", std::vector<std::uint8_t>(294912, 0));
    click(Command::import_from_bigf, dir / "bigf.dat");
    EXPECT_EQ(editor->bigf.bitmap()->width(), bigf_width);
}

TEST_F(ImportReport, FailedOrRefusedPictureImportsLeaveEverythingAsItWas) {
    write_bytes(dir / "junk.bmp", std::vector<std::uint8_t>(30, 'j'));
    write_bytes(dir / "empty.bmp", {});
    std::vector<std::uint8_t> icon(22, 0);  // one image of 0 bytes: a valid icon
    icon[2] = icon[4] = 1;
    write_bytes(dir / "valid.ico", icon);
    write_bytes(dir / "broken.ico", {0, 0, 1, 0, 1});
    const struct {
        Command command;
        const char* file;
        const char* error;
    } cases[] = {
        {Command::import_bigf_from_bitmap, "junk.bmp", "Bitmap image is not valid."},
        {Command::import_cliff_from_bitmap, "junk.bmp", "Bitmap image is not valid."},
        {Command::import_pal_from_bitmap, "junk.bmp", "Bitmap image is not valid."},
        {Command::import_bigf_from_bitmap, "empty.bmp", "The picture has no pixels."},
        {Command::import_cliff_from_bitmap, "empty.bmp", "The picture has no pixels."},
        {Command::import_pal_from_bitmap, "empty.bmp", "The picture has no pixels."},
        {Command::import_pal_from_bitmap, "valid.ico", "The picture has no pixels."},
        {Command::import_pal_from_bitmap, "broken.ico", "Icon image is not valid."},
    };
    ws().pal_colors.fill(0x00123456);
    ws().bigf_data.fill(3);
    const auto before = std::make_unique<Workspace>(ws());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        click(c.command, dir / c.file);
        EXPECT_EQ(port.errors, Texts{c.error});
        EXPECT_TRUE(port.refreshed.empty());
        EXPECT_EQ(ws().pal_colors, before->pal_colors);
        EXPECT_EQ(ws().bigf_data, before->bigf_data);
        EXPECT_EQ(ws().cliff_data, before->cliff_data);
        for (const testing::ViewState& view : view_states()) {
            EXPECT_EQ(view.kind, PictureKind::none);
        }
    }
    // A view that had no picture still has none, so its redraw fills it as usual.
    click(Command::build_cliff, std::nullopt);
    EXPECT_EQ(editor->cliff.bitmap()->width(), cliff_width);
}

TEST_F(ImportReport, BigfSurplusColoursAndPixelsAreCounted) {
    click(Command::import_bigf_from_bitmap,
          bmp("bands.bmp", bigf_width, bigf_height, testing::colour_bands_150));
    EXPECT_EQ(warnings(),
              Texts{"39 colours did not fit in palette entries 1 to 111: 76,800 pixels were "
                    "painted black."});

    // 200 x 50 of 150 colours, all met in the top row: the last 39 and the FFFFFFFF read to the
    // right of it find no room.
    click(Command::import_bigf_from_bitmap,
          bmp("small.bmp", 200, 50, [](int x, int) { return colour(x % 150); }));
    EXPECT_EQ(warnings(),
              (Texts{"40 colours did not fit in palette entries 1 to 111: 286,862 pixels were "
                     "painted black.",
                     "The picture is 200 x 50; the texture is 256 x 1152: 284,912 pixels outside "
                     "the picture were read as FFFFFFFF."}));

    click(Command::import_bigf_from_bitmap,
          bmp("one.bmp", 256, 1152, [](int x, int y) { return x + y == 0 ? colour(111) : 0; }));
    EXPECT_EQ(warnings(), Texts{});
}

TEST_F(ImportReport, CliffAndPaletteSayWhatTheyCouldNotRead) {
    ws().pal_colors[9] = make_color(100, 100, 100);
    // 100 x 100, the top row grey, the rest red: the red and the FFFFFFFF find no entry.
    click(Command::import_cliff_from_bitmap, bmp("c.bmp", 100, 100, [](int, int y) {
              return y == 0 ? make_color(105, 95, 100) : make_color(255, 0, 0);
          }));
    EXPECT_EQ(warnings(),
              (Texts{"8,092 pixels matched no palette colour within 9 in each channel and took "
                     "index 0.",
                     "The picture is 100 x 100; the texture is 128 x 64: 1,792 pixels outside "
                     "the picture were read as FFFFFFFF."}));
    EXPECT_EQ(ws().cliff_data[5], 9);

    click(Command::import_pal_from_bitmap, bmp("p.bmp", 10, 20, [](int, int) { return 0u; }));
    EXPECT_EQ(warnings(), Texts{"The picture is 10 x 20; the palette is read from 16 x 16: 96 "
                                "pixels outside the picture were read as FFFFFFFF."});
}

TEST_F(ImportReport, PixelDataCutShortIsCounted) {
    const auto pixel = [](int x, int) { return colour(x); };
    const struct {
        Command command;
        std::size_t cut;
        const char* warning;
    } cases[] = {
        {Command::import_pal_from_bitmap, 100,
         "The pixel data is 100 bytes short: the missing pixels were read as zero."},
        {Command::import_cliff_from_bitmap, 1,
         "The pixel data is 1 byte short: the missing pixels were read as zero."},
    };
    for (const auto& c : cases) {
        click(c.command, bmp("cut.bmp", 128, 64, pixel, c.cut));
        ASSERT_FALSE(warnings().empty());
        EXPECT_EQ(warnings().back(), c.warning);
    }
}

TEST_F(ImportReport, DataFilesOfAnotherLengthAreReported) {
    const struct {
        Command command;
        std::size_t length;
        const char* warning;  // none for a file of the right length
    } cases[] = {
        {Command::import_from_pal, 512,
         "The file is 512 bytes; a palette file is 1,024 bytes: bytes from 512 on kept their old "
         "values."},
        {Command::import_from_pal, 1024, nullptr},
        {Command::import_from_pal, 0, "The file is empty; nothing was loaded."},
        {Command::import_from_bigf, 300000,
         "The file is 300,000 bytes; a bigf file is 294,912 bytes: bytes from 294,912 on were "
         "ignored."},
        {Command::import_from_ciff, 1,
         "The file is 1 byte; a cliff file is 8,192 bytes: bytes from 1 on kept their old "
         "values."},
    };
    for (const auto& c : cases) {
        write_bytes(dir / "file.dat", std::vector<std::uint8_t>(c.length, 1));
        click(c.command, dir / "file.dat");
        EXPECT_EQ(warnings(), c.warning ? Texts{c.warning} : Texts{}) << c.length;
        EXPECT_FALSE(port.refreshed.empty());  // redrawn all the same
    }
}

}  // namespace
}  // namespace vlt

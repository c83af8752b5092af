// What imports say they lost, and the mended exports and loads that used to lose data silently.
#include <gtest/gtest.h>

#include "base/path_text.h"
#include "commands/editor_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::read_bytes;
using testing::write_bytes;
using Texts = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

class ImportReport : public testing::EditorTest {
protected:
    // The warnings of the last click, which shows them all at once or none.
    Texts warnings() const {
        EXPECT_LE(port.warnings.size(), 1u);
        return port.warnings.empty() ? Texts{} : port.warnings.front();
    }
};

TEST_F(ImportReport, ExportOfAViewWithoutPicturesWritesNothingAndSaysSo) {
    write_bytes(dir / "kept.bmp", {'o', 'l', 'd'});
    editor->cliff.bitmap_access();  // the empty picture; the others have none
    for (const auto& [command, view] : {std::pair{Command::save_pal_to_bitmap, "pal"},
                                        {Command::cliff_save_to_bitmap, "cliff"},
                                        {Command::save_bigf_to_bitmap, "bigf"}}) {
        click(command, dir / "kept.bmp");
        EXPECT_EQ(port.errors,
                  Texts{"Nothing to export: the " + std::string(view) + " view holds no picture."});
    }
    EXPECT_EQ(read_bytes(dir / "kept.bmp"), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(editor->pal.picture_kind(), PictureKind::none);
    EXPECT_EQ(editor->bigf.picture_kind(), PictureKind::none);
}

TEST_F(ImportReport, FailedOrRefusedPictureImportsLeaveEverythingAsItWas) {
    write_bytes(dir / "junk.bmp", Bytes(30, 'j'));
    write_bytes(dir / "empty.bmp", {});
    Bytes icon(22, 0);  // one image of 0 bytes: a valid icon
    icon[2] = icon[4] = 1;
    write_bytes(dir / "valid.ico", icon);
    write_bytes(dir / "broken.ico", {0, 0, 1, 0, 1});
    const struct {
        Command command;
        const char* file;
        const char* error;
    } cases[] = {
        {Command::import_bigf_from_bitmap, "junk.bmp", "Bitmap image is not valid. (JUNK)"},
        {Command::import_cliff_from_bitmap, "junk.bmp", "Bitmap image is not valid. (JUNK)"},
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
        std::string error = c.error;
        if (const auto junk = error.find("JUNK"); junk != std::string::npos) {
            error.replace(junk, 4, utf8_of(dir / c.file));
        }
        EXPECT_EQ(port.errors, Texts{error});
        EXPECT_TRUE(port.refreshed.empty());
        EXPECT_EQ(ws().pal_colors, before->pal_colors);
        EXPECT_EQ(ws().bigf_data, before->bigf_data);
        EXPECT_EQ(ws().cliff_data, before->cliff_data);
        EXPECT_EQ(view_states(), std::vector<testing::ViewState>(4));
    }
    // A view that had no picture still has none, so its redraw fills it as usual.
    click(Command::build_cliff, std::nullopt);
    EXPECT_EQ(editor->cliff.bitmap()->width(), cliff_width);
}

// Distinct colours, none black: k = 0, 1, 2, ...
Color colour(int k) {
    return make_color(static_cast<std::uint8_t>(k + 1), 100, 77);
}

TEST_F(ImportReport, PictureImportsSayWhatTheyLost) {
    ws().pal_colors[200] = make_color(100, 100, 100);  // kept by the bigf imports
    const struct {
        Command command;
        int width, height;
        std::function<Color(int, int)> pixel;
        std::size_t cut;  // bytes off the file's end
        Texts warnings;
    } cases[] = {
        {Command::import_bigf_from_bitmap,
         256,
         1152,
         testing::colour_bands_150,
         0,
         {"39 colours did not fit in palette entries 1 to 111: 76,800 pixels were painted "
          "black."}},
        // All 150 colours in the top row: the last 39 and the FFFFFFFF to its right find no room.
        {Command::import_bigf_from_bitmap,
         200,
         50,
         [](int x, int) { return colour(x % 150); },
         0,
         {"40 colours did not fit in palette entries 1 to 111: 286,862 pixels were painted black.",
          "The picture is 200 x 50; the texture is 256 x 1152: 284,912 pixels outside the "
          "picture were read as FFFFFFFF."}},
        {Command::import_bigf_from_bitmap,
         256,
         1152,
         [](int x, int y) { return colour(y == 0 && x <= 111 ? x : 0); },
         0,
         {"1 colour did not fit in palette entries 1 to 111: 1 pixel was painted black."}},
        // A grey top row near entry 200; red and FFFFFFFF near nothing.
        {Command::import_cliff_from_bitmap,
         100,
         100,
         [](int, int y) { return y == 0 ? make_color(105, 95, 100) : make_color(255, 0, 0); },
         0,
         {"8,092 pixels matched no palette colour within 9 in each channel and took index 0.",
          "The picture is 100 x 100; the texture is 128 x 64: 1,792 pixels outside the picture "
          "were read as FFFFFFFF."}},
        {Command::import_pal_from_bitmap,
         10,
         20,
         [](int, int) { return 0u; },
         100,
         {"The picture is 10 x 20; the palette is read from 16 x 16: 96 pixels outside the "
          "picture were read as FFFFFFFF.",
          "The pixel data is 100 bytes short: the missing pixels were read as zero."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        auto bytes = testing::build_bmp(c.width, c.height, 24, c.pixel);
        bytes.resize(bytes.size() - c.cut);
        write_bytes(dir / "picture.bmp", bytes);
        click(c.command, dir / "picture.bmp");
        EXPECT_EQ(warnings(), c.warnings);
    }
    EXPECT_EQ(ws().cliff_data[5], 200);
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
        write_bytes(dir / "file.dat", Bytes(c.length, 1));
        click(c.command, dir / "file.dat");
        EXPECT_EQ(warnings(), c.warning ? Texts{c.warning} : Texts{}) << c.length;
        EXPECT_FALSE(port.refreshed.empty());  // redrawn all the same
    }
}

}  // namespace
}  // namespace vlt

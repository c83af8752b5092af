// The PNG reader's own choices and its refusals, and the writer's files read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/picture_error.h"
#include "pictures/png_reader.h"
#include "pictures/png_writer.h"
#include "support/png_builder.h"

namespace vlt {
namespace {

using testing::PngBuilder;

// A 2 x 2 RGB picture: red, green / blue, white.
std::vector<std::uint8_t> small_rgb() {
    return PngBuilder()
        .ihdr(2, 2, 8, 2)
        .idat({0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255})
        .iend()
        .bytes();
}

// The detail a PictureError gives, or what else happened.
std::string failure_of(const std::vector<std::uint8_t>& file) {
    try {
        read_png(file);
    } catch (const PictureError& e) {
        return std::string(e.what()) + ": " + e.detail();
    } catch (const std::exception& e) {
        return std::string("other: ") + e.what();
    }
    return "read";
}

TEST(PngReader, TrueColourBecomesDisplayFormatTheRightWayUp) {
    const PngRead read = read_png(small_rgb());
    EXPECT_EQ(read.picture.bits_per_pixel(), 32);
    EXPECT_EQ(read.picture.get_pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(read.picture.get_pixel(1, 0), make_color(0, 255, 0));
    EXPECT_EQ(read.picture.get_pixel(0, 1), make_color(0, 0, 255));
    EXPECT_FALSE(read.had_transparency);
}

TEST(PngReader, SixteenBitChannelsRoundToNearest) {
    // 0x807F rounds up to 0x80, 0x807E... 0x8080 * 255 / 65535 = 128.0: rounding, not cutting.
    const PngRead read = read_png(PngBuilder()
                                      .ihdr(1, 1, 16, 2)
                                      .idat({0, 0x80, 0x7F, 0x00, 0xFF, 0xFF, 0x7F})
                                      .iend()
                                      .bytes());
    EXPECT_EQ(read.picture.get_pixel(0, 0), make_color(128, 1, 255));
}

TEST(PngReader, TransparencyIsDroppedAndNoted) {
    const PngRead read =
        read_png(PngBuilder().ihdr(1, 1, 8, 6).idat({0, 10, 20, 30, 128}).iend().bytes());
    EXPECT_EQ(read.picture.get_pixel(0, 0), make_color(10, 20, 30));
    EXPECT_TRUE(read.had_transparency);
}

TEST(PngReader, PaletteKeepsIndicesAndTableAtTwoBits) {
    const PngRead read = read_png(PngBuilder()
                                      .ihdr(5, 1, 2, 3)
                                      .chunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})
                                      .chunk("tRNS", {255, 0})
                                      .idat({0, 0b00011011, 0b10000000})
                                      .iend()
                                      .bytes());
    const Bitmap& p = read.picture;
    ASSERT_EQ(p.bits_per_pixel(), 8);
    ASSERT_EQ(p.color_table().size(), 4u);
    EXPECT_EQ(p.color_table()[1], (RgbQuad{6, 5, 4, 0}));
    const std::vector<std::uint8_t> row(p.row(0), p.row(0) + 5);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{0, 1, 2, 3, 2}));
    EXPECT_TRUE(read.had_transparency);  // entry 1 is transparent and used
}

TEST(PngReader, BrokenAndHostileFilesGiveTheirReason) {
    std::vector<std::uint8_t> truncated = small_rgb();
    truncated.resize(truncated.size() - 20);
    std::vector<std::uint8_t> bad_crc = small_rgb();
    bad_crc[29] ^= 1;  // IHDR's CRC
    // 40 MiB of zeros inflating from a few kilobytes in a compressed text.
    std::vector<std::uint8_t> text{'k', 0, 0};
    const std::vector<std::uint8_t> bomb =
        PngBuilder::deflate(std::vector<std::uint8_t>(40 << 20), 1);
    text.insert(text.end(), bomb.begin(), bomb.end());

    const struct {
        const char* what;
        std::vector<std::uint8_t> file;
        std::string failure;
    } cases[] = {
        {"truncated", truncated, "PNG image is not valid: the file ends early"},
        {"bad CRC", bad_crc, "PNG image is not valid: CRC error"},
        {"huge", PngBuilder().ihdr(100000, 100000, 8, 2).iend().bytes(),
         "Out of system resources: 100000 x 100000 pixels"},
        {"no signature", std::vector<std::uint8_t>(40, 'B'),
         "PNG image is not valid: no PNG signature"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failure_of(c.file), c.failure) << c.what;
    }
    EXPECT_EQ(failure_of(PngBuilder()
                             .ihdr(2, 2, 8, 2)
                             .chunk("zTXt", text)
                             .idat(std::vector<std::uint8_t>(14))
                             .iend()
                             .bytes()),
              "PNG image is not valid: a chunk too large");
    // Image data beyond the picture's own is never inflated.
    const std::vector<std::uint8_t> long_data =
        PngBuilder::deflate(std::vector<std::uint8_t>(40 << 20), 1);
    EXPECT_EQ(failure_of(PngBuilder().ihdr(2, 2, 8, 2).chunk("IDAT", long_data).iend().bytes()),
              "read");
}

TEST(PngWriter, IndexedFileKeepsThePaletteInOrderAndTheIndices) {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] =
            make_color(static_cast<std::uint8_t>(255 - i), 7, static_cast<std::uint8_t>(i));
    }
    const std::vector<std::uint8_t> indices{0, 255, 17, 17, 3, 200};
    const Bitmap p = read_png(encode_indexed_png(indices, 3, 2, palette)).picture;
    ASSERT_EQ(p.color_table().size(), 256u);
    EXPECT_EQ(p.color_table()[254], (RgbQuad{254, 7, 1, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(p.row(1), p.row(1) + 3),
              (std::vector<std::uint8_t>{17, 3, 200}));
}

TEST(PngWriter, AnyPictureIsWrittenAsItsColours) {
    Bitmap picture(3, 2, 24);
    picture.set_pixel(2, 1, make_color(1, 2, 3));
    const Bitmap p = read_png(encode_png(picture)).picture;
    EXPECT_EQ(p.get_pixel(2, 1), make_color(1, 2, 3));
    EXPECT_EQ(p.get_pixel(0, 0), 0u);
    EXPECT_TRUE(encode_png(Bitmap()).empty());
}

TEST(PngWriter, PathsEndingInPngInAnyCase) {
    EXPECT_TRUE(is_png_path("a/t.png"));
    EXPECT_TRUE(is_png_path("T.PnG"));
    EXPECT_FALSE(is_png_path("t.bmp"));
    EXPECT_FALSE(is_png_path("png"));
    EXPECT_FALSE(is_png_path("dir.png/t"));
}

}  // namespace
}  // namespace vlt

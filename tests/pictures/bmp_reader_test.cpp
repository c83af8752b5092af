#include "pictures/bmp_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "pictures/bmp_bytes.h"
#include "pictures/bmp_stream_reader.h"
#include "support/span_source.h"

namespace vlt {
namespace {

using testing::add16;
using testing::add32;
using testing::bmp_file;
using testing::Bytes;
using testing::core_header;
using testing::info_header;
using testing::InfoHeader;
using testing::quads;

std::string read_error_of(const Bytes& file) {
    try {
        read_bmp(file);
    } catch (const Exception& e) {
        return e.what();
    }
    return "(loaded)";
}

Bytes with_header_size(std::uint32_t size, std::size_t bytes_after = 0) {
    Bytes file = {'B', 'M'};
    file.resize(14, 0);
    add32(file, size);
    file.resize(file.size() + bytes_after, 0);
    return file;
}

Bytes bitfields_header(std::uint32_t size, std::uint16_t bits) {
    return info_header({.size = size, .bits = bits, .compression = 3});
}

struct BrokenCase {
    const char* name;
    Bytes file;
    const char* message;
};

const char* const read_error = "Stream read error";
const char* const not_valid = "Bitmap image is not valid";
const char* const no_resources =
    "The picture is too large: its pixels would take more than 256 MiB";

std::vector<BrokenCase> broken_cases() {
    const Bytes no_pixels;
    return {
        {"one byte", {'B'}, read_error},
        {"thirteen bytes", Bytes(13, 'B'), read_error},
        {"not BM", Bytes(14, 'x'), not_valid},
        {"no header size", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, read_error},
        {"header size cut", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0}, read_error},
        {"header size 16, judged before the rest", with_header_size(16), not_valid},
        {"header size 39", with_header_size(39, 100), not_valid},
        {"header size 4097", with_header_size(4097, 5000), not_valid},
        {"header size 4096 cut short", with_header_size(4096, 100), read_error},
        {"info header cut short", with_header_size(40, 30), read_error},
        {"core header cut short", with_header_size(12, 7), read_error},
        {"planes 2", bmp_file(info_header({.planes = 2}), {}, Bytes(4)), not_valid},
        {"core planes 0", bmp_file(core_header(1, 1, 24, 0), {}, Bytes(4)), not_valid},
        {"masks cut short", bmp_file(bitfields_header(40, 16), {}, Bytes(11)), read_error},
        {"bitfields header 44", bmp_file(bitfields_header(44, 16), {}, Bytes(16)), not_valid},
        {"bitfields header 51", bmp_file(bitfields_header(51, 32), {}, Bytes(16)), not_valid},
        {"257 colours, judged before any entry",
         bmp_file(info_header({.bits = 8, .colors_used = 257}), {}, no_pixels), not_valid},
        {"300 colours at 24 bits",
         bmp_file(info_header({.colors_used = 300}), Bytes(1200), Bytes(4)), not_valid},
        {"colour table cut short", bmp_file(info_header({.bits = 8}), Bytes(1023), {}), read_error},
        {"core colour table cut short", bmp_file(core_header(1, 1, 4), Bytes(47), {}), read_error},
        {"2 bits", bmp_file(info_header({.bits = 2}), Bytes(8), Bytes(4)), not_valid},
        {"0 bits", bmp_file(info_header({.bits = 0}), {}, Bytes(4)), not_valid},
        {"64 bits", bmp_file(info_header({.bits = 64}), {}, Bytes(8)), not_valid},
        {"compression 4", bmp_file(info_header({.compression = 4}), {}, Bytes(4)), not_valid},
        {"compression 5", bmp_file(info_header({.compression = 5}), {}, Bytes(4)), not_valid},
        {"compression 6", bmp_file(info_header({.bits = 32, .compression = 6}), {}, Bytes(4)),
         not_valid},
        {"bitfields at 24 bits", bmp_file(info_header({.compression = 3}), {}, Bytes(4)),
         not_valid},
        {"bitfields at 8 bits", bmp_file(bitfields_header(40, 8), Bytes(1024), Bytes(4)),
         not_valid},
        {"RLE8 at 4 bits", bmp_file(info_header({.bits = 4, .compression = 1}), Bytes(64), {}),
         not_valid},
        {"RLE4 at 8 bits", bmp_file(info_header({.bits = 8, .compression = 2}), Bytes(1024), {}),
         not_valid},
        {"RLE8 top-down",
         bmp_file(info_header({.height = -1, .bits = 8, .compression = 1}), Bytes(1024), {}),
         not_valid},
        {"width 0", bmp_file(info_header({.width = 0}), {}, {}), not_valid},
        {"width negative", bmp_file(info_header({.width = -3}), {}, {}), not_valid},
        {"height 0", bmp_file(info_header({.height = 0}), {}, {}), not_valid},
        {"core width 0", bmp_file(core_header(0, 1, 24), {}, {}), not_valid},
        {"store over 256 MiB",
         bmp_file(info_header({.width = 16384, .height = 4097, .bits = 32}), {}, {}), no_resources},
        {"top-down store over 256 MiB",
         bmp_file(info_header({.width = 1, .height = INT32_MIN, .bits = 32}), {}, {}),
         no_resources},
        {"widest 32-bit row", bmp_file(info_header({.width = INT32_MAX, .bits = 32}), {}, {}),
         no_resources},
        {"RLE store counts 4 bytes a pixel",
         bmp_file(info_header({.width = 65536, .height = 1025, .bits = 8, .compression = 1}),
                  Bytes(1024), {}),
         no_resources},
    };
}

TEST(BmpReaderErrors, EachBrokenFileGivesItsMessage) {
    for (const BrokenCase& c : broken_cases()) {
        EXPECT_EQ(read_error_of(c.file), c.message) << c.name;
    }
}

TEST(BmpReaderErrors, StoreOfExactlyTheLimitIsAccepted) {
    // 1 bit over 2^31 - 1 columns rounds up to exactly 256 MiB.
    const Bitmap picture = read_bmp(bmp_file(info_header({.width = INT32_MAX, .bits = 1}),
                                             quads({0, 0xFFFFFF}), Bytes(4, 0xFF)));
    EXPECT_EQ(picture.pixels().size(), max_pixel_store_bytes);
    EXPECT_EQ(picture.get_pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(picture.get_pixel(40, 0), 0u);  // beyond the file's bytes: zero, entry 0
}

TEST(BmpReader, EmptyFileIsTheEmptyPicture) {
    const Bitmap picture = read_bmp({});
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(picture.width(), 0);
}

TEST(BmpReader, EightBitTableCountsAndPixelStart) {
    Bytes table(1024, 0);
    table[4 * 7 + 2] = 0x80;  // entry 7 red 0x80
    const Bitmap full = read_bmp(bmp_file(info_header({.bits = 8}), table, {7, 0, 0, 0}));
    EXPECT_EQ(full.color_table().size(), 256u);
    EXPECT_EQ(full.attributes.file_color_count, 256u);
    EXPECT_EQ(full.get_pixel(0, 0), 0x80u);

    Bytes small(table.begin(), table.begin() + 64);
    const Bitmap sixteen =
        read_bmp(bmp_file(info_header({.bits = 8, .colors_used = 16}), small, {7, 0, 0, 0}));
    EXPECT_EQ(sixteen.color_table().size(), 16u);
    EXPECT_EQ(sixteen.get_pixel(0, 0), 0x80u);
}

TEST(BmpReader, AttributesComeFromTheFile) {
    const Bitmap picture = read_bmp(bmp_file(
        info_header(
            {.bits = 8, .x_pels = 2835, .y_pels = -7, .colors_used = 2, .colors_important = 1}),
        Bytes{1, 2, 3, 4, 5, 6, 7, 8}, {1, 0, 0, 0}));
    EXPECT_EQ(picture.attributes.form, HeaderForm::info);
    EXPECT_EQ(picture.attributes.x_pels_per_meter, 2835);
    EXPECT_EQ(picture.attributes.y_pels_per_meter, -7);
    EXPECT_EQ(picture.attributes.file_color_count, 2u);
    EXPECT_EQ(picture.attributes.file_important_colors, 1u);
    // Info-form entries keep their reserved byte.
    EXPECT_EQ(picture.color_table()[1], (RgbQuad{5, 6, 7, 8}));
}

TEST(BmpReader, PixelsFollowTheTableUnlessTheOffsetPointsFurther) {
    const Bytes table = quads({0x000000, 0x0000FF, 0x00FF00});
    const InfoHeader h{.bits = 8, .colors_used = 3};
    // The gap's 0xEE bytes must not be taken as pixels.
    EXPECT_EQ(read_bmp(bmp_file(info_header(h), table, {2, 0, 0, 0}, 6)).get_pixel(0, 0),
              0x00FF00u);

    // An offset past the end of the file, or inside the table, is ignored.
    for (std::uint32_t offset : {1000u, 20u}) {
        Bytes file = bmp_file(info_header(h), table, {1, 0, 0, 0});
        file[10] = static_cast<std::uint8_t>(offset);
        file[11] = static_cast<std::uint8_t>(offset >> 8);
        EXPECT_EQ(read_bmp(file).get_pixel(0, 0), 0xFF0000u) << offset;
    }
}

TEST(BmpReader, ShortPixelDataLeavesTopRowsAtEntryZero) {
    const Bytes table = quads({0x123456, 0xFFFFFF});
    const Bitmap picture =
        read_bmp(bmp_file(info_header({.width = 1, .height = 3, .bits = 8, .colors_used = 2}),
                          table, {1, 1, 1, 1, 1}));
    EXPECT_EQ(picture.get_pixel(0, 2), 0xFFFFFFu);  // bottom row, first in the file
    EXPECT_EQ(picture.get_pixel(0, 1), 0xFFFFFFu);  // one byte of it is there
    EXPECT_EQ(picture.get_pixel(0, 0), 0x563412u);
}

TEST(BmpReader, UncompressedRowsAreReadWhateverSizeImageSays) {
    const Bytes pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    const Bitmap small =
        read_bmp(bmp_file(info_header({.width = 1, .height = 2, .size_image = 4}), {}, pixels));
    EXPECT_EQ(small.get_pixel(0, 1), 0x010203u);
    EXPECT_EQ(small.get_pixel(0, 0), 0x040506u);
    const Bitmap large = read_bmp(
        bmp_file(info_header({.width = 1, .height = 2, .size_image = 100000}), {}, pixels));
    EXPECT_EQ(large.get_pixel(0, 0), 0x040506u);
}

TEST(BmpReader, SaysHowManyPixelBytesTheFileLacked) {
    const Bytes eight = {1, 2, 3, 0, 4, 5, 6, 0};
    const struct {
        const char* name;
        Bytes file;
        std::uint64_t missing;
    } cases[] = {
        {"cut short", bmp_file(info_header({.width = 1, .height = 2}), {}, {1, 2, 3}), 5},
        {"no pixels", bmp_file(info_header({.width = 3, .height = -2}), {}, {}), 24},
        {"short biSizeImage, whole file",
         bmp_file(info_header({.width = 1, .height = 2, .size_image = 4}), {}, eight), 0},
        {"short biSizeImage, short file",
         bmp_file(info_header({.width = 1, .height = 2, .size_image = 4}), {}, {1, 2, 3, 0, 4}), 3},
        {"run-length, cut short",
         bmp_file(info_header({.width = 8, .height = 4, .bits = 8, .compression = 1}),
                  Bytes(1024, 0), {2, 1}),
         0},
    };
    for (const auto& c : cases) {
        testing::SpanSource source(c.file);
        EXPECT_EQ(read_bmp_from(source).missing_pixel_bytes, c.missing) << c.name;
    }
}

TEST(BmpReader, TopDownReadsTheRightWayUp) {
    const Bitmap picture = read_bmp(
        bmp_file(info_header({.width = 1, .height = -2}), {}, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0}));
    EXPECT_EQ(picture.row_order(), RowOrder::top_down);
    EXPECT_EQ(picture.height(), 2);
    EXPECT_EQ(picture.get_pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(picture.get_pixel(0, 1), 0xFF0000u);
}

TEST(BmpReader, CoreFormTablesHaveThreeByteEntries) {
    const Bitmap indexed =
        read_bmp(bmp_file(core_header(2, 1, 1), {1, 2, 3, 4, 5, 6}, {0x40, 0, 0, 0}));
    EXPECT_EQ(indexed.attributes.form, HeaderForm::core);
    EXPECT_EQ(indexed.row_order(), RowOrder::bottom_up);
    ASSERT_EQ(indexed.color_table().size(), 2u);
    EXPECT_EQ(indexed.color_table()[1], (RgbQuad{4, 5, 6, 0}));
    EXPECT_EQ(indexed.get_pixel(0, 0), 0x010203u);
    EXPECT_EQ(indexed.get_pixel(1, 0), 0x040506u);

    const Bitmap rgb = read_bmp(bmp_file(core_header(1, 1, 24), {}, {1, 2, 3, 0}));
    EXPECT_TRUE(rgb.color_table().empty());
    EXPECT_EQ(rgb.compression(), Compression::rgb);
    EXPECT_EQ(rgb.get_pixel(0, 0), 0x010203u);
}

TEST(BmpReader, MasksAfterA40ByteHeaderOrInsideALargerOne) {
    Bytes masks;
    for (std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) {
        add32(masks, m);
    }
    Bytes big_header = bitfields_header(56, 16);
    std::copy(masks.begin(), masks.end(), big_header.begin() + 40);
    for (const Bytes& file : {bmp_file(bitfields_header(40, 16), masks, {0x00, 0xF8, 0, 0}),
                              bmp_file(big_header, {}, {0x00, 0xF8, 0, 0})}) {
        const Bitmap picture = read_bmp(file);
        EXPECT_EQ(picture.compression(), Compression::bitfields);
        EXPECT_EQ(picture.masks(), (BitMasks{0xF800, 0x07E0, 0x001F}));
        EXPECT_EQ(picture.get_pixel(0, 0), 0x0000FFu);
    }
}

TEST(BmpReader, TableBesideTrueColourIsKept) {
    const Bitmap picture =
        read_bmp(bmp_file(info_header({.colors_used = 2}), quads({1, 2}), {1, 2, 3, 0}));
    EXPECT_EQ(picture.color_table().size(), 2u);
    EXPECT_EQ(picture.get_pixel(0, 0), 0x010203u);
}

}  // namespace
}  // namespace vlt

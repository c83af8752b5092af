#include <gtest/gtest.h>

#include <string>

#include "pictures/bmp_bytes.h"
#include "pictures/bmp_reader.h"

namespace vlt {
namespace {

using testing::bmp_file;
using testing::Bytes;
using testing::info_header;
using testing::quads;

// Entry 0 is the background every pixel starts with; index 5 lies beyond the table.
const Bytes table = quads({0x102030, 0xFF0000, 0x00FF00, 0x0000FF});

char letter_of(Color c) {
    switch (c) {
        case 0x302010:
            return '.';
        case 0x0000FF:
            return 'r';
        case 0x00FF00:
            return 'g';
        case 0xFF0000:
            return 'b';
        case 0:
            return 'k';
        default:
            return '?';
    }
}

// Rows top first, one letter a pixel.
std::vector<std::string> rows_of(const Bitmap& picture) {
    std::vector<std::string> rows;
    for (int y = 0; y < picture.height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.width(); ++x) {
            row += letter_of(picture.get_pixel(x, y));
        }
        rows.push_back(row);
    }
    return rows;
}

Bitmap decode(int bits, int width, int height, const Bytes& data, bool with_size = true) {
    const std::uint32_t compression = bits == 8 ? 1 : 2;
    return read_bmp(
        bmp_file(info_header({.width = width,
                              .height = height,
                              .bits = static_cast<std::uint16_t>(bits),
                              .compression = compression,
                              .size_image = with_size ? static_cast<std::uint32_t>(data.size()) : 0,
                              .colors_used = 4}),
                 table, data));
}

struct RleCase {
    const char* name;
    int bits;
    int width;
    int height;
    Bytes data;
    std::vector<std::string> rows;  // top row first
};

TEST(RleDecoding, CodesPaintAndSkipAsExpected) {
    const std::vector<RleCase> cases = {
        {"runs and ends of line",
         8,
         4,
         3,
         {2, 1, 0, 0, 4, 2, 0, 0, 1, 3, 0, 1},
         {"b...", "gggg", "rr.."}},
        {"run past the row's end is dropped",
         8,
         4,
         2,
         {6, 1, 1, 2, 0, 0, 1, 3, 0, 1},
         {"b...", "rrrr"}},
        {"delta skips pixels", 8, 4, 2, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1}, {"...g", "r..."}},
        {"delta past the last row ends", 8, 4, 2, {0, 2, 0, 2, 1, 1}, {"....", "...."}},
        {"end of line past the last row ends", 8, 2, 2, {0, 0, 0, 0, 0, 0, 1, 1}, {"..", ".."}},
        {"absolute run padded to 16 bits", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 1, 0, 1}, {"rgbr"}},
        {"index beyond the table is black", 8, 4, 1, {0, 4, 3, 2, 1, 5, 0, 1}, {"bgrk"}},
        {"absolute run cut short", 8, 4, 1, {0, 5, 1, 2}, {"rg.."}},
        {"run missing its colour", 8, 4, 1, {1, 1, 2}, {"r..."}},
        {"delta missing its offsets", 8, 4, 1, {1, 1, 0, 2, 1}, {"r..."}},
        {"end of bitmap stops", 8, 4, 1, {1, 1, 0, 1, 1, 2}, {"r..."}},
        {"no data", 8, 2, 1, {}, {".."}},
        {"RLE4 run alternates nibbles", 4, 6, 1, {5, 0x12}, {"rgrgr."}},
        {"RLE4 absolute run padded", 4, 6, 1, {0, 5, 0x12, 0x31, 0x20, 0, 1, 0x33}, {"rgbrgb"}},
        {"RLE4 absolute run cut short", 4, 6, 1, {0, 5, 0x12}, {"rg...."}},
        {"RLE4 delta then run", 4, 6, 2, {0, 2, 4, 1, 2, 0x35}, {"....bk", "......"}},
    };
    for (const RleCase& c : cases) {
        EXPECT_EQ(rows_of(decode(c.bits, c.width, c.height, c.data)), c.rows) << c.name;
    }
}

TEST(RleDecoding, WithoutSizeImageReadsRowLengthTimesHeight) {
    // Row length 8 bytes: the run after the eighth byte is never read.
    const Bytes data = {1, 1, 1, 1, 1, 1, 1, 1, 4, 2};
    EXPECT_EQ(rows_of(decode(8, 8, 1, data, false)), std::vector<std::string>{"rrrr...."});
}

TEST(RleDecoding, GivesABottomUpDisplayFormatPictureWithTheTable) {
    Bytes file = bmp_file(info_header({.width = 2,
                                       .height = 1,
                                       .bits = 8,
                                       .compression = 1,
                                       .x_pels = 100,
                                       .colors_used = 4}),
                          table, {2, 1, 0, 1});
    const Bitmap picture = read_bmp(file);
    EXPECT_EQ(picture.bits_per_pixel(), 32);
    EXPECT_EQ(picture.compression(), Compression::rgb);
    EXPECT_EQ(picture.row_order(), RowOrder::bottom_up);
    EXPECT_EQ(picture.color_table().size(), 4u);
    EXPECT_EQ(picture.attributes.x_pels_per_meter, 100);
    EXPECT_EQ(picture.attributes.form, HeaderForm::info);
    EXPECT_EQ(picture.get_pixel(1, 0), 0x0000FFu);
}

}  // namespace
}  // namespace vlt

#include "pictures/bmp_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "pictures/bmp_bytes.h"
#include "pictures/bmp_reader.h"

namespace vlt {
namespace {

using testing::add32;
using testing::bmp_file;
using testing::Bytes;
using testing::core_header;
using testing::get16;
using testing::get32;
using testing::info_header;
using testing::InfoHeader;
using testing::quads;

// The info header's fields of a written file, by their offsets in it.
struct Written {
    const Bytes& b;
    std::uint32_t file_size() const { return get32(b, 2); }
    std::uint32_t offset() const { return get32(b, 10); }
    std::uint32_t header_size() const { return get32(b, 14); }
    std::int32_t height() const { return static_cast<std::int32_t>(get32(b, 22)); }
    std::uint16_t bits() const { return get16(b, 28); }
    std::uint32_t compression() const { return get32(b, 30); }
    std::uint32_t size_image() const { return get32(b, 34); }
    std::uint32_t x_pels() const { return get32(b, 38); }
    std::uint32_t y_pels() const { return get32(b, 42); }
    std::uint32_t colors_used() const { return get32(b, 46); }
    std::uint32_t colors_important() const { return get32(b, 50); }
};

Bytes reencode(const Bytes& file) {
    Bitmap picture = read_bmp(file);
    return encode_bmp(picture);
}

TEST(BmpWriter, ViewMadePicturesHave54BytesOfHeaders) {
    struct Case {
        int width, height;
        std::size_t file_size;
    };
    for (const Case c : {Case{16, 16, 1078}, Case{128, 64, 32822}, Case{256, 1152, 1179702}}) {
        Bitmap picture = Bitmap::make_display(c.width, c.height, 0x00FFFFFF);
        picture.set_pixel(0, c.height - 1, 0x000000FF);  // bottom-left: the first pixel written
        const Bytes out = encode_bmp(picture);
        const Written w{out};
        ASSERT_EQ(out.size(), c.file_size);
        EXPECT_EQ(out[0], 'B');
        EXPECT_EQ(out[1], 'M');
        EXPECT_EQ(w.file_size(), c.file_size);
        EXPECT_EQ(get32(out, 6), 0u);  // both reserved words
        EXPECT_EQ(w.offset(), 54u);
        EXPECT_EQ(w.header_size(), 40u);
        EXPECT_EQ(get32(out, 18), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(w.height(), c.height);
        EXPECT_EQ(get16(out, 26), 1u);
        EXPECT_EQ(w.bits(), 32u);
        EXPECT_EQ(w.compression(), 0u);
        EXPECT_EQ(w.size_image(), c.file_size - 54);
        EXPECT_EQ(w.x_pels() | w.y_pels() | w.colors_used() | w.colors_important(), 0u);
        EXPECT_EQ(get32(out, 54), 0x00FF0000u);  // blue, green, red, fourth byte
        EXPECT_EQ(picture.attributes.file_color_count, 0u);
    }
}

TEST(BmpWriter, EightBitPictureKeepsItsTable) {
    Bytes table = quads({0x010203, 0x040506});
    table.resize(64, 0);
    table[7] = 0x99;  // reserved byte of entry 1
    const Bytes out = reencode(bmp_file(
        info_header(
            {.bits = 8, .x_pels = 11, .y_pels = 12, .colors_used = 16, .colors_important = 5}),
        table, {1, 0, 0, 0}));
    const Written w{out};
    EXPECT_EQ(w.offset(), 54u + 4 * 16);
    EXPECT_EQ(w.bits(), 8u);
    EXPECT_EQ(w.colors_used(), 16u);
    EXPECT_EQ(w.colors_important(), 0u);
    EXPECT_EQ(w.x_pels(), 11u);
    EXPECT_EQ(w.y_pels(), 12u);
    EXPECT_EQ(Bytes(out.begin() + 54, out.begin() + 118), table);
    EXPECT_EQ(w.file_size(), out.size());
}

TEST(BmpWriter, CoreFormIsWrittenBackInCoreForm) {
    struct Case {
        std::uint16_t bits;
        std::size_t table_bytes;
        std::uint32_t offset;
    };
    for (const Case c : {Case{8, 768, 794}, Case{4, 48, 74}, Case{1, 6, 32}, Case{24, 0, 26}}) {
        const Bytes file =
            bmp_file(core_header(300, 2, c.bits), Bytes(c.table_bytes, 0x42), Bytes(2000, 1));
        const Bytes out = reencode(file);
        EXPECT_EQ(get32(out, 10), c.offset) << c.bits;
        EXPECT_EQ(get32(out, 14), 12u);
        EXPECT_EQ(get16(out, 18), 300u);
        EXPECT_EQ(get16(out, 20), 2u);
        EXPECT_EQ(get16(out, 24), c.bits);
        // Header and table exactly as read.
        EXPECT_EQ(Bytes(out.begin() + 14, out.begin() + c.offset),
                  Bytes(file.begin() + 14, file.begin() + c.offset));
    }
}

TEST(BmpWriter, ExtraTableGoesOutWithReservedBytesZero) {
    const Bytes out =
        reencode(bmp_file(info_header({.colors_used = 16}), Bytes(64, 0x77), {1, 2, 3, 0}));
    const Written w{out};
    EXPECT_EQ(w.colors_used(), 16u);
    EXPECT_EQ(w.offset(), 54u + 64);
    EXPECT_EQ(get32(out, 54), 0x00777777u);
}

TEST(BmpWriter, MasksAreWrittenAsRead) {
    Bytes masks;
    for (std::uint32_t m : {0x7C00u, 0x03E0u, 0x001Fu}) {
        add32(masks, m);
    }
    Bytes large = info_header({.size = 108, .bits = 16, .compression = 3});
    std::copy(masks.begin(), masks.end(), large.begin() + 40);
    for (const Bytes& file :
         {bmp_file(info_header({.bits = 16, .compression = 3}), masks, {1, 2, 0, 0}),
          bmp_file(large, {}, {1, 2, 0, 0})}) {
        const Bytes out = reencode(file);
        const Written w{out};
        EXPECT_EQ(w.offset(), 66u);
        EXPECT_EQ(w.header_size(), 40u);
        EXPECT_EQ(w.compression(), 3u);
        EXPECT_EQ(Bytes(out.begin() + 54, out.begin() + 66), masks);
    }
}

TEST(BmpWriter, RunLengthPictureIsWrittenUncompressed) {
    const Bytes out = reencode(
        bmp_file(info_header({.width = 3, .height = 2, .bits = 8, .compression = 1, .x_pels = 9}),
                 Bytes(1024, 5), {3, 1, 0, 1}));
    const Written w{out};
    EXPECT_EQ(w.offset(), 1078u);
    EXPECT_EQ(w.bits(), 32u);
    EXPECT_EQ(w.compression(), 0u);
    EXPECT_EQ(w.colors_used(), 256u);
    EXPECT_EQ(w.x_pels(), 9u);
    EXPECT_EQ(w.size_image(), 4u * 3 * 2);
    EXPECT_EQ(out.size(), 1078u + 24);
}

TEST(BmpWriter, TopDownIsWrittenTopDown) {
    const Bytes pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    const Bytes out = reencode(bmp_file(info_header({.width = 1, .height = -2}), {}, pixels));
    EXPECT_EQ(Written{out}.height(), -2);
    EXPECT_EQ(Bytes(out.begin() + 54, out.end()), pixels);
}

TEST(BmpWriter, EmptyPictureWritesNothing) {
    Bitmap empty;
    EXPECT_TRUE(encode_bmp(empty).empty());
}

// Pictures of every format with random sizes, tables and bytes come back byte for byte.
TEST(BmpWriter, RandomPicturesRoundTrip) {
    std::mt19937 random(20261208);
    const int formats[][2] = {{1, 0}, {4, 0}, {8, 0}, {16, 0}, {16, 3}, {24, 0}, {32, 0}, {32, 3}};
    for (int round = 0; round < 200; ++round) {
        const auto [bits, compression] = formats[random() % std::size(formats)];
        const bool core = compression == 0 && random() % 3 == 0;
        const bool top_down = !core && random() % 2 == 0;
        Bitmap picture(1 + random() % 40, 1 + random() % 40, bits,
                       top_down ? RowOrder::top_down : RowOrder::bottom_up);
        for (std::uint8_t& byte : picture.pixels()) {
            byte = static_cast<std::uint8_t>(random());
        }
        if (compression == 3) {
            picture.set_bitfields({static_cast<std::uint32_t>(random()),
                                   static_cast<std::uint32_t>(random()),
                                   static_cast<std::uint32_t>(random())});
        }
        const std::size_t entries = core ? (bits <= 8 ? std::size_t{1} << bits : 0)
                                         : (bits <= 8 ? 1 + random() % 256 : random() % 257);
        std::vector<RgbQuad> table(entries);
        for (RgbQuad& q : table) {
            q = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                 static_cast<std::uint8_t>(random()),
                 static_cast<std::uint8_t>(core || bits > 8 ? 0 : random())};
        }
        picture.set_color_table(table);
        picture.attributes.form = core ? HeaderForm::core : HeaderForm::info;
        picture.attributes.x_pels_per_meter = static_cast<std::int32_t>(random());
        const Bitmap back = read_bmp(encode_bmp(picture));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(back.width(), picture.width());
        ASSERT_EQ(back.height(), picture.height());
        EXPECT_EQ(back.bits_per_pixel(), bits);
        EXPECT_EQ(back.row_order(), picture.row_order());
        EXPECT_EQ(back.compression(), picture.compression());
        EXPECT_EQ(back.masks(), picture.masks());
        EXPECT_EQ(back.color_table(), picture.color_table());
        EXPECT_EQ(back.attributes.form, picture.attributes.form);
        EXPECT_TRUE(std::equal(back.pixels().begin(), back.pixels().end(), picture.pixels().begin(),
                               picture.pixels().end()));
        if (!core) {
            EXPECT_EQ(back.attributes.x_pels_per_meter, picture.attributes.x_pels_per_meter);
        }
    }
}

}  // namespace
}  // namespace vlt

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "conversions/indices_from_picture.h"

namespace vlt {
namespace {

constexpr Color red = make_color(255, 0, 0);
constexpr Color green = make_color(0, 255, 0);
constexpr Color blue = make_color(0, 0, 255);
constexpr Color grey = make_color(9, 9, 9);

RgbQuad quad(Color c) {
    return {blue_of(c), green_of(c), red_of(c), 0};
}

// A 4 x 1 picture of `bits` bits per pixel with the given table and indices.
Bitmap indexed(int bits, std::vector<Color> table, std::vector<std::uint8_t> indices) {
    Bitmap picture(4, 1, bits);
    std::vector<RgbQuad> quads;
    for (const Color c : table) {
        quads.push_back(quad(c));
    }
    picture.set_color_table(quads);
    for (int x = 0; x < 4; ++x) {
        const int per_byte = 8 / bits;
        const int shift = 8 - bits * (x % per_byte + 1);
        picture.row(0)[x / per_byte] |= static_cast<std::uint8_t>(indices[x] << shift);
    }
    return picture;
}

struct Result {
    std::vector<std::uint8_t> indices;
    Palette palette;
    std::uint64_t other_colour_pixels;
};

Result import(const Bitmap& picture, PictureTable table, std::uint8_t fill = 0) {
    Palette palette{};
    palette[0] = red;
    palette[1] = green;
    palette[2] = blue;
    palette[3] = red;  // the same colour twice
    std::vector<std::uint8_t> texture(4, fill);
    const IndexTarget target{texture, 4, 1, "import_x_indices", "import_x_from_bitmap"};
    const IndicesReport report = indices_from_picture(picture, target, palette, table);
    return {texture, palette, report.other_colour_pixels};
}

TEST(IndicesFromPicture, MapsThroughTheTableToThePalette) {
    const struct {
        const char* what;
        Bitmap picture;
        std::vector<std::uint8_t> indices;
        std::uint64_t other_colour_pixels;
    } cases[] = {
        {"table is the palette",
         indexed(8, {red, green, blue, red}, {3, 2, 1, 0}),
         {3, 2, 1, 0},
         0},
        {"reordered table", indexed(8, {blue, red, green}, {0, 1, 2, 0}), {2, 0, 1, 2}, 0},
        {"colour not in the palette", indexed(4, {grey, green}, {0, 1, 0, 1}), {0, 1, 0, 1}, 2},
        {"index beyond the table", indexed(8, {red}, {0, 5, 0, 0}), {0, 5, 0, 0}, 1},
        {"one bit", indexed(1, {green, red}, {1, 0, 0, 1}), {0, 1, 1, 0}, 0},
    };
    for (const auto& c : cases) {
        const Result result = import(c.picture, PictureTable::map_to_palette);
        EXPECT_EQ(result.indices, c.indices) << c.what;
        EXPECT_EQ(result.other_colour_pixels, c.other_colour_pixels) << c.what;
        EXPECT_EQ(result.palette[2], blue) << c.what;  // never changed
    }
}

TEST(IndicesFromPicture, TakingThePaletteKeepsEveryIndex) {
    const Result result =
        import(indexed(8, {grey, blue}, {1, 0, 1, 1}), PictureTable::take_into_palette);
    EXPECT_EQ(result.indices, (std::vector<std::uint8_t>{1, 0, 1, 1}));
    EXPECT_EQ(result.palette[0], grey);
    EXPECT_EQ(result.palette[1], blue);
    EXPECT_EQ(result.palette[2], blue);  // beyond the table: as it was
    EXPECT_EQ(result.palette[3], red);
}

TEST(IndicesFromPicture, RefusesWhatAnotherImportTakes) {
    const struct {
        const char* what;
        Bitmap picture;
        std::string message;
    } cases[] = {
        {"true colour", Bitmap(4, 1, 24),
         "The picture is not indexed: import_x_indices takes an indexed picture of 4 x 1; "
         "import_x_from_bitmap takes true-colour pictures."},
        {"another size", Bitmap(5, 2, 8),
         "The picture is 5 x 2: import_x_indices takes an indexed picture of 4 x 1; "
         "import_x_from_bitmap takes pictures of other sizes."},
    };
    for (const auto& c : cases) {
        Bitmap picture = c.picture;
        if (picture.bits_per_pixel() == 8) {
            picture.set_color_table({quad(red)});
        }
        try {
            import(picture, PictureTable::take_into_palette, 7);
            ADD_FAILURE() << c.what;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.what;
        }
    }
}

}  // namespace
}  // namespace vlt

// Every picture of the shared PNG suite, read by the PNG reader and by Pillow: the same colours,
// and a palette picture's indices as the file holds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pictures/png_reader.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

// A python3 with Pillow (Debian: python3-pil), or nothing.
std::string pillow_python() {
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        const std::string probe = std::string(candidate) + " -c \"import PIL\" >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) {
            return candidate;
        }
    }
    return {};
}

void expect_colours(const std::string& name, const Bitmap& picture,
                    const std::vector<std::uint8_t>& rgb, int tolerance) {
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(picture.width()) * picture.height() * 3) << name;
    std::size_t at = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x, at += 3) {
            const Color c = picture.get_pixel(x, y);
            const int got[3] = {red_of(c), green_of(c), blue_of(c)};
            for (int channel = 0; channel < 3; ++channel) {
                ASSERT_LE(std::abs(got[channel] - rgb[at + channel]), tolerance)
                    << name << " at " << x << "," << y << " channel " << channel;
            }
        }
    }
}

void expect_indices(const std::string& name, const Bitmap& picture,
                    const std::vector<std::uint8_t>& indices) {
    ASSERT_EQ(picture.bits_per_pixel(), 8) << name;
    std::size_t at = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x, ++at) {
            ASSERT_EQ(picture.row(y)[x], indices[at]) << name << " at " << x << "," << y;
        }
        // Rows are decoded into the store as it comes: the padding a BMP export writes is zero.
        const std::uint8_t* row = picture.row(y);
        ASSERT_TRUE(std::all_of(row + picture.width(), row + picture.row_stride(),
                                [](std::uint8_t b) { return b == 0; }))
            << name << " row " << y;
    }
}

TEST(PngSuite, EveryFileReadsAsPillowReadsIt) {
    const fs::path suite = fs::path(VLT_TESTDATA_DIR) / "pngsuite";
    if (!fs::is_directory(suite)) {
        GTEST_SKIP() << "no PNG suite at " << suite;
    }
    const std::string python = pillow_python();
    if (python.empty()) {
        GTEST_SKIP() << "no python3 with Pillow";
    }
    testing::TempDir dumps;
    const std::string command = python + " \"" + VLT_PILLOW_PIXELS + "\" \"" + suite.string() +
                                "\" \"" + dumps.path().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream index(dumps / "index.txt");
    int files = 0;
    std::string name;
    int width = 0, height = 0, tolerance = 0;
    while (index >> name >> width >> height >> tolerance) {
        SCOPED_TRACE(name);
        ++files;
        const PngRead read = read_png(testing::read_bytes(suite / (name + ".png")));
        ASSERT_EQ(read.picture.width(), width);
        ASSERT_EQ(read.picture.height(), height);
        expect_colours(name, read.picture, testing::read_bytes(dumps / (name + ".rgb")), tolerance);
        if (fs::exists(dumps / (name + ".idx"))) {
            expect_indices(name, read.picture, testing::read_bytes(dumps / (name + ".idx")));
        }
    }
    EXPECT_GT(files, 100);
}

}  // namespace
}  // namespace vlt

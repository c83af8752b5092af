// Runs the shared BMP test pictures through the reader and the writer, as their manifest says.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/errors.h"
#include "pictures/bmp_reader.h"
#include "pictures/bmp_writer.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string file;
    bool loads = false;
    std::string message;
    int width = 0;
    int height = 0;
    std::string reference;  // empty when there is none
    int tolerance = 0;
};

fs::path suite_dir() {
    return fs::path(VLT_TESTDATA_DIR) / "bmpsuite";
}

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    fields.resize(6);
    return fields;
}

// "name.ppm ±N" gives the reference and the largest channel difference.
void parse_reference(const std::string& text, Entry& entry) {
    const std::size_t space = text.find(' ');
    if (text.empty() || space == std::string::npos) {
        return;
    }
    entry.reference = text.substr(0, space);
    entry.tolerance = std::stoi(text.substr(text.find_first_of("0123456789", space)));
}

std::vector<Entry> read_manifest() {
    std::ifstream in(suite_dir() / "MANIFEST.tsv");
    std::vector<Entry> entries;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        const auto f = split_tabs(line);
        Entry e;
        e.file = f[0];
        e.loads = f[1] == "load";
        e.message = f[2];
        if (e.loads) {
            e.width = std::stoi(f[3]);
            e.height = std::stoi(f[4]);
            parse_reference(f[5], e);
        }
        entries.push_back(e);
    }
    return entries;
}

struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

Ppm read_ppm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int max_value = 0;
    Ppm ppm;
    in >> magic >> ppm.width >> ppm.height >> max_value;
    in.get();  // the single white space before the samples
    ppm.rgb.resize(static_cast<std::size_t>(ppm.width) * ppm.height * 3);
    in.read(reinterpret_cast<char*>(ppm.rgb.data()), static_cast<std::streamsize>(ppm.rgb.size()));
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(max_value, 255);
    return ppm;
}

int largest_difference(const Bitmap& picture, const Ppm& ppm) {
    int largest = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Color c = picture.get_pixel(x, y);
            const std::uint8_t* p = &ppm.rgb[(static_cast<std::size_t>(y) * ppm.width + x) * 3];
            largest = std::max({largest, std::abs(red_of(c) - p[0]), std::abs(green_of(c) - p[1]),
                                std::abs(blue_of(c) - p[2])});
        }
    }
    return largest;
}

std::string outcome_of(const Entry& e, Bitmap& picture) {
    try {
        picture = read_bmp(testing::read_bytes(suite_dir() / e.file));
    } catch (const Exception& error) {
        return error.what();
    }
    return "load";
}

class BmpSuite : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(suite_dir() / "MANIFEST.tsv")) {
            GTEST_SKIP() << "no BMP test pictures at " << suite_dir().string();
        }
        entries_ = read_manifest();
        ASSERT_GT(entries_.size(), 50u);
    }
    std::vector<Entry> entries_;
};

TEST_F(BmpSuite, EveryFileGivesTheManifestOutcome) {
    for (const Entry& e : entries_) {
        SCOPED_TRACE(e.file);
        Bitmap picture;
        const std::string outcome = outcome_of(e, picture);
        if (!e.loads) {
            EXPECT_EQ(outcome, e.message);
            continue;
        }
        ASSERT_EQ(outcome, "load");
        EXPECT_EQ(picture.width(), e.width);
        EXPECT_EQ(picture.height(), e.height);
        if (!e.reference.empty()) {
            const Ppm ppm = read_ppm(suite_dir() / "ref" / e.reference);
            ASSERT_EQ(ppm.width, picture.width());
            ASSERT_EQ(ppm.height, picture.height());
            EXPECT_LE(largest_difference(picture, ppm), e.tolerance);
        }
    }
}

// Written and read again, every loadable file keeps its pixels, and its attributes where the
// writer keeps them; run-length files come back uncompressed.
TEST_F(BmpSuite, EveryLoadableFileSurvivesWriteAndRead) {
    for (const Entry& e : entries_) {
        if (!e.loads) {
            continue;
        }
        SCOPED_TRACE(e.file);
        Bitmap picture;
        ASSERT_EQ(outcome_of(e, picture), "load");
        const Bitmap back = read_bmp(encode_bmp(picture));
        ASSERT_EQ(back.width(), picture.width());
        ASSERT_EQ(back.height(), picture.height());
        EXPECT_EQ(back.bits_per_pixel(), picture.bits_per_pixel());
        EXPECT_EQ(back.row_order(), picture.row_order());
        EXPECT_EQ(back.compression(), picture.compression());
        EXPECT_EQ(back.masks(), picture.masks());
        EXPECT_EQ(back.attributes.form, picture.attributes.form);
        EXPECT_EQ(back.attributes.x_pels_per_meter, picture.attributes.x_pels_per_meter);
        EXPECT_EQ(back.attributes.y_pels_per_meter, picture.attributes.y_pels_per_meter);
        EXPECT_TRUE(std::equal(back.pixels().begin(), back.pixels().end(), picture.pixels().begin(),
                               picture.pixels().end()));
        if (picture.attributes.form == HeaderForm::info) {
            // Extra tables come back with reserved bytes 0; compare colours only.
            ASSERT_EQ(back.color_table().size(), picture.color_table().size());
            for (std::size_t i = 0; i < back.color_table().size(); ++i) {
                const RgbQuad a = back.color_table()[i], b = picture.color_table()[i];
                EXPECT_TRUE(a.red == b.red && a.green == b.green && a.blue == b.blue) << i;
            }
        }
    }
}

}  // namespace
}  // namespace vlt

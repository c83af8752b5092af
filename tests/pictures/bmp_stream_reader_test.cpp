// The reader that reads a stream in two steps against the one that reads a span, on the shared
// BMP pictures, cut short at several points and with bytes appended.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "pictures/bmp_bytes.h"
#include "pictures/bmp_reader.h"
#include "support/largest_allocation.h"
#include "support/span_source.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

// Everything a read gives: the picture, or the message of the error it raised.
struct Outcome {
    std::optional<Bitmap> picture;
    std::string error;
};

template <typename Read>
Outcome outcome_of(Read read) {
    try {
        return {read(), {}};
    } catch (const Exception& e) {
        return {std::nullopt, e.what()};
    }
}

void expect_same(const Outcome& streamed, const Outcome& copying, const std::string& label) {
    ASSERT_EQ(streamed.error, copying.error) << label;
    if (!copying.picture) {
        return;
    }
    const Bitmap& a = *streamed.picture;
    const Bitmap& c = *copying.picture;
    EXPECT_EQ(a.width(), c.width()) << label;
    EXPECT_EQ(a.height(), c.height()) << label;
    EXPECT_EQ(a.bits_per_pixel(), c.bits_per_pixel()) << label;
    EXPECT_EQ(a.row_order(), c.row_order()) << label;
    EXPECT_EQ(a.compression(), c.compression()) << label;
    EXPECT_EQ(a.masks(), c.masks()) << label;
    EXPECT_EQ(a.color_table(), c.color_table()) << label;
    EXPECT_EQ(a.attributes.file_color_count, c.attributes.file_color_count) << label;
    EXPECT_EQ(a.attributes.x_pels_per_meter, c.attributes.x_pels_per_meter) << label;
    EXPECT_TRUE(std::ranges::equal(a.pixels(), c.pixels())) << label;
}

std::vector<std::vector<std::uint8_t>> variants(const std::vector<std::uint8_t>& file) {
    std::vector<std::vector<std::uint8_t>> out{file};
    for (const std::size_t cut : {file.size() / 2, file.size() - 1, std::size_t{60}}) {
        if (cut < file.size()) {
            out.emplace_back(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
        }
    }
    out.push_back(file);
    out.back().resize(file.size() * 3, 0xAB);  // trailing bytes that are no pixels
    return out;
}

TEST(BmpStreamReader, GivesWhatTheSpanReaderGives) {
    const fs::path suite = fs::path(VLT_TESTDATA_DIR) / "bmpsuite";
    if (!fs::is_directory(suite)) {
        GTEST_SKIP() << "no BMP pictures at " << suite;
    }
    int files = 0;
    for (const auto& item : fs::recursive_directory_iterator(suite)) {
        if (item.path().extension() != ".bmp") {
            continue;
        }
        ++files;
        for (const auto& bytes : variants(testing::read_bytes(item.path()))) {
            const std::string label =
                item.path().filename().string() + " (" + std::to_string(bytes.size()) + " bytes)";
            const Outcome copying = outcome_of([&] { return read_bmp(bytes); });
            testing::SpanSource source(bytes);
            expect_same(outcome_of([&] { return read_bmp_from(source).picture; }), copying, label);
        }
    }
    EXPECT_GT(files, 10);
}

// A run-length header's data size is only a claim: a 60-byte file claiming 4 GB once made the
// stream reader reserve the largest store there may be (256 MiB) before reading a byte.
TEST(BmpStreamReader, ReservesNoMoreThanRunLengthDataHolds) {
    using namespace vlt::testing;
    const Bytes file = bmp_file(
        info_header({.width = 4, .height = 2, .bits = 8, .compression = 1, .size_image = ~0u}),
        Bytes(1024), {0x04, 0x07, 0x00, 0x01});
    SpanSource source(file);
    Bitmap picture;
    std::size_t largest = 0;
    {
        const LargestAllocation watch;
        picture = read_bmp_from(source).picture;
        largest = watch.bytes();
    }
    EXPECT_EQ(picture.width(), 4);
    EXPECT_LE(largest, std::size_t{64} << 10);  // one reading step at most
}

}  // namespace
}  // namespace vlt

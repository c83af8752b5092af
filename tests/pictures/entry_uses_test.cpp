#include "pictures/entry_uses.h"

#include <gtest/gtest.h>

#include <numeric>

#include "workspace/workspace.h"

namespace vlt {
namespace {

TEST(EntryUses, CountsEveryEntryOfAKnownTexture) {
    // The cliff texture with row y holding entry y (64 rows of 128).
    Workspace ws;
    for (std::size_t i = 0; i < ws.cliff_data.size(); ++i) {
        ws.cliff_data[i] = static_cast<std::uint8_t>(i / cliff_width);
    }
    ws.cliff_data[5] = 255;
    const EntryCounts counts = entry_use_counts(ws.cliff_data);
    EXPECT_EQ(counts[0], 127u);
    EXPECT_EQ(counts[1], 128u);
    EXPECT_EQ(counts[63], 128u);
    EXPECT_EQ(counts[64], 0u);
    EXPECT_EQ(counts[255], 1u);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), std::size_t{0}),
              ws.cliff_data.size());
    EXPECT_EQ(entry_use_counts(ws.bigf_data)[0], ws.bigf_data.size());
}

TEST(EntryUses, PixelsOfAnEntryInScanOrder) {
    const std::uint8_t texture[] = {7, 1, 7,   //
                                    2, 7, 2,   //
                                    7};        // a partial last row
    struct Case {
        int width;
        std::uint8_t entry;
        std::vector<PixelPlace> places;
    };
    const Case cases[] = {
        {3, 7, {{0, 0}, {2, 0}, {1, 1}, {0, 2}}},
        {3, 2, {{0, 1}, {2, 1}}},
        {3, 9, {}},
        {7, 7, {{0, 0}, {2, 0}, {4, 0}, {6, 0}}},
        {0, 7, {}},
        {-3, 7, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pixels_of_entry(texture, c.width, c.entry), c.places)
            << "width " << c.width << ", entry " << int{c.entry};
    }
}

}  // namespace
}  // namespace vlt

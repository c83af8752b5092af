#include "conversions/cliff_from_picture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "conversions/picture_helpers.h"

namespace vlt {
namespace {

struct ClosenessCase {
    Color pixel;
    Color entry;
    bool close;
};

class CliffCloseness : public ::testing::TestWithParam<ClosenessCase> {};

TEST_P(CliffCloseness, EachChannelMayDifferByAtMostNine) {
    const auto& c = GetParam();
    EXPECT_EQ(is_close_color(c.pixel, c.entry), c.close);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliffCloseness,
    ::testing::Values(ClosenessCase{make_color(109, 109, 109), make_color(100, 100, 100), true},
                      ClosenessCase{make_color(91, 91, 91), make_color(100, 100, 100), true},
                      ClosenessCase{make_color(110, 100, 100), make_color(100, 100, 100), false},
                      ClosenessCase{make_color(100, 90, 100), make_color(100, 100, 100), false},
                      ClosenessCase{make_color(100, 100, 110), make_color(100, 100, 100), false},
                      // no wrap-around at the ends of a channel
                      ClosenessCase{make_color(250, 0, 0), make_color(4, 0, 0), false},
                      ClosenessCase{make_color(0, 0, 0), make_color(255, 0, 0), false},
                      // the top byte plays no part
                      ClosenessCase{CLR_INVALID, 0x00F6F6F6, true},
                      ClosenessCase{0x00F5FFFF, CLR_INVALID, false}),
    [](const auto& info) {
        // "6D6D6D_646464_close": pixel and entry in hex, and the outcome.
        char name[64];
        std::snprintf(name, sizeof name, "%X_%X_%s", info.param.pixel, info.param.entry,
                      info.param.close ? "close" : "far");
        return std::string(name);
    });

class CliffFromPicture : public ::testing::Test {
protected:
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    View cliff{"cliff", cliff_width, cliff_height};

    std::uint8_t index_at(int x, int y) const {
        return workspace->cliff_data[static_cast<std::size_t>(y * cliff_width + x)];
    }
    void set_entry(int i, Color c) { workspace->pal_colors[static_cast<std::size_t>(i)] = c; }
};

TEST_F(CliffFromPicture, FirstCloseEntryWinsAndNoneGivesZero) {
    for (int i = 0; i < palette_size; ++i) {
        set_entry(i, make_color(0, 0, 255));
    }
    set_entry(7, make_color(100, 100, 100));
    set_entry(40, make_color(105, 105, 105));
    const Palette before = workspace->pal_colors;
    testing::put_picture(cliff, cliff_width, cliff_height, [](int x, int) {
        return x == 0   ? make_color(104, 104, 104)
               : x == 1 ? make_color(114, 114, 114)
                        : make_color(30, 30, 30);
    });

    cliff_from_picture(*workspace, cliff.pixels_for_change());

    EXPECT_EQ(index_at(0, 5), 7);
    EXPECT_EQ(index_at(1, 5), 40);
    EXPECT_EQ(index_at(2, 5), 0);
    EXPECT_EQ(workspace->pal_colors, before);
}

TEST_F(CliffFromPicture, PixelsOutsideASmallPictureTakeTheFirstNearWhiteEntry) {
    set_entry(4, make_color(245, 255, 255));  // one channel too far from 255
    set_entry(9, make_color(246, 250, 255));
    set_entry(12, make_color(255, 255, 255));
    testing::put_picture(cliff, 64, 32, [](int, int) { return make_color(0, 0, 0); });

    cliff_from_picture(*workspace, cliff.pixels_for_change());

    EXPECT_EQ(index_at(0, 0), 0);
    EXPECT_EQ(index_at(63, 31), 0);
    EXPECT_EQ(index_at(64, 0), 9);
    EXPECT_EQ(index_at(0, 32), 9);
    EXPECT_EQ(index_at(127, 63), 9);
}

}  // namespace
}  // namespace vlt

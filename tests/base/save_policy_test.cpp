#include "base/save_policy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using Kind = SaveTargetFacts::Kind;

TEST(SavePolicy, WhatASaveDoesWithWhatItFinds) {
    const struct {
        SaveTargetFacts facts;
        SaveWay way;
    } cases[] = {
        {{.kind = Kind::missing}, SaveWay::replace},
        {{.kind = Kind::regular}, SaveWay::replace},
        {{.kind = Kind::regular, .hard_links = 2}, SaveWay::write_in_place},
        {{.kind = Kind::regular, .marked_read_only = true, .hard_links = 2},
         SaveWay::refuse_read_only},
        {{.kind = Kind::regular, .writable = false}, SaveWay::refuse_not_writable},
        {{.kind = Kind::folder}, SaveWay::refuse_folder},
        {{.kind = Kind::block_device}, SaveWay::refuse_device},
        {{.kind = Kind::stream}, SaveWay::write_stream},
        {{.kind = Kind::stream, .marked_read_only = true}, SaveWay::refuse_read_only},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(choose_save_way(c.facts), c.way) << static_cast<int>(c.facts.kind);
    }
}

// A chain of dangling links names the file to create as far as the systems follow links, and
// one link more is refused before anything is written, on every system alike.
TEST(SavePolicy, LinkChainsAreFollowedAsFarAsTheSystemGoes) {
    testing::TempDir dir;
    const auto chain = [&](const std::string& name, int links) {
        try {
            for (int i = 0; i < links; ++i) {
                const fs::path next = name + std::to_string(i + 1);
                fs::create_symlink(next, dir / (name + std::to_string(i)));
            }
        } catch (const fs::filesystem_error&) {
            return false;
        }
        return true;
    };
    if (!chain("ok", max_links_followed) || !chain("long", max_links_followed + 1)) {
        GTEST_SKIP() << "no symbolic links here";  // Windows without the right
    }
    const std::vector<std::uint8_t> bytes{1, 2};
    replace_file(dir / "ok0", bytes);
    EXPECT_TRUE(fs::is_regular_file(dir / ("ok" + std::to_string(max_links_followed))));
    EXPECT_THROW(replace_file(dir / "long0", bytes), FileError);
    EXPECT_FALSE(fs::exists(dir / ("long" + std::to_string(max_links_followed + 1))));
}

}  // namespace
}  // namespace vlt

#include "conversions/colour_counter.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

namespace vlt {
namespace {

TEST(ColourCounter, CountsWhatASetOfTheColoursHolds) {
    std::mt19937 random(25);
    auto next = [&random] { return static_cast<Color>(random()); };
    struct Case {
        const char* name;
        std::function<Color()> colour;
    };
    const std::vector<Case> cases = {
        {"few, repeated", [&] { return 0x00102030u + next() % 7; }},
        {"one blue, red and green in one word", [&] { return 0x00AA0000u + next() % 64; }},
        {"more in one blue than a block has words",
         [&] { return 0x00050000u | (next() & 0xFFFFu); }},
        {"anywhere", [&] { return next() & 0x00FFFFFFu; }},
        // CLR_INVALID and colours with a top byte are one colour.
        {"with a top byte", [&] { return next() % 2 ? 0xFF000000u | next() % 3 : next() % 3; }},
    };
    for (const Case& c : cases) {
        ColourCounter counter;
        std::set<Color> seen;
        for (int i = 0; i < 20000; ++i) {
            const Color colour = c.colour();
            counter.add(colour);
            seen.insert(colour > 0x00FFFFFFu ? CLR_INVALID : colour);
        }
        EXPECT_EQ(counter.count(), seen.size()) << c.name;
        EXPECT_EQ(counter.count(), seen.size()) << c.name << ", counted again";
    }
    EXPECT_EQ(ColourCounter().count(), 0u);
}

}  // namespace
}  // namespace vlt

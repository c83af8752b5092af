#include "base/count_text.h"

#include <gtest/gtest.h>

namespace vlt {
namespace {

TEST(CountText, CommasEveryThreeDigitsAndSingularForOne) {
    const struct {
        std::uint64_t n;
        const char* text;
    } cases[] = {
        {0, "0 pixels were"},
        {1, "1 pixel was"},
        {999, "999 pixels were"},
        {1000, "1,000 pixels were"},
        {69888, "69,888 pixels were"},
        {294912, "294,912 pixels were"},
        {1234567, "1,234,567 pixels were"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(counted(c.n, "pixel was", "pixels were"), c.text);
    }
    EXPECT_EQ(with_commas(18446744073709551615u), "18,446,744,073,709,551,615");
}

}  // namespace
}  // namespace vlt

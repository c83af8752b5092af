#include <gtest/gtest.h>

#include <random>

#include "commands/byte_delta.h"
#include "commands/undo_history.h"

namespace vlt {
namespace {

// A step over one shared number: flipping exchanges the number with the value it holds.
class SwapStep : public UndoStep {
public:
    SwapStep(int& live, int other, std::size_t memory)
        : live_(live), other_(other), memory_(memory) {}
    void flip() override { std::swap(live_, other_); }
    std::size_t memory() const override { return memory_; }

private:
    int& live_;
    int other_;
    std::size_t memory_;
};

struct HistoryTest : ::testing::Test {
    int value = 0;
    UndoHistory history{1000};
    int changes = 0;

    // Sets the value as a command would and records the step.
    void set(int to, std::string name, std::size_t memory = 10) {
        const int before = value;
        value = to;
        history.record(std::move(name), std::make_unique<SwapStep>(value, before, memory));
    }
};

TEST_F(HistoryTest, UndoAndRedoWalkTheStepsByName) {
    history.set_listener([this] { ++changes; });
    EXPECT_FALSE(history.can_undo());
    EXPECT_EQ(history.undo_name(), "");
    set(1, "one");
    set(2, "two");
    EXPECT_EQ(history.undo_name(), "two");
    history.undo();
    EXPECT_EQ(value, 1);
    EXPECT_EQ(history.undo_name(), "one");
    EXPECT_EQ(history.redo_name(), "two");
    history.undo();
    history.undo();  // nothing left: nothing happens
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(history.can_undo());
    history.redo();
    history.redo();
    history.redo();
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(history.can_redo());
    EXPECT_EQ(changes, 6);  // two records, two undos and two redos that took a step
}

TEST_F(HistoryTest, ANewStepAfterUndoDropsTheRedoSteps) {
    set(1, "one");
    set(2, "two");
    history.undo();
    set(3, "three");
    EXPECT_FALSE(history.can_redo());
    EXPECT_EQ(history.size(), 2u);
    EXPECT_EQ(history.undo_name(), "three");
    history.undo();
    history.undo();
    EXPECT_EQ(value, 0);
}

TEST_F(HistoryTest, OldestStepsGoFirstAboveTheLimit) {
    for (int i = 1; i <= 5; ++i) {
        set(i, std::to_string(i), 300);
    }
    // 300 bytes and a short name each: three fit under 1000.
    EXPECT_EQ(history.size(), 3u);
    EXPECT_LE(history.memory(), history.memory_limit());
    history.undo();
    history.undo();
    history.undo();
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(history.can_undo());
    // A step larger than the limit does not stay either.
    set(9, "huge", 5000);
    EXPECT_EQ(history.size(), 0u);
    EXPECT_EQ(history.memory(), 0u);
}

TEST(ByteDelta, SwappingTwiceGoesBackAndForth) {
    std::mt19937 random(7);
    const struct {
        std::size_t size;
        std::size_t changes;
    } cases[] = {{0, 0}, {1, 1}, {100, 0}, {100, 3}, {5000, 40}, {5000, 5000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<std::uint8_t> before(c.size);
        for (auto& b : before) {
            b = static_cast<std::uint8_t>(random());
        }
        std::vector<std::uint8_t> after = before;
        for (std::size_t i = 0; i < c.changes; ++i) {
            after[random() % c.size] ^= 0x5A;
        }
        ByteDelta delta(before, after);
        EXPECT_EQ(delta.empty(), before == after);
        // Far fewer bytes than the block when little changed.
        if (c.changes * 40 < c.size) {
            EXPECT_LT(delta.memory(), c.size / 2);
        }
        std::vector<std::uint8_t> live = after;
        delta.swap_with(live);
        EXPECT_EQ(live, before);
        delta.swap_with(live);
        EXPECT_EQ(live, after);
        // A block of another size is left alone.
        std::vector<std::uint8_t> other(c.size + 1, 1);
        delta.swap_with(other);
        EXPECT_EQ(other, std::vector<std::uint8_t>(c.size + 1, 1));
    }
}

}  // namespace
}  // namespace vlt

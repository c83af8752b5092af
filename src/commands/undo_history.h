#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace vlt {

// One step of the history: what a command changed, holding the side that is not live. Flipping
// exchanges that side with the live one, so one flip undoes the step and the next redoes it.
class UndoStep {
public:
    virtual ~UndoStep() = default;
    virtual void flip() = 0;
    // The bytes the step holds, for the history's memory limit.
    virtual std::size_t memory() const = 0;
};

// The steps that can be undone and redone, oldest first, named as the commands that made them.
// It keeps what the steps hold under a memory limit, dropping the oldest steps first.
class UndoHistory {
public:
    static constexpr std::size_t default_limit = std::size_t{256} << 20;

    explicit UndoHistory(std::size_t memory_limit = default_limit) : limit_(memory_limit) {}

    // A completed command's step: the steps that could be redone go, and the oldest go while
    // the history holds more than its limit (the new one too, if it alone is larger).
    void record(std::string name, std::unique_ptr<UndoStep> step);

    bool can_undo() const { return position_ > 0; }
    bool can_redo() const { return position_ < steps_.size(); }
    // The names of the steps undo and redo would take; empty when there is none.
    std::string undo_name() const;
    std::string redo_name() const;
    // Each does nothing when there is nothing to take.
    void undo();
    void redo();
    // Forgets every step.
    void clear();

    std::size_t size() const { return steps_.size(); }
    std::size_t memory() const { return memory_; }
    std::size_t memory_limit() const { return limit_; }

    // Called after every change to what can be undone or redone (for menus that show it).
    void set_listener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    struct Entry {
        std::string name;
        std::unique_ptr<UndoStep> step;
        std::size_t memory;
    };
    void drop_redo();
    void keep_under_limit();
    void changed();

    std::size_t limit_;
    std::deque<Entry> steps_;
    std::size_t position_ = 0;  // the steps before it can be undone, the rest redone
    std::size_t memory_ = 0;
    std::function<void()> listener_;
};

}  // namespace vlt

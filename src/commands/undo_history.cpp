#include "commands/undo_history.h"

namespace vlt {

void UndoHistory::record(std::string name, std::unique_ptr<UndoStep> step) {
    drop_redo();
    const std::size_t memory = step->memory() + name.capacity();
    steps_.push_back({std::move(name), std::move(step), memory});
    memory_ += memory;
    position_ = steps_.size();
    keep_under_limit();
    changed();
}

std::string UndoHistory::undo_name() const {
    return can_undo() ? steps_[position_ - 1].name : std::string();
}

std::string UndoHistory::redo_name() const {
    return can_redo() ? steps_[position_].name : std::string();
}

void UndoHistory::undo() {
    if (!can_undo()) {
        return;
    }
    --position_;
    steps_[position_].step->flip();
    changed();
}

void UndoHistory::redo() {
    if (!can_redo()) {
        return;
    }
    steps_[position_].step->flip();
    ++position_;
    changed();
}

void UndoHistory::clear() {
    steps_.clear();
    position_ = 0;
    memory_ = 0;
    changed();
}

void UndoHistory::drop_redo() {
    while (steps_.size() > position_) {
        memory_ -= steps_.back().memory;
        steps_.pop_back();
    }
}

void UndoHistory::keep_under_limit() {
    while (!steps_.empty() && memory_ > limit_) {
        memory_ -= steps_.front().memory;
        steps_.pop_front();
        --position_;
    }
}

void UndoHistory::changed() {
    if (listener_) {
        listener_();
    }
}

}  // namespace vlt

#pragma once

#include <array>
#include <string>

namespace vlt {

// The three parts of the workspace that each have a data file of their own.
enum class DataPart { palette, bigf, cliff };

// Which parts differ from the data file they were last loaded from or saved to. A fresh
// workspace has nothing to lose, so everything starts as unchanged.
class UnsavedChanges {
public:
    void mark_changed(DataPart part) { changed_[index(part)] = true; }
    // The part now holds exactly what its data file holds.
    void mark_matching_file(DataPart part) { changed_[index(part)] = false; }

    bool changed(DataPart part) const { return changed_[index(part)]; }
    bool any() const;

    // The question asked before closing, naming the changed parts in a fixed order ("The
    // palette and the bigf texture have changes that are not saved."); empty when none changed.
    std::string prompt_text() const;

private:
    static std::size_t index(DataPart part) { return static_cast<std::size_t>(part); }

    std::array<bool, 3> changed_{};
};

}  // namespace vlt

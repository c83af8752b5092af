#include "commands/unsaved_changes.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace vlt {

bool UnsavedChanges::any() const {
    return std::ranges::any_of(changed_, [](bool changed) { return changed; });
}

std::string UnsavedChanges::prompt_text() const {
    constexpr std::array<std::string_view, 3> names{"palette", "bigf texture", "cliff texture"};
    std::vector<std::string_view> changed_names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (changed_[i]) {
            changed_names.push_back(names[i]);
        }
    }
    if (changed_names.empty()) {
        return {};
    }
    std::string text = "The ";
    for (std::size_t i = 0; i < changed_names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == changed_names.size() ? " and the " : ", the ";
        }
        text += changed_names[i];
    }
    text += changed_names.size() == 1 ? " has" : " have";
    return text + " changes that are not saved.";
}

}  // namespace vlt

#include "gui/app_title.h"

namespace vlt {

std::string application_title(std::string_view executable_path) {
    const auto slash = executable_path.find_last_of("/\\");
    std::string_view name =
        slash == std::string_view::npos ? executable_path : executable_path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::string title(name);
    for (std::size_t i = 1; i < title.size(); ++i) {
        // Bytes of multi-byte characters are left alone: only ASCII letters change case.
        if (title[i] >= 'A' && title[i] <= 'Z') {
            title[i] = static_cast<char>(title[i] - 'A' + 'a');
        }
    }
    return title;
}

}  // namespace vlt

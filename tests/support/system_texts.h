#pragma once

#include <string>

#ifdef _WIN32
#include "base/system_reason.h"
#include "base/windows_api.h"
#endif

namespace vlt::testing {

// The system's own reasons for the failures tests provoke, as the file layer reports them.
#ifdef _WIN32
inline std::string no_such_file() {
    return system_reason(ERROR_FILE_NOT_FOUND);
}
inline std::string no_such_folder() {
    return system_reason(ERROR_PATH_NOT_FOUND);
}
#else
inline std::string no_such_file() {
    return "No such file or directory";
}
inline std::string no_such_folder() {
    return no_such_file();
}
#endif

}  // namespace vlt::testing

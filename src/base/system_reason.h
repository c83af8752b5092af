#pragma once

#include <string>

namespace vlt {

// The system's own text for a Windows error code, in UTF-8 and without the ".\r\n" the system
// ends it with, so that it reads like the text of a POSIX error. Windows only.
std::string system_reason(unsigned long error);

}  // namespace vlt

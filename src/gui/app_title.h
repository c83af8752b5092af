#pragma once

#include <string>
#include <string_view>

namespace vlt {

// The caption of the notice box and the error report, made from the executable's path: the
// folder and everything from the first "." are dropped, and every character after the first is
// turned to lower case (TOOL.EXE gives Tool, mytool.exe gives mytool).
std::string application_title(std::string_view executable_path);

}  // namespace vlt

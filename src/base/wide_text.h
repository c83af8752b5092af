#pragma once

#include <string>
#include <string_view>

namespace vlt {

// Conversions between the system's UTF-16 text and the UTF-8 the program uses inside. Windows
// only: there wchar_t holds UTF-16. Unpaired surrogates and invalid UTF-8 become U+FFFD.
std::wstring wide_from_utf8(std::string_view text);
std::string utf8_from_wide(std::wstring_view text);

}  // namespace vlt

#pragma once

namespace vlt::testing {

// How many exceptions the program has thrown so far, counted at the C++ runtime's throw itself,
// so that a throw caught again inside a library counts too. A test program that uses it links
// throw_count.cpp (see tests/commands/CMakeLists.txt for the link option MinGW needs).
long thrown_exceptions();

}  // namespace vlt::testing

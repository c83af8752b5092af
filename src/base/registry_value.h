#pragma once

#include <string>

namespace vlt {

// One registry value, reduced to what start-up needs, as either the Windows registry or a Wine
// prefix's registry file gives it.
struct RegistryValue {
    enum class Type { string, expand_string, other };
    Type type = Type::other;
    std::string data;      // the text (UTF-8) for the two string kinds
    bool readable = true;  // false when the stored text cannot be read
};

}  // namespace vlt

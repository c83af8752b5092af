#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vlt {

// Counts in messages take a comma every three digits: 69,888.
inline std::string with_commas(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, ',');
    }
    return digits;
}

// The count and the words that follow it, singular for a count of 1: counted(1, "pixel was",
// "pixels were") is "1 pixel was", counted(2048, ...) "2,048 pixels were".
inline std::string counted(std::uint64_t n, std::string_view one, std::string_view many) {
    return with_commas(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace vlt

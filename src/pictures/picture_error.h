#pragma once

#include <string>
#include <utility>

#include "base/errors.h"

namespace vlt {

// A picture that cannot be read, and what the reader found wrong with it when it knows: the
// loads put the file's name and this detail after the text.
class PictureError : public Exception {
public:
    PictureError(const std::string& text, std::string detail)
        : Exception(text), detail_(std::move(detail)) {}

    const std::string& detail() const { return detail_; }

private:
    std::string detail_;
};

}  // namespace vlt

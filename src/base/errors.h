#pragma once

#include <stdexcept>
#include <string>

namespace vlt {

// Every error a command can raise carries the text the user will see. They are caught once, at
// the command boundary, and handed to the front end's error report.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The silent kind: ends a command without anything being shown.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Raised while reading the game's install path at start-up.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// The text the error report shows: a "." is appended unless the message is empty or already
// ends in a character whose code is at most that of ".".
inline std::string report_text(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + ".";
    }
    return message;
}

}  // namespace vlt

#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace vlt {

// Why a system call on a file failed: the path as the command was given it (UTF-8) and the
// system's own text for the failure. Front ends show it beside the message it explains.
struct FileReason {
    std::string path;
    std::string reason;

    bool operator==(const FileReason&) const = default;
};

// How a front end shows an error: the error report, or the short notice a data file's load or
// save gives when the system refuses the file ("Failed!").
enum class ErrorBox { report, notice };

// Every error a command can raise carries the text the user will see, and for a failed system
// call on a file, the reason. They are caught once, at the command boundary, and handed to the
// front end in the box they ask for.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message, std::optional<FileReason> reason = {},
                       ErrorBox box = ErrorBox::report)
        : std::runtime_error(message), reason_(std::move(reason)), box_(box) {}

    const std::optional<FileReason>& reason() const { return reason_; }
    ErrorBox box() const { return box_; }

private:
    std::optional<FileReason> reason_;
    ErrorBox box_;
};

// Raised while reading the game's install path at start-up.
class RegistryError : public Exception {
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

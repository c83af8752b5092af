#pragma once

// Pieces shared by the POSIX side of the file layer.

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <utility>

#include "base/file_io.h"

namespace vlt::posix {

inline std::string reason_of(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] inline void fail(FileError::Step step, int error = errno) {
    throw FileError(step, reason_of(error));
}

// Closes a descriptor once, whatever happens.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.release();
        }
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    // The result of the close itself: on some file systems a delayed write fails only here.
    bool close() { return ::close(release()) == 0; }
    void reset() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
};

// Writes every byte at the given offset (or at the file's position when offset is negative);
// false with errno set when the system refuses part of them.
inline bool write_all(int fd, std::span<const std::uint8_t> bytes, off_t offset = -1) {
    while (!bytes.empty()) {
        const ssize_t n = offset < 0 ? ::write(fd, bytes.data(), bytes.size())
                                     : ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
        if (offset >= 0) {
            offset += n;
        }
    }
    return true;
}

}  // namespace vlt::posix

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "base/file_io.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

std::string reason_of(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void fail(FileError::Step step, int error = errno) {
    throw FileError(step, reason_of(error));
}

// Closes a descriptor once, whatever happens.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
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

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a new, exclusively owned temporary file in the target's folder.
int create_temporary(const fs::path& target, fs::path& temp_path) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp_path = target;
        temp_path += ".tmp-" + std::to_string(random() % 1000000u);
        const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// A folder, or an existing file without any write bit (refused also for root, who could
// otherwise write a read-only file).
void refuse_unwritable(const fs::path& target, struct stat& st, bool& exists) {
    exists = ::stat(target.c_str(), &st) == 0;
    if (!exists) {
        return;
    }
    if (S_ISDIR(st.st_mode)) {
        fail(FileError::Step::create, EISDIR);
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        fail(FileError::Step::create, EACCES);
    }
}

}  // namespace

InputFile::InputFile(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) {
        fail(FileError::Step::open);
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fail(FileError::Step::open, EISDIR);
    }
}

InputFile::~InputFile() {
    ::close(fd_);
}

std::size_t InputFile::read(std::span<std::uint8_t> dest) {
    std::size_t total = 0;
    while (total < dest.size()) {
        const ssize_t n = ::read(fd_, dest.data() + total, dest.size() - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail(FileError::Step::read);
        }
        if (n == 0) {
            break;
        }
        total += static_cast<std::size_t>(n);
    }
    return total;
}

std::uint64_t InputFile::skip_to_end() {
    std::uint8_t scratch[1 << 14];
    std::uint64_t total = 0;
    while (const std::size_t n = read(scratch)) {
        total += n;
    }
    return total;
}

std::optional<std::uint64_t> InputFile::regular_size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(st.st_size);
}

void replace_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    struct stat target {};
    bool target_exists = false;
    refuse_unwritable(path, target, target_exists);
    fs::path temp_path;
    Descriptor fd(create_temporary(path, temp_path));
    if (fd.get() < 0) {
        fail(FileError::Step::create);
    }
    // The data must be on the disk, not only in the system's cache, before the rename publishes
    // it.
    const bool written = write_all(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    const int write_error = errno;
    if (!fd.close() || !written) {
        ::unlink(temp_path.c_str());
        fail(FileError::Step::write, written ? errno : write_error);
    }
    if (target_exists) {
        ::chmod(temp_path.c_str(), target.st_mode & 07777);
    }
    if (::rename(temp_path.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_path.c_str());
        fail(FileError::Step::create, error);
    }
}

}  // namespace vlt

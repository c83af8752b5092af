#include "base/temp_file_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <random>

namespace vlt::posix {
namespace {

// Short enough to fit beside any name the folder takes; hidden from ordinary listings.
std::string random_name() {
    static thread_local std::mt19937 random{std::random_device{}()};
    constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".vlt-";
    for (int i = 0; i < 8; ++i) {
        name += letters[random() % (sizeof letters - 1)];
    }
    return name;
}

}  // namespace

TempFile::TempFile(int folder, SaveSignals& signals) : folder_(folder), signals_(signals) {
    if (!create_unnamed()) {
        create_named(false);
    }
}

TempFile::~TempFile() {
    if (!temp_name_.empty()) {
        remove_named();
    }
}

bool TempFile::create_unnamed() {
#ifdef O_TMPFILE
    fd_ = Descriptor(::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd_.valid()) {
        unnamed_ = true;
        return true;
    }
    // Kernels and file systems without unnamed files say so in one of these ways.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        fail(FileError::Step::create);
    }
#endif
    return false;
}

void TempFile::create_named(bool link_unnamed) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = random_name();
        bool made = false;
        {
            const SaveSignals::Hold hold;
            if (link_unnamed) {
                made = link_unnamed_as(name);
            } else {
                fd_ = Descriptor(::openat(folder_, name.c_str(),
                                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                          0600));
                made = fd_.valid();
            }
            if (made) {
                signals_.arm(folder_, name.c_str());
                temp_name_ = name;
            }
        }
        if (made) {
            return;
        }
        if (errno != EEXIST) {
            fail(FileError::Step::create);
        }
    }
    fail(FileError::Step::create, EEXIST);
}

bool TempFile::link_unnamed_as(const std::string& name) {
    if (::linkat(fd_.get(), "", folder_, name.c_str(), AT_EMPTY_PATH) == 0) {
        return true;
    }
    const int error = errno;
    if (error == EEXIST) {
        return false;
    }
    // Without the right to link by descriptor, the process's own view of it in /proc serves.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    if (::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    if (errno == ENOENT) {
        errno = error;
    }
    return false;
}

void TempFile::publish(const std::string& name, bool replace) {
    if (unnamed_) {
        if (!replace && link_unnamed_as(name)) {
            return;
        }
        if (!replace && errno != EEXIST) {
            fail(FileError::Step::create);
        }
        // There is no call that puts an unnamed file in place of another: it gets a short-lived
        // name first, which the signals remove.
        create_named(true);
    }
    int error = 0;
    {
        const SaveSignals::Hold hold;
        if (::renameat(folder_, temp_name_.c_str(), folder_, name.c_str()) == 0) {
            signals_.disarm();
            temp_name_.clear();
            return;
        }
        error = errno;
    }
    remove_named();
    fail(FileError::Step::create, error);
}

void TempFile::remove_named() {
    const SaveSignals::Hold hold;
    ::unlinkat(folder_, temp_name_.c_str(), 0);
    signals_.disarm();
    temp_name_.clear();
}

}  // namespace vlt::posix

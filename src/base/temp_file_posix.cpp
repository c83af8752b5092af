#include "base/temp_file_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>

namespace vlt::posix {
namespace {

constexpr std::string_view name_prefix = ".vlt-";
constexpr std::size_t name_letters = 8;
constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";

bool is_temporary_name(std::string_view name) {
    return name.size() == name_prefix.size() + name_letters && name.starts_with(name_prefix) &&
           std::all_of(name.begin() + name_prefix.size(), name.end(),
                       [](char c) { return letters.find(c) != std::string_view::npos; });
}

// Short enough to fit beside any name the folder takes; hidden from ordinary listings.
std::string random_name() {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::string name(name_prefix);
    for (std::size_t i = 0; i < name_letters; ++i) {
        name += letters[random() % letters.size()];
    }
    return name;
}

// Every temporary file is locked while its process lives. A SIGKILL between giving one a name
// and renaming it leaves it behind unlocked; the next save in the folder removes it.
void sweep_stale(int folder) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (dir == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!is_temporary_name(entry->d_name)) {
            continue;
        }
        const Descriptor fd(
            ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

}  // namespace

TempFile::TempFile(int folder, SaveSignals& signals) : folder_(folder), signals_(signals) {
    sweep_stale(folder);
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
        ::flock(fd_.get(), LOCK_EX);
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
                if (made) {
                    ::flock(fd_.get(), LOCK_EX);
                }
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
#ifndef AT_EMPTY_PATH
    errno = ENOTSUP;  // no unnamed files on this system, so nothing to link
    return false;
#else
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
#endif
}

void TempFile::publish(const std::string& name, bool replace) {
    // Held throughout, so that a short-lived name and its rename follow each other directly.
    const SaveSignals::Hold hold;
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
    if (::renameat(folder_, temp_name_.c_str(), folder_, name.c_str()) == 0) {
        signals_.disarm();
        temp_name_.clear();
        return;
    }
    const int error = errno;
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

#include "base/temp_file_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdio.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <string_view>

namespace vlt::posix {
namespace {

constexpr std::string_view name_prefix = ".vlt-";
// A named file is created under this prefix and gets its ".vlt-" name only once it is locked,
// so that another process's clean-up never finds it unlocked under that name.
constexpr std::string_view creating_prefix = ".vlt~";
constexpr std::size_t name_letters = 8;
constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
// Only a SIGKILL between two system calls leaves a creation name behind; by this age it is not
// a save still going on.
constexpr time_t creating_name_lifetime = 3600;

bool has_temporary_form(std::string_view name, std::string_view prefix) {
    return name.size() == prefix.size() + name_letters && name.starts_with(prefix) &&
           std::all_of(name.begin() + prefix.size(), name.end(),
                       [](char c) { return letters.find(c) != std::string_view::npos; });
}

// Short enough to fit beside any name the folder takes; hidden from ordinary listings.
std::string random_letters() {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::string name;
    for (std::size_t i = 0; i < name_letters; ++i) {
        name += letters[random() % letters.size()];
    }
    return name;
}

// Renames without replacing: a name already there is another save's.
bool rename_new(int folder, const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
#endif
    // File systems without that kind of rename (some network ones) have few writers at once.
    struct stat st {};
    if (::fstatat(folder, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(folder, from, folder, to) == 0;
}

bool is_stale(std::string_view name, const struct stat& st) {
    return has_temporary_form(name, name_prefix) ||
           (has_temporary_form(name, creating_prefix) &&
            ::time(nullptr) - st.st_ctime > creating_name_lifetime);
}

// Every temporary file is locked while its process lives. A SIGKILL between giving one a name
// and renaming it leaves it behind unlocked; the next save in the folder removes it, checking
// that the name still stands for the file it locked.
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
        const std::string_view name = entry->d_name;
        if (!name.starts_with(".vlt")) {
            continue;
        }
        const Descriptor fd(
            ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        struct stat named {};
        if (fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            is_stale(name, st) && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == st.st_dev && named.st_ino == st.st_ino) {
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
        const std::string tag = random_letters();
        const std::string name = std::string(name_prefix) + tag;
        bool made = false;
        {
            const SaveSignals::Hold hold;
            made = link_unnamed ? link_unnamed_as(name) : create_locked(name, tag);
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

// Under a Hold: created under its creation name, locked, then given `name`.
bool TempFile::create_locked(const std::string& name, const std::string& tag) {
    const std::string creating = std::string(creating_prefix) + tag;
    fd_ = Descriptor(::openat(folder_, creating.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd_.valid()) {
        return false;
    }
    signals_.arm(folder_, creating.c_str());
    ::flock(fd_.get(), LOCK_EX);
    if (rename_new(folder_, creating.c_str(), name.c_str())) {
        return true;
    }
    const int error = errno;
    ::unlinkat(folder_, creating.c_str(), 0);
    signals_.disarm();
    fd_.reset();
    errno = error;
    return false;
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

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/file_attributes_posix.h"
#include "base/file_io.h"
#include "base/own_descriptor_posix.h"
#include "base/posix_fd.h"
#include "base/save_policy.h"
#include "base/save_signals_posix.h"
#include "base/temp_file_posix.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using posix::Descriptor;
using posix::fail;
using Step = FileError::Step;

// The file a save replaces: the end of the path's chain of symbolic links.
struct Target {
    fs::path path;
    bool exists = false;
    struct stat st {};
};

fs::path read_link(const fs::path& link) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            fail(Step::create);
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Where a name that is a symbolic link points; nothing for any other name.
std::optional<fs::path> next_link_name(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            fail(Step::create);
        }
        return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) {
        return std::nullopt;
    }
    return link_destination(path, read_link(path));
}

Target resolve_links(const fs::path& path) {
    Target target{follow_links(path, next_link_name, [] { fail(Step::create, ELOOP); })};
    if (::lstat(target.path.c_str(), &target.st) == 0) {
        target.exists = true;
    } else if (errno != ENOENT) {
        fail(Step::create);
    }
    return target;
}

SaveTargetFacts facts_of(const struct stat& st) {
    using Kind = SaveTargetFacts::Kind;
    SaveTargetFacts facts;
    facts.kind = S_ISDIR(st.st_mode)   ? Kind::folder
                 : S_ISBLK(st.st_mode) ? Kind::block_device
                 : S_ISREG(st.st_mode) ? Kind::regular
                                       : Kind::stream;
    facts.marked_read_only = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return facts;
}

int connect_socket(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& name = path.native();
    if (name.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    for (const int type : {SOCK_STREAM, SOCK_SEQPACKET, SOCK_DGRAM}) {
        Descriptor fd(::socket(AF_UNIX, type, 0));
        if (!fd.valid()) {
            return -1;
        }
        ::fcntl(fd.get(), F_SETFD, FD_CLOEXEC);
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            return fd.release();
        }
        if (errno != EPROTOTYPE) {
            return -1;
        }
    }
    return -1;
}

// Character devices, FIFOs and sockets take the bytes as a stream, as a shell's redirection
// gives them; a FIFO waits for its reader. Replacing them would break whatever reads them.
void write_into(const fs::path& path, const struct stat& st, std::span<const std::uint8_t> bytes) {
    Descriptor fd(S_ISSOCK(st.st_mode) ? connect_socket(path)
                                       : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        fail(Step::create);
    }
    if (!posix::write_all(fd.get(), bytes) || !fd.close()) {
        fail(Step::write);
    }
}

// Fills bytes from the file's start; fewer when the file is shorter.
bool read_prefix(int fd, std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            bytes.resize(done);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A file with other hard links is written where it is, so that every name keeps seeing it; so
// is one whose folder takes no new file, or whose owner a new file could not keep. The bytes it
// loses are kept until the new ones are on the disk, and written back if they fail; the file is
// cut to its new length only after the new bytes are in. The signals that end a save wait until
// the file is whole again, new or old.
void write_in_place(const Target& target, std::span<const std::uint8_t> bytes) {
    Descriptor fd(::open(target.path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        fail(Step::create);
    }
    const auto old_size = static_cast<std::uint64_t>(target.st.st_size);
    std::vector<std::uint8_t> old(std::min<std::uint64_t>(old_size, bytes.size()));
    if (!read_prefix(fd.get(), old)) {
        fail(Step::create);
    }
    const auto new_size = static_cast<off_t>(bytes.size());
    const posix::SaveSignals::Hold hold;
    if (posix::write_all(fd.get(), bytes, 0) &&
        (old_size <= bytes.size() || ::ftruncate(fd.get(), new_size) == 0) &&
        ::fsync(fd.get()) == 0) {
        return;
    }
    const int error = errno;
    posix::write_all(fd.get(), old, 0);
    [[maybe_unused]] const int ignored = ::ftruncate(fd.get(), static_cast<off_t>(old_size));
    ::fsync(fd.get());
    fail(Step::write, error);
}

mode_t current_umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The folder the new file goes in. It is synced after the rename, so that the new name is on
// the disk too; a folder the process may search but not read is used unsynced.
struct Folder {
    Descriptor fd;
    bool syncable = true;
};

Folder open_folder(const fs::path& path) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    Folder result{Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))};
#ifdef O_PATH
    if (!result.fd.valid() && errno == EACCES) {
        result.fd = Descriptor(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        result.syncable = false;
    }
#endif
    if (!result.fd.valid()) {
        fail(Step::create);
    }
    return result;
}

// Whether the folder lets this process put a new file in the target's place: it may add names
// to it, and, in a sticky folder, remove the target's.
bool takes_new_file(const Folder& folder, const Target& target) {
    struct stat st {};
    if (::faccessat(folder.fd.get(), ".", W_OK | X_OK, AT_EACCESS) != 0 ||
        ::fstat(folder.fd.get(), &st) != 0) {
        return false;
    }
    const uid_t self = ::geteuid();
    return (st.st_mode & S_ISVTX) == 0 || self == 0 || st.st_uid == self ||
           target.st.st_uid == self;
}

// Fills a new file beside the target with the bytes, the target's owner, mode and extended
// attributes, and puts it in the target's place only once it is on the disk.
void replace_atomically(const Target& target, std::span<const std::uint8_t> bytes,
                        posix::SaveSignals& signals) {
    const std::string name = target.path.filename().native();
    if (name.empty()) {
        fail(Step::create, target.path.empty() ? ENOENT : EISDIR);
    }
    const Folder folder = open_folder(target.path);
    if (target.exists && !takes_new_file(folder, target)) {
        write_in_place(target, bytes);
        return;
    }
    posix::TempFile temp(folder.fd.get(), signals);
    if (target.exists && !posix::give_owner(temp.fd(), target.st)) {
        write_in_place(target, bytes);
        return;
    }
    if (!posix::write_all(temp.fd(), bytes)) {
        fail(Step::write);
    }
    if (!target.exists) {
        ::fchmod(temp.fd(), 0666 & ~current_umask());
    } else {
        posix::give_mode(temp.fd(), target.st);
        if (!posix::copy_extended_attributes(target.path, temp.fd())) {
            fail(Step::create);
        }
    }
    if (::fsync(temp.fd()) != 0) {
        fail(Step::write);
    }
    temp.publish(name, target.exists);
    if (folder.syncable && ::fsync(folder.fd.get()) != 0 && errno != EINVAL) {
        fail(Step::write);
    }
}

// One of the process's own descriptors takes the bytes where it stands: appended when it was
// opened for appending, at its offset otherwise, as a shell's redirection left it.
void write_through(int fd, std::span<const std::uint8_t> bytes) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) {
        fail(Step::create);
    }
    if ((flags & O_ACCMODE) == O_RDONLY) {
        fail(Step::create, EBADF);
    }
    if (!posix::write_all(fd, bytes)) {
        fail(Step::write);
    }
}

}  // namespace

InputFile::InputFile(const fs::path& path) : fd_(-1) {
    const auto own = posix::own_descriptor(path);
    fd_ = own ? ::fcntl(*own, F_DUPFD_CLOEXEC, 0) : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        fail(Step::open);
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fail(Step::open, EISDIR);
    }
}

InputFile::~InputFile() {
    ::close(fd_);
}

std::size_t InputFile::read_some(std::span<std::uint8_t> dest) {
    std::size_t total = 0;
    while (total < dest.size()) {
        const ssize_t n = ::read(fd_, dest.data() + total, dest.size() - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail(Step::read);
        }
        if (n == 0) {
            break;
        }
        total += static_cast<std::size_t>(n);
    }
    return total;
}

std::uint64_t InputFile::seek_within_size(std::uint64_t count) {
    const auto size = regular_size();
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    if (!size || at < 0 || *size <= static_cast<std::uint64_t>(at)) {
        return 0;
    }
    const std::uint64_t step =
        std::min<std::uint64_t>(count, *size - static_cast<std::uint64_t>(at));
    if (::lseek(fd_, static_cast<off_t>(step), SEEK_CUR) < 0) {
        fail(Step::read);
    }
    return step;
}

std::optional<std::uint64_t> InputFile::regular_size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(st.st_size);
}

void replace_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    posix::SaveSignals signals;
    if (const auto fd = posix::own_descriptor(path)) {
        write_through(*fd, bytes);
        return;
    }
    struct stat st {};
    SaveTargetFacts facts;
    if (::stat(path.c_str(), &st) == 0) {
        facts = facts_of(st);
    } else if (errno != ENOENT) {
        fail(Step::create);
    } else if (path.native().ends_with('/')) {
        fail(Step::create, ENOTDIR);  // as the system says when it opens such a name
    }
    Target target{path};
    int access_error = 0;
    if (facts.kind == SaveTargetFacts::Kind::regular ||
        facts.kind == SaveTargetFacts::Kind::missing) {
        target = resolve_links(path);
        if (target.exists) {
            if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
                access_error = errno;
                facts.writable = false;
            }
            facts.hard_links = target.st.st_nlink;
        }
    }
    switch (choose_save_way(facts)) {
        case SaveWay::refuse_folder:
            fail(Step::create, EISDIR);
        case SaveWay::refuse_device:
            fail(Step::create, ENOTSUP);
        case SaveWay::refuse_read_only:
            fail(Step::create, EACCES);
        case SaveWay::refuse_not_writable:
            fail(Step::create, access_error);
        case SaveWay::write_stream:
            return write_into(path, st, bytes);
        case SaveWay::write_in_place:
            return write_in_place(target, bytes);
        case SaveWay::replace:
            return replace_atomically(target, bytes, signals);
    }
}

}  // namespace vlt

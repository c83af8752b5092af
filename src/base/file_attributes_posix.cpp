#include "base/file_attributes_posix.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace vlt::posix {
namespace {

constexpr const char* access_acl = "system.posix_acl_access";

bool unsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// What a size-then-fill call gives, retried while the value grows between the two calls.
template <typename Call>
bool fetch(std::vector<char>& out, Call call) {
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) {
            return false;
        }
        out.resize(static_cast<std::size_t>(size));
        const ssize_t n = call(out.data(), out.size());
        if (n >= 0) {
            out.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

bool carried_over(std::string_view name) {
    return !name.starts_with("security.");
}

}  // namespace

bool give_owner(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) {
        return false;
    }
    // A new file may differ in group even from this process's own file: a folder with the
    // set-group bit gives its own.
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) {
        return true;
    }
    if (::fchown(fd, old.st_uid, old.st_gid) == 0) {
        return true;
    }
    // A member of the file's group may still give it that group.
    return now.st_uid == old.st_uid && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

void give_mode(int fd, const struct stat& old) {
    mode_t mode = old.st_mode & 07777;
    struct stat now {};
    if (::fstat(fd, &now) != 0 || now.st_uid != old.st_uid) {
        mode &= ~mode_t{S_ISUID | S_ISGID};
    } else if (now.st_gid != old.st_gid) {
        mode &= ~mode_t{S_ISGID};
    }
    ::fchmod(fd, mode);
}

bool copy_extended_attributes(const std::filesystem::path& from, int to) {
    std::vector<char> names;
    const char* path = from.c_str();
    if (!fetch(names, [&](char* out, std::size_t size) { return ::listxattr(path, out, size); })) {
        if (!unsupported(errno)) {
            return false;
        }
        names.clear();
    }
    bool had_acl = false;
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size();) {
        const std::string_view name(names.data() + at);
        at += name.size() + 1;
        if (name.empty() || !carried_over(name)) {
            continue;
        }
        had_acl = had_acl || name == access_acl;
        const char* key = name.data();
        if (!fetch(value,
                   [&](char* out, std::size_t size) { return ::getxattr(path, key, out, size); }) ||
            ::fsetxattr(to, key, value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    if (!had_acl && ::fremovexattr(to, access_acl) != 0 && errno != ENODATA &&
        !unsupported(errno)) {
        return false;
    }
    return true;
}

}  // namespace vlt::posix

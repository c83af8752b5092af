#include "base/own_descriptor_posix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string>
#include <vector>

namespace vlt::posix {
namespace {

namespace fs = std::filesystem;

bool same_folder(const struct stat& a, const char* other) {
    struct stat st {};
    return ::stat(other, &st) == 0 && st.st_dev == a.st_dev && st.st_ino == a.st_ino;
}

// N when the path is N in one of the process's descriptor folders.
std::optional<int> descriptor_named(const fs::path& path) {
    const std::string name = path.filename().native();
    if (name.empty() || name.size() > 9 ||
        !std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    struct stat folder {};
    const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (::stat(parent.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        return std::nullopt;
    }
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd";
    for (const char* candidate :
         {"/proc/self/fd", "/proc/thread-self/fd", "/dev/fd", own.c_str()}) {
        if (same_folder(folder, candidate)) {
            int fd = -1;
            std::from_chars(name.data(), name.data() + name.size(), fd);
            return fd;
        }
    }
    return std::nullopt;
}

std::optional<fs::path> link_target(const fs::path& link) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return fs::path(std::string(buffer.data(), static_cast<std::size_t>(n)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::optional<int> own_descriptor(const fs::path& path) {
    constexpr int max_links = 40;  // as the system counts before it gives up
    fs::path at = path;
    for (int links = 0; links <= max_links; ++links) {
        if (const auto fd = descriptor_named(at)) {
            return fd;
        }
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return std::nullopt;
        }
        const auto next = link_target(at);
        if (!next) {
            return std::nullopt;
        }
        at = next->is_absolute() ? *next : at.parent_path() / *next;
    }
    return std::nullopt;
}

}  // namespace vlt::posix

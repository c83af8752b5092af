#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/save_policy.h"
#include "base/system_reason.h"
#include "base/temp_file_windows.h"
#include "base/windows_api.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using Step = FileError::Step;

[[noreturn]] void fail(Step step, DWORD error = GetLastError()) {
    throw FileError(step, system_reason(error));
}

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Closes a handle once, whatever happens.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle) {
        close();
        handle_ = handle;
    }
    bool close() {
        if (!valid()) {
            return true;
        }
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// The largest piece one ReadFile or WriteFile call is given.
constexpr std::size_t max_piece = std::numeric_limits<DWORD>::max() / 2;

bool write_all(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const auto want = static_cast<DWORD>(std::min(bytes.size(), max_piece));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), want, &written, nullptr) || written == 0) {
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

// Reads until dest is full or the file ends; the end of a pipe whose writer closed is its end.
bool read_all(HANDLE file, std::span<std::uint8_t> dest, std::size_t& total) {
    total = 0;
    while (total < dest.size()) {
        const auto want = static_cast<DWORD>(std::min(dest.size() - total, max_piece));
        DWORD got = 0;
        if (!ReadFile(file, dest.data() + total, want, &got, nullptr)) {
            return GetLastError() == ERROR_BROKEN_PIPE;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return true;
}

bool rewind_and_write(HANDLE file, std::span<const std::uint8_t> bytes) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && write_all(file, bytes) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// The absolute form that lifts the length limit on paths ("\\?\C:\..."), with the separators,
// "." and ".." resolved, as that form is taken literally; device names ("NUL") keep theirs
// ("\\.\NUL").
fs::path long_form(const fs::path& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (size == 0) {
            return path;  // the calls that follow give the reason
        }
        const bool fits = size < full.size();
        full.resize(fits ? size : size + 1);
        if (fits) {
            break;
        }
    }
    if (full.starts_with(LR"(\\?\)") || full.starts_with(LR"(\\.\)")) {
        return full;
    }
    if (full.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + full.substr(2);
    }
    return LR"(\\?\)" + full;
}

// Where an open file or folder really lives, links followed.
std::optional<fs::path> final_path(HANDLE handle) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetFinalPathNameByHandleW(
            handle, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
        if (size == 0) {
            return std::nullopt;
        }
        const bool fits = size < name.size();
        name.resize(size);
        if (fits) {
            return fs::path(name);
        }
    }
}

// What a save writes to.
struct Target {
    SaveTargetFacts facts;
    fs::path path;  // the real file (links followed), or the new name in its folder's real place
    windows::Inheritance inheritance{};  // what a regular file hands on to its replacement
};

// Where a name that is a symbolic link (or another reparse point the system can read as one)
// points; nothing for any other name.
std::optional<fs::path> next_link_name(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return long_form(link_destination(path, next));
}

// A name that does not exist yet. When it is a dangling symbolic link, the file it names is
// created and the link stays; the folder is taken at its real place where it can be opened, so
// that creating the file fails with the system's own reason where it cannot.
Target new_target(const fs::path& name) {
    const fs::path path =
        follow_links(name, next_link_name, [] { fail(Step::create, ERROR_CANT_RESOLVE_FILENAME); });
    Handle folder(CreateFileW(path.parent_path().c_str(), 0, share_all, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const auto real_folder = folder.valid() ? final_path(folder.get()) : std::nullopt;
    return {{}, real_folder ? *real_folder / path.filename() : path};
}

// Opens the target to learn what it is, following links as the system does.
Target examine(const fs::path& path) {
    const fs::path full = long_form(path);
    // With the right to read its access list where that is given, to hand it on.
    Handle file(CreateFileW(full.c_str(), READ_CONTROL, share_all, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid() && GetLastError() == ERROR_ACCESS_DENIED) {
        file.reset(CreateFileW(full.c_str(), 0, share_all, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    }
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return new_target(full);
        }
        fail(Step::create, error);
    }
    const DWORD type = GetFileType(file.get());
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        return {{.kind = SaveTargetFacts::Kind::stream}, full};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) {
        fail(Step::create);
    }
    SaveTargetFacts facts;
    facts.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                     ? SaveTargetFacts::Kind::folder
                     : SaveTargetFacts::Kind::regular;
    facts.marked_read_only = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.hard_links = info.nNumberOfLinks;
    if (facts.kind == SaveTargetFacts::Kind::folder || facts.marked_read_only) {
        return {facts, full};
    }
    const auto real = final_path(file.get());
    if (!real) {
        fail(Step::create);
    }
    return {facts, *real, windows::inheritance_of(file.get(), info)};
}

void replace_whole(const Target& target, std::span<const std::uint8_t> bytes) {
    windows::TempFile temp(target.path.parent_path());
    // The data must be on the disk, not only in the system's cache, before it replaces the
    // target.
    if (!write_all(temp.handle(), bytes) || !FlushFileBuffers(temp.handle())) {
        fail(Step::write);
    }
    temp.publish(target.path, target.inheritance);
}

// Every name of a hard-linked file must see the new bytes, so it is written where it is; its
// old bytes are read first and written back if the new ones cannot all be written.
void write_in_place(const Target& target, std::span<const std::uint8_t> bytes) {
    Handle file(CreateFileW(target.path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size)) {
        fail(Step::create);
    }
    std::vector<std::uint8_t> old(static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    if (!read_all(file.get(), old, got)) {
        fail(Step::create);
    }
    old.resize(got);
    if (!rewind_and_write(file.get(), bytes)) {
        const DWORD error = GetLastError();
        rewind_and_write(file.get(), old);
        fail(Step::write, error);
    }
}

// A device or a pipe takes the bytes as a stream.
void write_stream(const Target& target, std::span<const std::uint8_t> bytes) {
    Handle file(CreateFileW(target.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) {
        fail(Step::create);
    }
    if (!write_all(file.get(), bytes)) {
        fail(Step::write);
    }
}

}  // namespace

InputFile::InputFile(const fs::path& path)
    : handle_(CreateFileW(long_form(path).c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    // A folder cannot be opened this way: the system answers "access denied".
    if (handle_ == INVALID_HANDLE_VALUE) {
        fail(Step::open);
    }
}

InputFile::~InputFile() {
    CloseHandle(handle_);
}

std::size_t InputFile::read_some(std::span<std::uint8_t> dest) {
    std::size_t total = 0;
    if (!read_all(handle_, dest, total)) {
        fail(Step::read);
    }
    return total;
}

std::uint64_t InputFile::seek_within_size(std::uint64_t count) {
    const auto size = regular_size();
    LARGE_INTEGER at{};
    const LARGE_INTEGER here{};
    if (!size || !SetFilePointerEx(handle_, here, &at, FILE_CURRENT) ||
        *size <= static_cast<std::uint64_t>(at.QuadPart)) {
        return 0;
    }
    LARGE_INTEGER step{};
    step.QuadPart = static_cast<LONGLONG>(
        std::min<std::uint64_t>(count, *size - static_cast<std::uint64_t>(at.QuadPart)));
    if (!SetFilePointerEx(handle_, step, nullptr, FILE_CURRENT)) {
        fail(Step::read);
    }
    return static_cast<std::uint64_t>(step.QuadPart);
}

std::optional<std::uint64_t> InputFile::regular_size() const {
    LARGE_INTEGER size{};
    if (GetFileType(handle_) != FILE_TYPE_DISK || !GetFileSizeEx(handle_, &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

void replace_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const Target target = examine(path);
    switch (choose_save_way(target.facts)) {
        case SaveWay::refuse_folder:
        case SaveWay::refuse_device:
        case SaveWay::refuse_read_only:
        case SaveWay::refuse_not_writable:
            // The system's answer to writing a folder or a read-only file.
            fail(Step::create, ERROR_ACCESS_DENIED);
        case SaveWay::write_stream:
            return write_stream(target, bytes);
        case SaveWay::write_in_place:
            return write_in_place(target, bytes);
        case SaveWay::replace:
            return replace_whole(target, bytes);
    }
}

}  // namespace vlt

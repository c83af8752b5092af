#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "base/file_io.h"
#include "base/system_reason.h"
#include "base/windows_api.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(FileError::Step step, DWORD error = GetLastError()) {
    throw FileError(step, system_reason(error));
}

// Closes a handle once, whatever happens.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
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

bool write_all(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD want = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max() / 2));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), want, &written, nullptr) || written == 0) {
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

// Where a file or folder really lives, links followed, in the "\\?\" form that lifts the length
// limit; nothing when it cannot be opened.
std::optional<fs::path> real_path(const fs::path& path) {
    Handle handle(CreateFileW(path.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid()) {
        return std::nullopt;
    }
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetFinalPathNameByHandleW(
            handle.get(), name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
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

// The file a save replaces: an existing target's real file (a link stays a link to it), or a
// new name in its folder's real place. A folder that cannot be opened is left as it is, so that
// creating the file there fails with the system's own reason.
std::optional<fs::path> real_target(const fs::path& target, bool target_exists) {
    if (target_exists) {
        return real_path(target);
    }
    const auto folder = real_path(fs::absolute(target).parent_path());
    return folder ? *folder / target.filename() : target;
}

// Creates a new, exclusively owned temporary file in the folder. Its name is short, so it fits
// wherever the target's name fits.
HANDLE create_temporary(const fs::path& folder, fs::path& temp_path) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp_path = folder / (L"~vlt" + std::to_wstring(random() % 1000000u) + L".tmp");
        const HANDLE file = CreateFileW(temp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// Puts the finished temporary file in the target's place. ReplaceFileW keeps the target's
// security and attributes; where it cannot work (a new target, or a file system without it),
// a rename that waits for the disk does. The old attributes (hidden, archive, ...) are set
// again afterwards, as not every ReplaceFileW keeps them and a rename never does.
bool put_in_place(const fs::path& temp_path, const fs::path& target, DWORD old_attributes) {
    const bool target_exists = old_attributes != INVALID_FILE_ATTRIBUTES;
    const bool replaced =
        (target_exists && ReplaceFileW(target.c_str(), temp_path.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) ||
        MoveFileExW(temp_path.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (replaced && target_exists) {
        SetFileAttributesW(target.c_str(), old_attributes);
    }
    return replaced;
}

}  // namespace

InputFile::InputFile(const fs::path& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    // A folder cannot be opened this way: the system answers "access denied".
    if (handle_ == INVALID_HANDLE_VALUE) {
        fail(FileError::Step::open);
    }
}

InputFile::~InputFile() {
    CloseHandle(handle_);
}

std::size_t InputFile::read(std::span<std::uint8_t> dest) {
    std::size_t total = 0;
    while (total < dest.size()) {
        const DWORD want = static_cast<DWORD>(
            std::min<std::size_t>(dest.size() - total, std::numeric_limits<DWORD>::max() / 2));
        DWORD got = 0;
        if (!ReadFile(handle_, dest.data() + total, want, &got, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE) {
                break;  // the writing end of a pipe closed: its end
            }
            fail(FileError::Step::read, error);
        }
        if (got == 0) {
            break;
        }
        total += got;
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
    LARGE_INTEGER size{};
    if (GetFileType(handle_) != FILE_TYPE_DISK || !GetFileSizeEx(handle_, &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

void replace_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool target_exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A folder or a read-only file is refused with the system's answer to writing it.
    if (target_exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        fail(FileError::Step::create, ERROR_ACCESS_DENIED);
    }
    const auto target = real_target(path, target_exists);
    if (!target) {
        fail(FileError::Step::create);
    }
    fs::path temp_path;
    Handle file(create_temporary(target->parent_path(), temp_path));
    if (!file.valid()) {
        fail(FileError::Step::create);
    }
    // The data must be on the disk, not only in the system's cache, before it replaces the
    // target.
    const bool written = write_all(file.get(), bytes) && FlushFileBuffers(file.get());
    const DWORD write_error = GetLastError();
    const bool closed = file.close();
    if (!written || !closed) {
        const DWORD error = written ? GetLastError() : write_error;
        DeleteFileW(temp_path.c_str());
        fail(FileError::Step::write, error);
    }
    if (!put_in_place(temp_path, *target, attributes)) {
        const DWORD error = GetLastError();
        DeleteFileW(temp_path.c_str());
        fail(FileError::Step::create, error);
    }
}

}  // namespace vlt

#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/windows_api.h"

namespace vlt::windows {

// What a replaced file hands on to the file that takes its place, as the system's own
// replacing call would: its attributes, its creation time, and its access list where it has
// one of its own rather than only what its folder passes down.
struct Inheritance {
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    FILETIME created{};
    std::vector<std::uint8_t> own_dacl;  // empty: the folder's inherited list serves
    bool dacl_protected = false;
};

// Learns what an open file (opened with READ_CONTROL for its access list) hands on.
Inheritance inheritance_of(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info);

// A new hidden file ".vlt-" and eight letters in a folder, filled before it takes a target's
// place. It is held open without sharing its deletion for as long as the process lives, so a
// later save can tell a file left by a killed save (deletable) from one still being written
// (not), and removes the former before making its own.
class TempFile {
public:
    // FileError (create) when the folder takes no new file.
    explicit TempFile(const std::filesystem::path& folder);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    HANDLE handle() const { return handle_; }
    // Gives the file what the target hands on and puts it in the target's place in one rename
    // that replaces. FileError (create) when the system refuses; the file is then removed.
    void publish(const std::filesystem::path& target, const Inheritance& from);

private:
    void take_over(const Inheritance& from);
    bool rename_over(const std::filesystem::path& target);
    void discard();

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::filesystem::path path_;
};

}  // namespace vlt::windows

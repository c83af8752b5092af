#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// The core's file layer: every call this program makes to the system about a file goes through
// here. Paths are handed to the system in its own wide form on Windows.

namespace vlt {

// A system call on a file that failed. what() is the system's own text for the failure, such as
// "No such file or directory"; the step says what was being done.
class FileError : public std::runtime_error {
public:
    enum class Step { open, read, create, write };

    FileError(Step step, const std::string& reason) : std::runtime_error(reason), step_(step) {}
    Step step() const { return step_; }

private:
    Step step_;
};

// An open file, read from its start to its end in pieces: regular files, pipes and character
// devices alike, never by a size taken in advance.
class InputFile {
public:
    // FileError (open) when the file cannot be opened or is a folder.
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Fills dest from the file; fewer bytes only at its end. FileError (read) on a failed read.
    std::size_t read(std::span<std::uint8_t> dest);
    // Passes over count bytes without keeping them (seeking where the file allows); returns how
    // many there were, fewer only at the file's end. FileError (read) on a failed read.
    std::uint64_t skip(std::uint64_t count);
    // Passes over the rest of the file; returns how many bytes that was.
    std::uint64_t skip_to_end();
    // The file system's size, for a regular file only.
    std::optional<std::uint64_t> regular_size() const;

private:
    // Seeks forward over at most count bytes of a regular file, as far as its size reaches;
    // returns how far that was (0 for a pipe or a device).
    std::uint64_t seek_within_size(std::uint64_t count);

#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

struct FileContents {
    std::vector<std::uint8_t> bytes;  // the file's first bytes, up to the amount asked for
    std::uint64_t length = 0;         // the whole file's length
};

// Reads a file to its end, keeping at most keep_at_most bytes. The length of a regular file is
// the file system's; any other file is read to its end to count it. FileError on failure.
FileContents read_file(const std::filesystem::path& path, std::size_t keep_at_most);

// Saves bytes so that a failed save never destroys the file the user had. A regular file, or a
// new name, is replaced as a whole: the bytes go to a new file in the target's folder, which
// takes the target's place only once every byte is on the disk. Symbolic links are followed and
// stay links: the file they name is replaced (a dangling link's file is created). A file with
// more than one hard link is written in place, its old bytes written back if that fails. A
// character device, FIFO or socket is written into as a stream. A folder, a block device, or a
// file without any write permission is refused. FileError (create) when the file cannot be made
// or put in place, FileError (write) when writing it fails.
void replace_file(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace vlt

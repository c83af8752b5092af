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

// The most bytes read from a pipe, a device, or a file that holds more than the system says it
// does (as files in /proc, sized 0): beyond it, a read fails rather than going on without end.
inline constexpr std::uint64_t max_stream_bytes = std::uint64_t{256} << 20;

// An open file, read from its start to its end in pieces: regular files, pipes and character
// devices alike, never by a size taken in advance. A path that names one of the process's own
// descriptors (/dev/stdin, /dev/fd/N, /proc/self/fd/N) is read through that descriptor, from its
// offset.
class InputFile {
public:
    // FileError (open) when the file cannot be opened or is a folder.
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Fills dest from the file; fewer bytes only at its end. FileError (read) on a failed read,
    // and past max_stream_bytes unless the file's own size reaches that far.
    std::size_t read(std::span<std::uint8_t> dest);
    // Passes over count bytes without keeping them (seeking where the file allows); returns how
    // many there were, fewer only at the file's end. FileError (read) on a failed read.
    std::uint64_t skip(std::uint64_t count);
    // Passes over the rest of the file; returns how many bytes that was.
    std::uint64_t skip_to_end();
    // Reads a pipe or a device on to its end, so that whatever writes into it never finds it
    // closed early; a regular file is left as it is.
    void drain();
    // The file system's size, for a regular file only.
    std::optional<std::uint64_t> regular_size() const;

private:
    // The platform's read: fills dest, fewer bytes only at the end.
    std::size_t read_some(std::span<std::uint8_t> dest);
    // Counts bytes passed over; FileError (read) once they go beyond the limit.
    void advance(std::uint64_t count);
    // Seeks forward over at most count bytes of a regular file, as far as its size reaches;
    // returns how far that was (0 for a pipe or a device).
    std::uint64_t seek_within_size(std::uint64_t count);

#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
    std::uint64_t position_ = 0;  // bytes read or passed over since the file was opened
    std::optional<std::uint64_t> limit_;
};

struct FileContents {
    std::vector<std::uint8_t> bytes;  // the file's first bytes, up to the amount asked for
    std::uint64_t length = 0;         // the whole file's length
};

// Reads a file to its end, keeping at most keep_at_most bytes. A regular file is passed over as
// far as its size and read on from there, so that a file holding more than its size (as files
// in /proc do) is counted in full; pipes and devices are read to their end. FileError on
// failure, and for a stream longer than max_stream_bytes.
FileContents read_file(const std::filesystem::path& path, std::size_t keep_at_most);

// Saves bytes so that a failed save never destroys the file the user had. A regular file, or a
// new name, is replaced as a whole: the bytes go to a new file in the target's folder, with the
// old file's owner, mode and extended attributes (ACLs among them), which takes the target's
// place only once every byte is on the disk. Symbolic links are followed and stay links: the
// file they name is replaced (a dangling link's file is created). A file with more than one hard
// link, in a folder that takes no new file, or whose owner a new file could not keep, is written
// in place, its old bytes written back if that fails. A character device, FIFO or socket is
// written into as a stream; one of the process's own descriptors (/dev/stdout, /dev/fd/N) is
// written through, at its offset or appended. A folder, a block device, a file the process may
// not write, or a file without any write permission is refused. FileError (create) when the
// file cannot be made or put in place, FileError (write) when writing it fails.
void replace_file(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace vlt

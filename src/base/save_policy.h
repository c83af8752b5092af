#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace vlt {

// What a save finds at the name it was given, links followed, as the system tells it.
struct SaveTargetFacts {
    enum class Kind { missing, folder, block_device, stream, regular };
    Kind kind = Kind::missing;
    bool marked_read_only = false;  // no write permission for anyone, or the read-only attribute
    bool writable = true;           // the system's own check for this process, where it has one
    std::uint64_t hard_links = 1;
};

// What a save does with it. The same rules on every system; each system says why it refuses in
// its own words.
enum class SaveWay {
    refuse_folder,        // a folder is never replaced by a file
    refuse_device,        // a disk or partition: writing a file's bytes over it is never meant
    refuse_read_only,     // refused even for an administrator, who could otherwise write it
    refuse_not_writable,  // as the system decides for `>`: access lists, read-only mounts
    write_stream,         // a device, pipe or socket takes the bytes as a stream, as a
                          // redirection gives them; replacing it would break its reader
    write_in_place,       // every name of a hard-linked file must see the new bytes
    replace,              // a new file takes the name's place (or is the name's first file)
};

SaveWay choose_save_way(const SaveTargetFacts& facts);

// How many symbolic links a save follows to the file it writes: the count after which Linux
// gives up with ELOOP.
inline constexpr int max_links_followed = 40;

// Where a link whose text is `target` points, relative ones from the link's folder.
inline std::filesystem::path link_destination(const std::filesystem::path& link,
                                              const std::filesystem::path& target) {
    return target.is_absolute() ? target : link.parent_path() / target;
}

// Follows symbolic links one by one to the name the chain ends at, which need not exist: a
// dangling link names the file to create. `next_name` gives where a name that is a link points,
// or nothing when it is none; `too_many` raises the system's error for a chain that is too long.
template <typename NextName, typename TooMany>
std::filesystem::path follow_links(std::filesystem::path path, NextName next_name,
                                   TooMany too_many) {
    for (int links = 0;; ++links) {
        std::optional<std::filesystem::path> next = next_name(path);
        if (!next) {
            return path;
        }
        if (links == max_links_followed) {
            too_many();
        }
        path = std::move(*next);
    }
}

}  // namespace vlt

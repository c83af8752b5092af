#pragma once

#include <sys/stat.h>

#include <filesystem>

namespace vlt::posix {

// Gives a new file the owner and group of the file it replaces (old) where the process may set
// them; false when the owner or the group could not be kept.
bool give_owner(int fd, const struct stat& old);
// Then its mode: the set-user and set-group bits only when owner (and group) stayed the same,
// so that they never come to give another user's rights.
void give_mode(int fd, const struct stat& old);

// Gives a new file the extended attributes of the file at `from`, its access ACL among them
// (which also sets the group bits the ACL's mask stands for); an ACL the new file took from its
// folder's default goes when the old file had none. Security labels and capabilities are left
// to the system: they are not the user's to carry over. False, with errno set, when an
// attribute cannot be read or set.
bool copy_extended_attributes(const std::filesystem::path& from, int to);

}  // namespace vlt::posix

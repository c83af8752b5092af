#include "base/file_messages.h"

#include <string>

#include "base/errors.h"
#include "base/path_text.h"

namespace vlt {

FileContents read_file_or_raise(const std::filesystem::path& path, std::size_t keep_at_most) {
    try {
        return read_file(path, keep_at_most);
    } catch (const FileError& e) {
        const std::string text = utf8_of(path);
        throw Exception("Cannot open file " + text, FileReason{text, e.what()});
    }
}

void replace_file_or_raise(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    try {
        replace_file(path, bytes);
    } catch (const FileError& e) {
        const std::string text = utf8_of(path);
        throw Exception(e.step() == FileError::Step::write ? "Stream write error"
                                                           : "Cannot create file " + text,
                        FileReason{text, e.what()});
    }
}

}  // namespace vlt

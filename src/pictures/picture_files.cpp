#include "pictures/picture_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/errors.h"
#include "base/file_messages.h"
#include "base/path_text.h"
#include "pictures/bmp_stream_reader.h"
#include "pictures/bmp_writer.h"
#include "pictures/icon_metafile_check.h"
#include "pictures/picture_error.h"
#include "pictures/png_reader.h"
#include "pictures/png_writer.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

PictureKind kind_for_extension(const std::string& extension) {
    const std::string lower = lower_case(extension);
    if (lower == "bmp" || lower == "png") {
        return PictureKind::bitmap;
    }
    if (lower == "ico") {
        return PictureKind::icon;
    }
    if (lower == "emf" || lower == "wmf") {
        return PictureKind::metafile;
    }
    throw Exception("Unknown picture file extension (." + extension + ")");
}

// A load's file errors all read "Cannot open file %s", with the system's reason.
[[noreturn]] void cannot_open(const fs::path& path, const FileError& e) {
    throw Exception("Cannot open file " + utf8_of(path), FileReason{utf8_of(path), e.what()});
}

FileContents read_head(const fs::path& path, std::size_t head_bytes) {
    return read_file_or_raise(path, head_bytes);
}

class FileSource : public ByteSource {
public:
    explicit FileSource(const fs::path& path) : path_(path), file_(open(path)) {}
    std::size_t read(std::span<std::uint8_t> dest) override {
        try {
            return file_->read(dest);
        } catch (const FileError& e) {
            cannot_open(path_, e);
        }
    }
    std::uint64_t skip(std::uint64_t count) override {
        try {
            return file_->skip(count);
        } catch (const FileError& e) {
            cannot_open(path_, e);
        }
    }
    // A pipe is read to its end, its surplus ignored as a regular file's is, so that its writer
    // never meets a closed pipe.
    void drain() {
        try {
            file_->drain();
        } catch (const FileError& e) {
            cannot_open(path_, e);
        }
    }
    bool regular() const { return file_->regular_size().has_value(); }

private:
    static std::unique_ptr<InputFile> open(const fs::path& path) {
        try {
            return std::make_unique<InputFile>(path);
        } catch (const FileError& e) {
            cannot_open(path, e);
        }
    }
    const fs::path& path_;
    std::unique_ptr<InputFile> file_;
};

// The bytes already read to tell the format, then the rest of the file.
class PrefixedSource : public ByteSource {
public:
    PrefixedSource(std::span<const std::uint8_t> prefix, ByteSource& rest)
        : prefix_(prefix), rest_(rest) {}
    std::size_t read(std::span<std::uint8_t> dest) override {
        const std::size_t from_prefix = std::min(dest.size(), prefix_.size());
        std::copy_n(prefix_.begin(), from_prefix, dest.begin());
        prefix_ = prefix_.subspan(from_prefix);
        if (from_prefix == dest.size()) {
            return from_prefix;
        }
        return from_prefix + rest_.read(dest.subspan(from_prefix));
    }
    std::uint64_t skip(std::uint64_t count) override {
        const auto from_prefix =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, prefix_.size()));
        prefix_ = prefix_.subspan(from_prefix);
        return from_prefix + (count > from_prefix ? rest_.skip(count - from_prefix) : 0);
    }

private:
    std::span<const std::uint8_t> prefix_;
    ByteSource& rest_;
};

// A picture that cannot be read names its file after the reader's text, with what the reader
// found wrong when it knows. A file the system refused already names it.
[[noreturn]] void raise_naming(const fs::path& path) {
    try {
        throw;
    } catch (const PictureError& e) {
        throw Exception(report_text(e.what()) + " (" + utf8_of(path) + ": " + e.detail() + ")");
    } catch (const Exception& e) {
        if (e.reason()) {
            throw;
        }
        throw Exception(report_text(e.what()) + " (" + utf8_of(path) + ")");
    }
}

// PNG when the file starts with its signature, whatever the name says; otherwise BMP.
LoadedPicture read_by_first_bytes(FileSource& file, const fs::path& path) {
    try {
        std::array<std::uint8_t, png_signature.size()> head{};
        const std::size_t got = file.read(head);
        const auto first = std::span<const std::uint8_t>(head).first(got);
        PrefixedSource source(first, file);
        if (starts_with_png_signature(first)) {
            PngRead read = read_png_from(source);
            file.drain();
            return {PictureKind::bitmap, std::move(read.picture), 0, read.had_transparency};
        }
        BmpRead read = read_bmp_from(source);
        file.drain();
        return {PictureKind::bitmap, std::move(read.picture), read.missing_pixel_bytes, false};
    } catch (const Exception&) {
        raise_naming(path);
    }
}

}  // namespace

LoadedPicture read_picture_by_extension(const fs::path& path) {
    const std::string extension = extension_of(path);
    if (extension.empty()) {
        // A pipe or a device has no name to go by: its first bytes tell. Anything else, or a
        // file that is not there, goes by its name as before.
        std::optional<FileSource> file;
        try {
            file.emplace(path);
        } catch (const Exception&) {
        }
        if (file && !file->regular()) {
            return read_by_first_bytes(*file, path);
        }
    }
    const PictureKind kind = kind_for_extension(extension);
    if (kind == PictureKind::bitmap) {
        return read_bitmap_file(path);
    }
    if (kind == PictureKind::icon) {
        const FileContents head = read_head(path, icon_head_bytes);
        check_icon(head.bytes, head.length);
    } else {
        check_metafile(read_head(path, metafile_head_bytes).bytes);
    }
    return {kind, Bitmap(), 0};
}

LoadedPicture read_bitmap_file(const fs::path& path) {
    FileSource file(path);
    return read_by_first_bytes(file, path);
}

void save_picture(View& view, const fs::path& path) {
    if (view.picture_kind() == PictureKind::bitmap) {
        save_bitmap(view, path);
    }
}

void save_bitmap(View& view, const fs::path& path) {
    Bitmap& picture = view.bitmap_access();
    replace_file_or_raise(path, is_png_path(path) ? encode_png(picture) : encode_bmp(picture));
}

}  // namespace vlt

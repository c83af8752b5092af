#include "pictures/picture_files.h"

#include <algorithm>
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
    if (lower == "bmp") {
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

}  // namespace

LoadedPicture read_picture_by_extension(const fs::path& path) {
    const PictureKind kind = kind_for_extension(extension_of(path));
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
    FileSource source(path);
    BmpRead read = read_bmp_from(source);
    source.drain();
    return {PictureKind::bitmap, std::move(read.picture), read.missing_pixel_bytes};
}

void load_by_extension(View& view, const fs::path& path) {
    LoadedPicture loaded = read_picture_by_extension(path);
    // Marked for repainting even for a 0-byte file, unlike load bitmap.
    view.take_picture(loaded.kind, std::move(loaded.bitmap));
}

void load_bitmap(View& view, const fs::path& path) {
    LoadedPicture loaded = read_bitmap_file(path);
    const bool empty = loaded.bitmap.empty();  // only a 0-byte file reads as the empty picture
    view.bitmap_access() = std::move(loaded.bitmap);
    if (!empty) {
        view.mark_for_repaint();
    }
}

void save_picture(View& view, const fs::path& path) {
    if (view.picture_kind() == PictureKind::none) {
        return;
    }
    if (view.picture_kind() != PictureKind::bitmap) {
        // Icons and metafiles are never kept, so there is nothing to write.
        replace_file_or_raise(path, {});
        return;
    }
    replace_file_or_raise(path, encode_bmp(view.bitmap_access()));
}

void save_bitmap(View& view, const fs::path& path) {
    replace_file_or_raise(path, encode_bmp(view.bitmap_access()));
}

}  // namespace vlt

#pragma once

#include <cstdint>
#include <filesystem>

#include "pictures/view.h"

namespace vlt {

// Loading and saving a view's picture. Every failure raises an Exception with the message the
// user sees: a picture that cannot be read names the file, "TEXT (PATH)" or "TEXT (PATH:
// DETAIL)"; a failed load leaves the view as it was, a failed save leaves an existing file as
// it was.

// A picture read from a file and not yet in a view.
struct LoadedPicture {
    PictureKind kind = PictureKind::bitmap;
    Bitmap bitmap;  // the empty picture for an icon or metafile, which are not kept
    std::uint64_t missing_pixel_bytes = 0;  // uncompressed pixel data the file lacked
    bool had_transparency = false;          // a PNG pixel less than opaque, its alpha dropped

    bool has_pixels() const { return kind == PictureKind::bitmap && !bitmap.empty(); }
};

// By the path's extension: bmp and png read a picture by its first bytes (BMP or PNG); ico, emf
// and wmf are checked and give an icon or metafile picture. A path without an extension that is
// not a regular file (a pipe, /dev/stdin) is read by its first bytes too. Any other extension:
// "Unknown picture file extension (.%s)", before the file is opened.
LoadedPicture read_picture_by_extension(const std::filesystem::path& path);
// The file is read by its first bytes, as PNG or BMP, whatever its extension. A 0-byte file
// gives the empty picture.
LoadedPicture read_bitmap_file(const std::filesystem::path& path);

// Writes the picture in its own kind; a view with no picture at all writes nothing. A path
// ending in .png (any case) writes its colours as PNG instead of BMP, here and in save_bitmap.
void save_picture(View& view, const std::filesystem::path& path);

// Bitmap access, then the picture is written as a BMP file (0 bytes for the empty picture).
void save_bitmap(View& view, const std::filesystem::path& path);

}  // namespace vlt

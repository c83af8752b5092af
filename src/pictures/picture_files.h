#pragma once

#include <filesystem>

#include "pictures/view.h"

namespace vlt {

// Loading and saving a view's picture. Every failure raises an Exception with the message the
// user sees; a failed load leaves the slot as it was, a failed save leaves an existing file as
// it was.

// By the path's extension: bmp reads a BMP file; ico, emf and wmf are checked and give an icon
// or metafile picture. Any other extension: "Unknown picture file extension (.%s)", before the
// file is opened.
void load_by_extension(View& view, const std::filesystem::path& path);

// Bitmap access, then the file is read as a BMP file whatever its extension.
void load_bitmap(View& view, const std::filesystem::path& path);

// Writes the picture in its own kind; a view with no picture at all writes nothing.
void save_picture(View& view, const std::filesystem::path& path);

// Bitmap access, then the picture is written as a BMP file (0 bytes for the empty picture).
void save_bitmap(View& view, const std::filesystem::path& path);

}  // namespace vlt

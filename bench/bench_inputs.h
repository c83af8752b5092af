#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "pictures/bitmap.h"
#include "workspace/workspace.h"

namespace vlt::bench {

// Every input is made from fixed seeds, so two runs measure the same work.

// 256 x 1152 display-format pictures for the bigf conversion.
// Worst case: 200 distinct colours, none black. The first 111 pixels bring the colours that get
// entries; every later pixel is one of the 89 that never find room, so each one searches the
// whole palette, fails, and is painted black.
Bitmap bigf_worst_case_picture();
// Worst case for nearest colours: every pixel a colour of its own, none black or in the palette,
// spread over the whole colour cube: each surplus pixel is a fresh search.
Bitmap bigf_all_distinct_picture();
// Typical case: 100 colours (room for all), spread at random over the picture.
Bitmap bigf_typical_picture();
// 128 x 64 display-format picture of random colours near the palette's entries.
Bitmap cliff_picture(const Palette& palette);

// A palette of random real colours (top byte 0).
Palette random_palette(std::uint32_t seed);
// Random palette and random indices in both textures.
Workspace random_workspace();

// The bigf-sized picture as BMP file bytes: 32, 24 or 8 bits per pixel (BI_RGB, made by the
// project's writer), and RLE8 (encoded here, runs of 1 to 12 pixels).
std::vector<std::uint8_t> bigf_bmp_bytes(int bits_per_pixel);
std::vector<std::uint8_t> bigf_rle8_bytes();

// A folder for the files the benchmarks read and write, removed at the end. It lies in memory
// (/dev/shm) where there is one, so that file figures measure our work and not the disk.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void write_bytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace vlt::bench

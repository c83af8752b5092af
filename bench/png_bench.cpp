// Reading a bigf-sized PNG: an 8-bit palette picture (an indexed export, texture-like runs of
// indices), the same as 4-bit, and an RGB picture of the typical bigf colours, each also
// interlaced. VLT_BENCH_PNG=FILE adds png_read/file, the named file's bytes, so that a peer can
// be timed on exactly the same bytes (bench/png_compare.sh does this with Pillow).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "pictures/png_reader.h"
#include "pictures/png_writer.h"

namespace vlt::bench {
namespace {

// Indices in runs of 1 to 8, as painted textures have; `levels` indices in use.
std::vector<std::uint8_t> texture_indices(int levels) {
    std::mt19937 random(2205);
    std::vector<std::uint8_t> indices(std::size_t{bigf_width} * bigf_height);
    std::uint8_t value = 0;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (random() % 4 == 0) {
            value = static_cast<std::uint8_t>(random() % static_cast<unsigned>(levels));
        }
        indices[i] = value;
    }
    return indices;
}

void read_png_bench(benchmark::State& state, const std::vector<std::uint8_t>& file) {
    if (file.empty()) {
        state.SkipWithError("no file");
        return;
    }
    for (auto _ : state) {
        PngRead read = read_png(file);
        benchmark::DoNotOptimize(read.picture.pixels().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void put_chunk(std::vector<std::uint8_t>& out, const char* type,
               const std::vector<std::uint8_t>& data) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32(out, static_cast<std::uint32_t>(
                     crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// The project's writer makes neither 4-bit nor interlaced files: these are made here, a palette
// of grey levels, rows unfiltered. `packed` holds the rows at `depth` bits a pixel, each row
// starting on a byte.
std::vector<std::uint8_t> encode_palette_png(std::span<const std::uint8_t> packed, int width,
                                             int height, int depth, bool interlaced) {
    const auto row_bytes = [&](int pixels) { return (std::size_t(pixels) * depth + 7) / 8; };
    const auto pixel_at = [&](int x, int y) {
        const std::uint8_t byte = packed[std::size_t(y) * row_bytes(width) + x * depth / 8];
        const int shift = 8 - depth - (x * depth) % 8;
        return (byte >> shift) & ((1 << depth) - 1);
    };
    struct Pass {
        int x0, y0, dx, dy;
    };
    const std::vector<Pass> passes =
        interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                   : std::vector<Pass>{{0, 0, 1, 1}};
    std::vector<std::uint8_t> raw;
    for (const Pass& p : passes) {
        for (int y = p.y0; y < height; y += p.dy) {
            raw.push_back(0);  // no filter
            std::vector<std::uint8_t> row(row_bytes((width - p.x0 + p.dx - 1) / p.dx), 0);
            int i = 0;
            for (int x = p.x0; x < width; x += p.dx, ++i) {
                row[std::size_t(i * depth / 8)] |=
                    static_cast<std::uint8_t>(pixel_at(x, y) << (8 - depth - (i * depth) % 8));
            }
            if (p.x0 < width) {
                raw.insert(raw.end(), row.begin(), row.end());
            } else {
                raw.pop_back();
            }
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> idat(size);
    compress2(idat.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
    idat.resize(size);

    std::vector<std::uint8_t> out(png_signature.begin(), png_signature.end());
    std::vector<std::uint8_t> ihdr;
    put_u32(ihdr, static_cast<std::uint32_t>(width));
    put_u32(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(depth), 3, 0, 0,
                             static_cast<std::uint8_t>(interlaced ? 1 : 0)});
    put_chunk(out, "IHDR", ihdr);
    std::vector<std::uint8_t> plte;
    for (int i = 0; i < (1 << depth); ++i) {
        const auto grey = static_cast<std::uint8_t>(i * 255 / ((1 << depth) - 1));
        plte.insert(plte.end(), {grey, grey, grey});
    }
    put_chunk(out, "PLTE", plte);
    put_chunk(out, "IDAT", idat);
    put_chunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> file_bytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void add(const char* name, std::vector<std::uint8_t> file) {
    benchmark::RegisterBenchmark(name, [file = std::move(file)](benchmark::State& state) {
        read_png_bench(state, file);
    })->Unit(benchmark::kMicrosecond);
}

[[maybe_unused]] const bool registered = [] {
    const Palette palette = random_palette(22);
    add("png_read/palette8",
        encode_indexed_png(texture_indices(256), bigf_width, bigf_height, palette));
    const auto sixteen = texture_indices(16);
    add("png_read/palette8_interlaced",
        encode_palette_png(sixteen, bigf_width, bigf_height, 8, true));
    std::vector<std::uint8_t> packed(sixteen.size() / 2);
    for (std::size_t i = 0; i < packed.size(); ++i) {
        packed[i] = static_cast<std::uint8_t>(sixteen[2 * i] << 4 | sixteen[2 * i + 1]);
    }
    add("png_read/palette4", encode_palette_png(packed, bigf_width, bigf_height, 4, false));
    add("png_read/palette4_interlaced",
        encode_palette_png(packed, bigf_width, bigf_height, 4, true));
    add("png_read/rgb", encode_png(bigf_typical_picture()));
    if (const char* path = std::getenv("VLT_BENCH_PNG")) {
        add("png_read/file", file_bytes(path));
    }
    return true;
}();

}  // namespace
}  // namespace vlt::bench

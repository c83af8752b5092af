// Reading and writing a bigf-sized BMP at each depth, beside stb_image decoding the same bytes
// and a plain memcpy of them (the floor nothing can beat).
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstring>
#include <memory>
#include <string>

#include "bench_inputs.h"
#include "pictures/bmp_reader.h"
#include "pictures/bmp_writer.h"
#include "pictures/picture_files.h"

namespace vlt::bench {
namespace {

const std::vector<std::uint8_t>& file_for(int bits) {
    static const auto bmp32 = bigf_bmp_bytes(32);
    static const auto bmp24 = bigf_bmp_bytes(24);
    static const auto bmp8 = bigf_bmp_bytes(8);
    static const auto rle8 = bigf_rle8_bytes();
    switch (bits) {
        case 32:
            return bmp32;
        case 24:
            return bmp24;
        case 8:
            return bmp8;
        default:
            return rle8;
    }
}

void read_bmp_bench(benchmark::State& state, int bits) {
    const auto& file = file_for(bits);
    for (auto _ : state) {
        Bitmap picture = read_bmp(file);
        benchmark::DoNotOptimize(picture.pixels().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void stb_read_bench(benchmark::State& state, int bits) {
    const auto& file = file_for(bits);
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
            stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height,
                                  &channels, 0),
            stbi_image_free);
        if (!pixels) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void memcpy_floor_bench(benchmark::State& state, int bits) {
    const auto& file = file_for(bits);
    std::vector<std::uint8_t> copy(file.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), file.data(), file.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void write_bmp_bench(benchmark::State& state, int bits) {
    // The RLE8 file is written back as a display-format picture.
    Bitmap picture = read_bmp(file_for(bits));
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = encode_bmp(picture);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// The whole load of a file into a view, as the import commands do it (file in memory, see
// ScratchDir).
void load_file_bench(benchmark::State& state, int bits) {
    const ScratchDir dir;
    const auto path = dir / "picture.bmp";
    write_bytes(path, file_for(bits));
    View view("bigf", bigf_width, bigf_height);
    for (auto _ : state) {
        view.take_picture(std::move(read_bitmap_file(path).bitmap));
        benchmark::DoNotOptimize(view.bitmap()->pixels().data());
    }
}

struct Format {
    const char* name;
    int bits;  // 0 stands for the RLE8 file
};
constexpr Format formats[] = {{"32bit", 32}, {"24bit", 24}, {"8bit", 8}, {"rle8", 0}};

void add(const std::string& name, void (*fn)(benchmark::State&, int), int bits) {
    benchmark::RegisterBenchmark(name.c_str(), fn, bits)->Unit(benchmark::kMicrosecond);
}

[[maybe_unused]] const bool registered = [] {
    for (const Format& f : formats) {
        add(std::string("bmp_read/") + f.name, read_bmp_bench, f.bits);
        if (f.bits != 0) {  // stb_image takes no run-length data
            add(std::string("bmp_read_stb_image/") + f.name, stb_read_bench, f.bits);
        }
        add(std::string("bmp_read_memcpy_floor/") + f.name, memcpy_floor_bench, f.bits);
    }
    for (const Format& f : formats) {
        add(std::string("bmp_load_file/") + f.name, load_file_bench, f.bits);
    }
    for (const Format& f : formats) {
        add(std::string("bmp_write/") + f.name, write_bmp_bench, f.bits);
    }
    return true;
}();

}  // namespace
}  // namespace vlt::bench

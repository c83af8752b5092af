// The bigf import reducing a painted picture of about 30,000 colours to entries 1 to 111, as
// bench/reduction_table.py measures its error: plain, and dithered.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench_inputs.h"
#include "conversions/bigf_reduction.h"
#include "pictures/view.h"

namespace vlt::bench {
namespace {

// The table script's picture, pixel for pixel.
Color painted_pixel(int x, int y) {
    const std::uint32_t h =
        (static_cast<std::uint32_t>(x) * 73856093u) ^ (static_cast<std::uint32_t>(y) * 19349663u);
    const std::uint32_t n = (h * 2654435761u) >> 24;
    const int band = y >= 400 && y < 560 ? 1 : 0;
    const auto r = static_cast<std::uint8_t>(50 + x * 90 / 255 + y * 40 / 1151 + n % 2);
    const auto g = static_cast<std::uint8_t>(80 + y * 110 / 1151 + x / 32 * 3 + n / 2 % 2);
    const auto b = static_cast<std::uint8_t>(30 + (x + y) % 97 / 12 + band * 120);
    return make_color(r, g, b);
}

Bitmap painted_picture() {
    Bitmap picture = Bitmap::make_display(bigf_width, bigf_height, 0);
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            picture.set_pixel(x, y, painted_pixel(x, y));
        }
    }
    return picture;
}

// A fresh copy of the picture each run, made outside the timed part: the import paints it.
void bigf_reduction(benchmark::State& state, bool dither) {
    static const Bitmap source = painted_picture();
    auto workspace = std::make_unique<Workspace>();
    workspace->pal_colors = random_palette(256);  // entries 112 to 255 are fixed colours
    View bigf("bigf", bigf_width, bigf_height);
    for (auto _ : state) {
        bigf.take_picture(source);
        const auto start = std::chrono::steady_clock::now();
        const BigfReport report = bigf_reduced_from_picture(*workspace, bigf.pixels_for_change(), dither);
        benchmark::DoNotOptimize(report.mean_error);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

BENCHMARK_CAPTURE(bigf_reduction, plain, false)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bigf_reduction, dithered, true)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vlt::bench

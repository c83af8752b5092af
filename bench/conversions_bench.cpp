// The four conversions on full-size inputs, without file or dialog.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

#include "bench_inputs.h"
#include "conversions/bigf_from_picture.h"
#include "conversions/cliff_builder.h"
#include "conversions/cliff_from_picture.h"
#include "conversions/palette_from_picture.h"
#include "pictures/pixel_rows.h"
#include "pictures/view.h"

namespace vlt::bench {
namespace {

// The conversion paints the pixels that find no room black, so every run starts from a fresh
// copy of the picture, made outside the timed part.
void bigf_conversion(benchmark::State& state, const Bitmap& source,
                     SurplusColours surplus = SurplusColours::black) {
    auto workspace = std::make_unique<Workspace>();
    workspace->pal_colors = random_palette(256);  // entries 112 to 255 take part in the search
    View bigf("bigf", bigf_width, bigf_height);
    for (auto _ : state) {
        bigf.take_picture(source);
        // Timed by hand: pausing the library's clock costs more than a small run.
        const auto start = std::chrono::steady_clock::now();
        bigf_from_picture(*workspace, bigf.pixels_for_change(), surplus);
        benchmark::DoNotOptimize(workspace->bigf_data.data());
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void bigf_conversion_worst_case(benchmark::State& state) {
    static const Bitmap source = bigf_worst_case_picture();
    bigf_conversion(state, source);
}
BENCHMARK(bigf_conversion_worst_case)->UseManualTime()->Unit(benchmark::kMillisecond);

// The worst case in an 8-bit picture: 200 table colours, the first 111 pixels take entries,
// every later pixel finds no room and is painted the table's nearest colour to black.
void bigf_conversion_worst_case_8bit(benchmark::State& state) {
    static const Bitmap source = [] {
        const Bitmap colors = bigf_worst_case_picture();
        std::vector<RgbQuad> table;
        std::vector<Color> seen;
        Bitmap picture(bigf_width, bigf_height, 8);
        for (int y = 0; y < bigf_height; ++y) {
            for (int x = 0; x < bigf_width; ++x) {
                const Color c = colors.get_pixel(x, y);
                auto at = std::find(seen.begin(), seen.end(), c);
                if (at == seen.end()) {
                    seen.push_back(c);
                    table.push_back({blue_of(c), green_of(c), red_of(c), 0});
                    at = seen.end() - 1;
                }
                picture.row(y)[x] = static_cast<std::uint8_t>(at - seen.begin());
            }
        }
        picture.set_color_table(std::move(table));
        return picture;
    }();
    bigf_conversion(state, source);
}
BENCHMARK(bigf_conversion_worst_case_8bit)
    ->Name("bigf_conversion_worst_case/8bit")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Nearest colours for the colours that find no room: the 200-colour worst case, and every pixel
// a colour of its own, which fills every cell of the search and misses every cached answer.
void bigf_conversion_nearest(benchmark::State& state) {
    static const Bitmap source = bigf_worst_case_picture();
    bigf_conversion(state, source, SurplusColours::nearest);
}
BENCHMARK(bigf_conversion_nearest)
    ->Name("bigf_conversion_worst_case/nearest")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void bigf_conversion_nearest_all_distinct(benchmark::State& state) {
    static const Bitmap source = bigf_all_distinct_picture();
    bigf_conversion(state, source, SurplusColours::nearest);
}
// The same picture painting black, for what the search adds.
void bigf_conversion_all_distinct(benchmark::State& state) {
    static const Bitmap source = bigf_all_distinct_picture();
    bigf_conversion(state, source, SurplusColours::black);
}
BENCHMARK(bigf_conversion_all_distinct)
    ->Name("bigf_conversion_worst_case/all_distinct")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(bigf_conversion_nearest_all_distinct)
    ->Name("bigf_conversion_worst_case/nearest_all_distinct")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Between the two: 3000 colours, each on about a hundred pixels, so that most find no room and
// repeat often, but too many for the answers of recent colours to hold them all.
void bigf_conversion_nearest_3000(benchmark::State& state) {
    static const Bitmap source = [] {
        std::mt19937 random(3000);
        std::vector<Color> colors(3000);
        for (Color& c : colors) {
            c = static_cast<Color>(random() & 0x00FFFFFFu);
        }
        Bitmap picture = Bitmap::make_display(bigf_width, bigf_height, 0);
        for (int y = 0; y < bigf_height; ++y) {
            for (int x = 0; x < bigf_width; ++x) {
                picture.set_pixel(x, y, colors[random() % colors.size()]);
            }
        }
        return picture;
    }();
    bigf_conversion(state, source, SurplusColours::nearest);
}
BENCHMARK(bigf_conversion_nearest_3000)
    ->Name("bigf_conversion_worst_case/nearest_3000")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void bigf_conversion_typical(benchmark::State& state) {
    static const Bitmap source = bigf_typical_picture();
    bigf_conversion(state, source);
}
BENCHMARK(bigf_conversion_typical)->UseManualTime()->Unit(benchmark::kMillisecond);

void cliff_conversion(benchmark::State& state) {
    auto workspace = std::make_unique<Workspace>();
    workspace->pal_colors = random_palette(256);
    View cliff("cliff", cliff_width, cliff_height);
    cliff.take_picture(cliff_picture(workspace->pal_colors));
    for (auto _ : state) {
        cliff_from_picture(*workspace, cliff.pixels_for_change());
        benchmark::DoNotOptimize(workspace->cliff_data.data());
    }
}
BENCHMARK(cliff_conversion)->Unit(benchmark::kMicrosecond);

// A random palette: most searches fail, so every column tries all four tolerances.
void cliff_builder(benchmark::State& state) {
    auto workspace = std::make_unique<Workspace>();
    workspace->pal_colors = random_palette(256);
    for (auto _ : state) {
        build_cliff(*workspace);
        benchmark::DoNotOptimize(workspace->cliff_data.data());
    }
}
BENCHMARK(cliff_builder)->Unit(benchmark::kMicrosecond);

void palette_conversion(benchmark::State& state) {
    auto workspace = std::make_unique<Workspace>();
    View pal("pal", 16, 16);
    pal.take_picture(cliff_picture(random_palette(256)));
    for (auto _ : state) {
        palette_from_picture(*workspace, pal.pixels_for_change());
        benchmark::DoNotOptimize(workspace->pal_colors.data());
    }
}
BENCHMARK(palette_conversion)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vlt::bench

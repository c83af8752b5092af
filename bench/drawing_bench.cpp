// The four drawing steps, each from a random workspace into a view that made its own picture.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_inputs.h"
#include "pictures/drawing.h"

namespace vlt::bench {
namespace {

void bigf_redraw_bench(benchmark::State& state) {
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    View bigf("bigf", bigf_width, bigf_height);
    for (auto _ : state) {
        bigf_redraw(*workspace, bigf);
        benchmark::DoNotOptimize(bigf.bitmap()->pixels().data());
    }
}
BENCHMARK(bigf_redraw_bench)->Name("bigf_redraw")->Unit(benchmark::kMicrosecond);

// The bigf view holding an 8-bit picture (as after importing one): every texel is matched to
// the picture's nearest table colour.
void bigf_redraw_indexed_bench(benchmark::State& state) {
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    View bigf("bigf", bigf_width, bigf_height);
    Bitmap picture(bigf_width, bigf_height, 8);
    std::vector<RgbQuad> table;
    for (const Color c : random_palette(8)) {
        table.push_back({blue_of(c), green_of(c), red_of(c), 0});
    }
    picture.set_color_table(std::move(table));
    bigf.take_picture(std::move(picture));
    for (auto _ : state) {
        bigf_redraw(*workspace, bigf);
        benchmark::DoNotOptimize(bigf.bitmap()->pixels().data());
    }
}
BENCHMARK(bigf_redraw_indexed_bench)
    ->Name("bigf_redraw/indexed_picture")
    ->Unit(benchmark::kMillisecond);

void cliff_redraw_bench(benchmark::State& state) {
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    View cliff("cliff", cliff_width, cliff_height);
    for (auto _ : state) {
        cliff_redraw(*workspace, cliff);
        benchmark::DoNotOptimize(cliff.bitmap()->pixels().data());
    }
}
BENCHMARK(cliff_redraw_bench)->Name("cliff_redraw")->Unit(benchmark::kMicrosecond);

void palette_redraw_bench(benchmark::State& state) {
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    View pal("pal", 16, 16);
    for (auto _ : state) {
        palette_redraw(*workspace, pal);
        benchmark::DoNotOptimize(pal.bitmap()->pixels().data());
    }
}
BENCHMARK(palette_redraw_bench)->Name("palette_redraw")->Unit(benchmark::kMicrosecond);

void preview_redraw_bench(benchmark::State& state) {
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    View pal("pal", 16, 16);
    View preview("pal_preview", 128, 128);
    palette_redraw(*workspace, pal);
    for (auto _ : state) {
        preview_redraw(pal, preview);
        benchmark::DoNotOptimize(preview.bitmap()->pixels().data());
    }
}
BENCHMARK(preview_redraw_bench)->Name("preview_redraw")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vlt::bench

// Loading and saving the three raw data files (in memory-backed files, see ScratchDir).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_inputs.h"
#include "workspace/data_files.h"

namespace vlt::bench {
namespace {

using Load = bool (*)(Workspace&, const std::filesystem::path&);
using Save = bool (*)(const Workspace&, const std::filesystem::path&);

void load_bench(benchmark::State& state, Save save, Load load) {
    const ScratchDir dir;
    const auto source = std::make_unique<Workspace>(random_workspace());
    const auto path = dir / "file.dat";
    save(*source, path);
    auto workspace = std::make_unique<Workspace>();
    for (auto _ : state) {
        if (!load(*workspace, path)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(workspace.get());
    }
}

void save_bench(benchmark::State& state, Save save) {
    const ScratchDir dir;
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    const auto path = dir / "file.dat";
    for (auto _ : state) {
        if (!save(*workspace, path)) {
            state.SkipWithError("save failed");
            break;
        }
    }
}

BENCHMARK_CAPTURE(load_bench, palette, save_palette_file, load_palette_file)
    ->Name("data_file_load/palette")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(load_bench, bigf, save_bigf_file, load_bigf_file)
    ->Name("data_file_load/bigf")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(load_bench, cliff, save_cliff_file, load_cliff_file)
    ->Name("data_file_load/cliff")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(save_bench, palette, save_palette_file)
    ->Name("data_file_save/palette")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(save_bench, bigf, save_bigf_file)
    ->Name("data_file_save/bigf")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(save_bench, cliff, save_cliff_file)
    ->Name("data_file_save/cliff")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vlt::bench

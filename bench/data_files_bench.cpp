// Loading and saving the three raw data files (in memory-backed files, see ScratchDir).
#include <benchmark/benchmark.h>

#include <memory>

#include "base/file_io.h"
#include "bench_inputs.h"
#include "workspace/data_files.h"

namespace vlt::bench {
namespace {

using Load = std::uint64_t (*)(Workspace&, const std::filesystem::path&);
using Save = void (*)(const Workspace&, const std::filesystem::path&);

void load_bench(benchmark::State& state, Save save, Load load) {
    const ScratchDir dir;
    const auto source = std::make_unique<Workspace>(random_workspace());
    const auto path = dir / "file.dat";
    save(*source, path);
    auto workspace = std::make_unique<Workspace>();
    try {
        for (auto _ : state) {
            benchmark::DoNotOptimize(load(*workspace, path));
            benchmark::DoNotOptimize(workspace.get());
        }
    } catch (const FileError& e) {
        state.SkipWithError(e.what());
    }
}

void save_bench(benchmark::State& state, Save save) {
    const ScratchDir dir;
    const auto workspace = std::make_unique<Workspace>(random_workspace());
    const auto path = dir / "file.dat";
    try {
        for (auto _ : state) {
            save(*workspace, path);
        }
    } catch (const FileError& e) {
        state.SkipWithError(e.what());
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

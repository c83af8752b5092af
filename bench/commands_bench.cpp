// Each of the thirteen commands as a button click runs it, at full size, with the dialog
// answered at once and the files in memory (ScratchDir): the command's own work.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_inputs.h"
#include "commands/texture_editor.h"
#include "pictures/bmp_writer.h"
#include "workspace/data_files.h"
#include "workspace/palette_files.h"

namespace vlt::bench {
namespace {

// Answers every dialog with the path given for the command; remembers whether anything failed.
class BenchPort : public WindowPort {
public:
    std::string failure;

    // Every command is given its file.
    std::optional<std::filesystem::path> pick_file(const FileRequest&) override {
        return std::nullopt;
    }
    void show_notice(const Message& message) override { failure = message.text; }
    void report_error(const Message& message) override { failure = message.text; }
    void show_warnings(std::span<const std::string>) override {}
    void refresh_view(View&) override {}
};

// The input files every command may read, written once.
class Inputs {
public:
    Inputs() {
        const auto workspace = std::make_unique<Workspace>(random_workspace());
        save_palette_file(*workspace, dir_ / "pal.dat");
        save_bigf_file(*workspace, dir_ / "bigf.dat");
        save_cliff_file(*workspace, dir_ / "cliff.dat");
        Bitmap worst = bigf_worst_case_picture();
        write_bytes(dir_ / "bigf_worst.bmp", encode_bmp(worst));
        Bitmap distinct = bigf_all_distinct_picture();
        write_bytes(dir_ / "bigf_distinct.bmp", encode_bmp(distinct));
        export_palette_file(*workspace, dir_ / "pal.gpl");
        Bitmap typical = bigf_typical_picture();
        write_bytes(dir_ / "bigf_typical.bmp", encode_bmp(typical));
        Bitmap cliff = cliff_picture(workspace->pal_colors);
        write_bytes(dir_ / "cliff.bmp", encode_bmp(cliff));
        Bitmap pal = Bitmap::make_display(16, 16, 0x00336699);
        write_bytes(dir_ / "pal.bmp", encode_bmp(pal));
    }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

private:
    ScratchDir dir_;
};

const Inputs& inputs() {
    static const Inputs files;
    return files;
}

void command_bench(benchmark::State& state, Command command, std::string file) {
    BenchPort port;
    auto editor = std::make_unique<TextureEditor>(port);
    // Every view and buffer holds something, as after a session's first loads.
    for (const auto& [prime, name] : {std::pair{Command::import_from_pal, "pal.dat"},
                                      std::pair{Command::import_from_ciff, "cliff.dat"},
                                      std::pair{Command::import_from_bigf, "bigf.dat"}}) {
        editor->run(prime, inputs() / name);
    }
    const std::filesystem::path path = inputs() / file;
    for (auto _ : state) {
        editor->run(command, path);
        if (!port.failure.empty()) {
            state.SkipWithError(port.failure.c_str());
            break;
        }
    }
}

struct Case {
    Command command;
    const char* label;  // beside the command's name when one command has several cases
    const char* file;   // the file its dialog answers with
};

constexpr Case cases[] = {
    {Command::import_from_pal, "", "pal.dat"},
    {Command::save_pal_to_bitmap, "", "out_pal.bmp"},
    {Command::save_to_pal, "", "out_pal.dat"},
    {Command::import_pal_from_bitmap, "", "pal.bmp"},
    {Command::import_from_ciff, "", "cliff.dat"},
    {Command::cliff_save_to_bitmap, "", "out_cliff.bmp"},
    {Command::import_from_bigf, "", "bigf.dat"},
    {Command::save_bigf_to_bitmap, "", "out_bigf.bmp"},
    {Command::save_to_bigf, "", "out_bigf.dat"},
    {Command::import_bigf_from_bitmap, "/worst_case", "bigf_worst.bmp"},
    {Command::import_bigf_from_bitmap, "/typical", "bigf_typical.bmp"},
    {Command::import_cliff_from_bitmap, "", "cliff.bmp"},
    {Command::save_to_cliff, "", "out_cliff.dat"},
    {Command::build_cliff, "", ""},
};

// The paint-program commands, named as the command line runs them.
constexpr Case paint_cases[] = {
    {Command::import_bigf_nearest, "import_bigf_from_bitmap/nearest_worst_case", "bigf_worst.bmp"},
    {Command::import_bigf_nearest, "import_bigf_from_bitmap/nearest_all_distinct",
     "bigf_distinct.bmp"},
    {Command::import_palette, "import_palette", "pal.gpl"},
    {Command::export_palette, "export_palette", "out_pal.gpl"},
    {Command::save_bigf_to_indexed_bitmap, "save_bigf_to_indexed_bitmap", "out_bigf_indexed.bmp"},
};

[[maybe_unused]] const bool registered = [] {
    auto add = [](const std::string& name, const Case& c) {
        benchmark::RegisterBenchmark(("command/" + name).c_str(), command_bench, c.command,
                                     std::string(c.file))
            ->Unit(benchmark::kMicrosecond);
    };
    for (const Case& c : cases) {
        add(std::string(command_name(c.command)) + c.label, c);
    }
    for (const Case& c : paint_cases) {
        add(c.label, c);
    }
    return true;
}();

}  // namespace
}  // namespace vlt::bench

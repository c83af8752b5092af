// Runs short sequences of commands against the command layer, as a user clicking through the
// window would, on files in a private folder. The input chooses each command, each dialog's
// answer, and the bytes of every file a command reads. Nothing may crash, no temporary file may
// stay behind, and every save must leave either the file that was there or a whole new one.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "base/errors.h"
#include "bmp_header_peek.h"
#include "commands/texture_editor.h"
#include "commands/window_port.h"
#include "pictures/bmp_reader.h"
#include "support/temp_dir.h"
#include "workspace/palette_files.h"

namespace fs = std::filesystem;

namespace {

fs::path folder;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What a file holds; nothing when there is no regular file.
std::optional<std::vector<std::uint8_t>> contents_of(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    return vlt::testing::read_bytes(path);
}

// Twice the bigf texture.
constexpr std::uint64_t max_picture_pixels = 2 * vlt::bigf_width * vlt::bigf_height;

constexpr const char* extensions[] = {".dat", ".bmp", ".gpl", ".pal", ".act",
                                      ".hex", ".ico", ".emf", ".wmf", ""};

// The save a dialog answered, and what its target held before.
struct PendingSave {
    fs::path target;  // the file a link names, for a link
    std::optional<std::vector<std::uint8_t>> before;
    std::optional<fs::path> link;
};

// The window: every dialog's answer, and every file a command reads, comes from the input.
class FuzzPort : public vlt::WindowPort {
public:
    explicit FuzzPort(FuzzedDataProvider& input) : input_(input) {}

    std::set<std::string> made;  // names this port put into the folder
    std::optional<PendingSave> save;
    bool failed = false;

    std::optional<fs::path> pick_file(const vlt::FileRequest& request) override {
        return request.kind == vlt::FileRequest::Kind::open ? pick_open() : pick_save();
    }
    void show_notice(const vlt::Message& message) override {
        failed = failed || message.text == "Failed!" || message.text == "failed!";
    }
    void report_error(const vlt::Message&) override { failed = true; }
    void show_warnings(std::span<const std::string> warnings) override { check(!warnings.empty()); }
    void refresh_view(vlt::View&) override {}

private:
    fs::path new_name(const char* stem) {
        const std::string name =
            stem + std::to_string(made.size()) + input_.PickValueInArray(extensions);
        made.insert(name);
        return folder / name;
    }

    std::vector<std::uint8_t> file_bytes() {
        auto bytes = input_.ConsumeBytes<std::uint8_t>(input_.ConsumeIntegral<std::uint16_t>());
        // Pictures of millions of pixels only slow the search (the unit tests cover them): such
        // a file is cut to two bytes, which no picture reader accepts.
        if (vlt::fuzzing::bmp_pixels_asked(bytes) > max_picture_pixels) {
            bytes.resize(2);
        }
        return bytes;
    }

    std::optional<fs::path> pick_open() {
        switch (input_.ConsumeIntegralInRange(0, 3)) {
            case 0:
                return std::nullopt;
            case 1: {
                const fs::path path = new_name("in");
                vlt::testing::write_bytes(path, file_bytes());
                return path;
            }
            case 2:
                return folder / "missing.bmp";
            default:
                return folder;
        }
    }

    std::optional<fs::path> pick_save() {
        PendingSave pending;
        switch (input_.ConsumeIntegralInRange(0, 5)) {
            case 0:
                return std::nullopt;
            case 1:  // over a file of its own
                pending.target = new_name("out");
                pending.before = file_bytes();
                vlt::testing::write_bytes(pending.target, *pending.before);
                break;
            case 2:  // over a file that may not be written
                pending.target = new_name("locked");
                pending.before = file_bytes();
                vlt::testing::write_bytes(pending.target, *pending.before);
                chmod(pending.target.c_str(), 0444);
                break;
            case 3:  // through a symbolic link
                pending.target = new_name("linked");
                pending.before = file_bytes();
                vlt::testing::write_bytes(pending.target, *pending.before);
                pending.link = new_name("link");
                fs::create_symlink(pending.target.filename(), *pending.link);
                break;
            case 4:  // a folder, or a name in a folder that does not exist
                pending.target = input_.ConsumeBool() ? folder : folder / "missing" / "x.dat";
                break;
            default:  // a new file
                pending.target = new_name("new");
                break;
        }
        save = pending;
        return pending.link.value_or(pending.target);
    }

    FuzzedDataProvider& input_;
};

// A whole file of the kind the command writes.
bool whole_new_file(vlt::Command command, const fs::path& path,
                    const std::vector<std::uint8_t>& bytes) {
    using vlt::Command;
    switch (command) {
        case Command::save_to_pal:
            return bytes.size() == 4 * vlt::palette_size;
        case Command::save_to_bigf:
            return bytes.size() == vlt::bigf_width * vlt::bigf_height;
        case Command::save_to_cliff:
            return bytes.size() == vlt::cliff_width * vlt::cliff_height;
        case Command::export_palette:
            return vlt::decode_palette(bytes, vlt::palette_format_of(path)).size() ==
                   vlt::palette_size;
        default:
            return !vlt::read_bmp(bytes).empty();
    }
}

void check_save(vlt::Command command, const FuzzPort& port) {
    const PendingSave& save = *port.save;
    if (save.link) {
        check(fs::is_symlink(*save.link));
    }
    const auto after = contents_of(save.target);
    if (port.failed) {
        check(after == save.before);
        return;
    }
    check(after.has_value());
    // The format follows the name the command was given, a link's own for a link.
    check(whole_new_file(command, save.link.value_or(save.target), *after));
}

// Only the files the port made may be in the folder: a save leaves no temporary file.
void check_folder(const FuzzPort& port) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        check(port.made.contains(entry.path().filename().string()));
    }
}

void empty_folder() {
    for (const auto& entry : fs::directory_iterator(folder)) {
        fs::remove_all(entry.path());
    }
}

void remove_folder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string name = (base / "vlt-command-fuzz-XXXXXX").string();
    check(mkdtemp(name.data()) != nullptr);
    folder = name;
    std::atexit(remove_folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzPort port(input);
    auto editor = std::make_unique<vlt::TextureEditor>(port);
    constexpr int last_command = static_cast<int>(vlt::Command::import_bigf_nearest);
    for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
        const auto command =
            static_cast<vlt::Command>(input.ConsumeIntegralInRange(0, last_command));
        port.save.reset();
        port.failed = false;
        editor->run(command);
        if (port.save) {
            check_save(command, port);
        }
        check_folder(port);
    }
    empty_folder();
    return 0;
}

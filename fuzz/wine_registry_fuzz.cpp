// Feeds arbitrary text to the start-up lookup as a Wine prefix's registry file: it must give a
// folder, nothing, or one of the two registry errors, and never crash or take long.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/errors.h"
#include "base/install_path.h"
#include "support/temp_dir.h"

namespace {

std::filesystem::path prefix;

void remove_prefix() {
    std::error_code ignored;
    std::filesystem::remove_all(prefix, ignored);
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

// A prefix with a game folder to find, in shared memory where there is one: every input is
// written there as system.reg.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string name = (base / "vlt-wine-fuzz-XXXXXX").string();
    check(mkdtemp(name.data()) != nullptr);
    prefix = name;
    std::filesystem::create_directories(prefix / "drive_c/Games/Vosk/Data");
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
    setenv("WINEPREFIX", name.c_str(), 1);
    std::atexit(remove_prefix);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vlt::testing::write_bytes(prefix / "system.reg", std::vector<std::uint8_t>(data, data + size));
    try {
        const auto folder = vlt::game_data_folder();
        check(!folder || folder->native().starts_with(prefix.native()));
    } catch (const vlt::RegistryError& e) {
        const std::string_view message = e.what();
        check(message == "Invalid data type for 'InstallPath'" ||
              message == "Failed to get data for 'InstallPath'");
    }
    return 0;
}

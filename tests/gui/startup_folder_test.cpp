#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "base/errors.h"
#include "fake_wine_prefix.h"
#include "gui/install_path.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

class StartupFolder : public ::testing::Test {
protected:
    testing::TempDir root;
    testing::FakeWinePrefix prefix{root / "prefix"};
    fs::path exe_folder = root / "bin";

    void SetUp() override { fs::create_directories(exe_folder); }

    // The folder start-up ends in, and the error it raised, if any.
    std::pair<fs::path, std::string> start() {
        std::string error;
        try {
            choose_startup_folder(exe_folder / "vosk-land-texture");
        } catch (const ERegistryException& e) {
            error = e.what();
        }
        return {fs::current_path(), error};
    }
};

TEST_F(StartupFolder, FollowsTheInstallPathOrFallsBackToTheExecutablesFolder) {
    const struct {
        const char* name;
        std::optional<std::string> registry;  // nothing: no system.reg at all
        const char* expected;                 // "exe", "data" or "other"
        const char* error;
    } cases[] = {
        {"no registry file", std::nullopt, "exe", ""},
        {"no key", "[Software\\\\Other] 1\n\"InstallPath\"=\"C:\\\\Games\\\\Vosk\"\n", "exe", ""},
        {"no value", testing::FakeWinePrefix::vosk_key("\"Version\"=\"1.0\""), "exe", ""},
        {"string", testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Games\\Vosk")"), "data",
         ""},
        {"expandable string",
         testing::FakeWinePrefix::vosk_key(R"("InstallPath"=str(2):"C:\\Games\\Vosk")"), "data",
         ""},
        {"32-bit view first",
         testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Other")") +
             "[Software\\\\Wow6432Node\\\\Kelvarro\\\\Vosk] 1\n"
             "\"InstallPath\"=\"C:\\\\Games\\\\Vosk\"\n",
         "data", ""},
        {"no Data folder", testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Other")"), "exe",
         ""},
        {"dword", testing::FakeWinePrefix::vosk_key(R"("InstallPath"=dword:00000001)"), "exe",
         "Invalid data type for 'InstallPath'"},
        {"binary", testing::FakeWinePrefix::vosk_key(R"("InstallPath"=hex:43,3a)"), "exe",
         "Invalid data type for 'InstallPath'"},
        {"undecodable", testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Games)"), "exe",
         "Failed to get data for 'InstallPath'"},
    };
    fs::create_directories(prefix.path() / "drive_c/Games/Vosk/Data");
    fs::create_directories(prefix.path() / "drive_c/Other");
    for (const auto& c : cases) {
        fs::remove(prefix.path() / "system.reg");
        if (c.registry) {
            prefix.write_registry(*c.registry);
        }
        fs::current_path(root.path());
        const auto [folder, error] = start();
        const fs::path expected = std::string(c.expected) == "exe"
                                      ? exe_folder
                                      : prefix.path() / "drive_c/Games/Vosk/Data";
        EXPECT_TRUE(fs::equivalent(folder, expected)) << c.name << ": " << folder;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

TEST_F(StartupFolder, UsesHomeWinePrefixWithoutWineprefix) {
    testing::EnvironmentOverride no_prefix("WINEPREFIX", std::nullopt);
    testing::EnvironmentOverride home("HOME", root.path().string());
    testing::FakeWinePrefix home_prefix{root / ".wine"};
    home_prefix.write_registry(
        testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Games\\Vosk")"));
    fs::create_directories(home_prefix.path() / "drive_c/Games/Vosk/Data");
    EXPECT_TRUE(fs::equivalent(start().first, home_prefix.path() / "drive_c/Games/Vosk/Data"));
}

TEST_F(StartupFolder, ExpandableStringIsUsedAsStored) {
    prefix.write_registry(
        testing::FakeWinePrefix::vosk_key(R"("InstallPath"=str(2):"%ProgramFiles%\\Vosk")"));
    const auto folder = game_data_folder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->filename(), "Data");
    EXPECT_EQ(folder->parent_path().filename(), "Vosk");
    EXPECT_EQ(folder->parent_path().parent_path().filename(), "%ProgramFiles%");
}

}  // namespace
}  // namespace vlt

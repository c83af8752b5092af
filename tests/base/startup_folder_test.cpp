#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/install_path.h"
#include "support/fake_wine_prefix.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <process.h>

#include "base/windows_api.h"
#endif

namespace vlt {
namespace {

namespace fs = std::filesystem;

class StartupFolder : public ::testing::Test {
protected:
    testing::TempDir root;
    testing::FakeWinePrefix prefix{root / "prefix"};  // puts the current directory back, too
    fs::path exe_folder = root / "bin";
    fs::path start_folder = root / "start";

    void SetUp() override {
        fs::create_directories(exe_folder);
        fs::create_directories(start_folder);
    }

    // The folder start-up ends in, started from start_folder, and the error it raised, if any.
    std::pair<fs::path, std::string> start() {
        fs::current_path(start_folder);
        std::string error;
        try {
            choose_startup_folder(exe_folder / "vosk-land-texture");
        } catch (const RegistryError& e) {
            error = e.what();
        }
        return {fs::current_path(), error};
    }
};

#ifndef _WIN32

// Without a Data folder the editor stays where it was started, as a terminal user expects.
TEST_F(StartupFolder, FollowsTheInstallPathOrStaysInTheStartingFolder) {
    const struct {
        const char* name;
        std::optional<std::string> registry;  // nothing: no system.reg at all
        bool data;
        const char* error;
    } cases[] = {
        {"no registry file", std::nullopt, false, ""},
        {"no key", "[Software\\\\Other] 1\n\"InstallPath\"=\"C:\\\\Games\\\\Vosk\"\n", false, ""},
        {"no value", testing::FakeWinePrefix::vosk_key("\"Version\"=\"1.0\""), false, ""},
        {"string", testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Games\\Vosk")"), true,
         ""},
        {"expandable string",
         testing::FakeWinePrefix::vosk_key(R"("InstallPath"=str(2):"C:\\Games\\Vosk")"), true, ""},
        {"32-bit view first",
         testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Other")") +
             "[Software\\\\Wow6432Node\\\\Kelvarro\\\\Vosk] 1\n"
             "\"InstallPath\"=\"C:\\\\Games\\\\Vosk\"\n",
         true, ""},
        {"no Data folder", testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Other")"), false,
         ""},
        {"dword", testing::FakeWinePrefix::vosk_key(R"("InstallPath"=dword:00000001)"), false,
         "Invalid data type for 'InstallPath'"},
        {"binary", testing::FakeWinePrefix::vosk_key(R"("InstallPath"=hex:43,3a)"), false,
         "Invalid data type for 'InstallPath'"},
        {"undecodable", testing::FakeWinePrefix::vosk_key(R"("InstallPath"="C:\\Games)"), false,
         "Failed to get data for 'InstallPath'"},
    };
    fs::create_directories(prefix.path() / "drive_c/Games/Vosk/Data");
    fs::create_directories(prefix.path() / "drive_c/Other");
    for (const auto& c : cases) {
        fs::remove(prefix.path() / "system.reg");
        if (c.registry) {
            prefix.write_registry(*c.registry);
        }
        const auto [folder, error] = start();
        const fs::path expected = c.data ? prefix.path() / "drive_c/Games/Vosk/Data" : start_folder;
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

#else

// Runs the system's own reg tool on the game's key, as an installer or a user would; no shell
// in between, so "%" reaches the registry as typed.
int reg(std::vector<std::wstring> args) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\reg.exe";
    args.insert(args.begin(), L"reg");
    std::vector<std::wstring> quoted;
    for (const auto& arg : args) {
        quoted.push_back(L"\"" + arg + L"\"");
    }
    std::vector<const wchar_t*> argv;
    for (const auto& arg : quoted) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    return static_cast<int>(_wspawnv(_P_WAIT, program.c_str(), argv.data()));
}

constexpr const wchar_t* game_key = L"HKLM\\Software\\Kelvarro\\Vosk";

void clear_game_key() {
    for (const wchar_t* view : {L"/reg:32", L"/reg:64"}) {
        reg({L"delete", game_key, L"/f", view});
    }
}

// On Windows the executable's folder comes first, as the described start-up has it.
TEST_F(StartupFolder, FollowsTheRegistryOrFallsBackToTheExecutablesFolder) {
    const fs::path games = root.path() / u8"Tëxturé ✓" / "Vosk";
    fs::create_directories(games / "Data");
    const std::wstring game = games.wstring();
    const std::wstring other = (root / "Other").wstring();
    const struct {
        const char* name;
        std::vector<std::vector<std::wstring> > values;  // view, type, data
        bool data;
        const char* error;
    } cases[] = {
        {"no key", {}, false, ""},
        {"string in the 32-bit view", {{L"/reg:32", L"REG_SZ", game}}, true, ""},
        {"string only in the 64-bit view", {{L"/reg:64", L"REG_SZ", game}}, true, ""},
        {"32-bit view first",
         {{L"/reg:32", L"REG_SZ", game}, {L"/reg:64", L"REG_SZ", other}},
         true,
         ""},
        {"expandable string", {{L"/reg:32", L"REG_EXPAND_SZ", game}}, true, ""},
        {"no Data folder", {{L"/reg:32", L"REG_SZ", other}}, false, ""},
        {"dword", {{L"/reg:32", L"REG_DWORD", L"1"}}, false, "Invalid data type for 'InstallPath'"},
        {"dword before a string",
         {{L"/reg:32", L"REG_DWORD", L"1"}, {L"/reg:64", L"REG_SZ", game}},
         false,
         "Invalid data type for 'InstallPath'"},
    };
    for (const auto& c : cases) {
        clear_game_key();
        for (const auto& v : c.values) {
            ASSERT_EQ(reg({L"add", game_key, v[0], L"/v", L"InstallPath", L"/t", v[1], L"/d", v[2],
                           L"/f"}),
                      0)
                << c.name;
        }
        const auto [folder, error] = start();
        EXPECT_TRUE(fs::equivalent(folder, c.data ? games / "Data" : exe_folder)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
    clear_game_key();
}

TEST_F(StartupFolder, ExpandableStringIsUsedAsStored) {
    clear_game_key();
    ASSERT_EQ(reg({L"add", game_key, L"/reg:32", L"/v", L"InstallPath", L"/t", L"REG_EXPAND_SZ",
                   L"/d", L"%SystemRoot%\\Vosk", L"/f"}),
              0);
    const auto folder = game_data_folder();
    clear_game_key();
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->u8string(), u8"%SystemRoot%\\Vosk\\Data");
}

#endif

}  // namespace
}  // namespace vlt

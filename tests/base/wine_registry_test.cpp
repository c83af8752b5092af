#include "base/wine_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace vlt {
namespace {

using Type = RegistryValue::Type;

std::string registry_with(const std::string& value_line) {
    return "WINE REGISTRY Version 2\n"
           ";; All keys relative to \\\\Machine\n\n"
           "#arch=win32\n\n"
           "[Software\\\\Kelvarro\\\\Vosk] 1700000000\n"
           "#time=1d9e6f0c5a2b3c4\n" +
           value_line + "\n\n";
}

TEST(WineRegistryValue, KindsAndTexts) {
    const struct {
        const char* line;
        Type type;
        bool readable;
        const char* data;
    } cases[] = {
        {R"("InstallPath"="C:\\Games\\Vosk")", Type::string, true, "C:\\Games\\Vosk"},
        {R"("InstallPath"=str(2):"%ProgramFiles%\\Vosk")", Type::expand_string, true,
         "%ProgramFiles%\\Vosk"},
        {R"("InstallPath"="")", Type::string, true, ""},
        {R"("InstallPath"="C:\\Spiele\\Vosk \"Gold\"")", Type::string, true,
         "C:\\Spiele\\Vosk \"Gold\""},
        // Non-ASCII characters are written as UTF-16 escapes; a pair makes one character.
        {R"("InstallPath"="C:\\Jeux\\\x00e9t\x00e9")", Type::string, true,
         "C:\\Jeux\\\xC3\xA9t\xC3\xA9"},
        {R"("InstallPath"="\xd83d\xde00")", Type::string, true, "\xF0\x9F\x98\x80"},
        {R"("InstallPath"=dword:00000001)", Type::other, true, ""},
        {R"("InstallPath"=hex:43,3a,5c,00)", Type::other, true, ""},
        {R"("InstallPath"=str(7):"C:\\a\0")", Type::other, true, ""},
        {R"("InstallPath"=hex(7):43,00,00,00)", Type::other, true, ""},
        // A string kind stored as UTF-16LE bytes is still a string.
        {R"("InstallPath"=hex(2):43,00,3a,00,5c,00,56,00,00,00)", Type::expand_string, true,
         "C:\\V"},
        {R"("InstallPath"=hex(1):44,00,3a,00,00,00)", Type::string, true, "D:"},
        // A zero character ends the text, as it ends the hex kinds.
        {R"("InstallPath"="C:\\Games\0\\Vosk")", Type::string, true, "C:\\Games"},
        {R"("InstallPath"=str(2):"C:\\Games\x0000\\Vosk")", Type::expand_string, true, "C:\\Games"},
        // A string that cannot be decoded exists but cannot be read.
        {R"("InstallPath"="C:\\Games)", Type::string, false, ""},
        {R"("InstallPath"=hex(2):4z,00)", Type::expand_string, false, ""},
    };
    for (const auto& c : cases) {
        const auto value = find_wine_registry_value(registry_with(c.line),
                                                    "Software\\Kelvarro\\Vosk", "InstallPath");
        ASSERT_TRUE(value.has_value()) << c.line;
        EXPECT_EQ(value->type, c.type) << c.line;
        EXPECT_EQ(value->readable, c.readable) << c.line;
        if (c.readable && c.type != Type::other) {
            EXPECT_EQ(value->data, c.data) << c.line;
        }
    }
}

TEST(WineRegistryValue, FindsOnlyTheNamedKeyAndValue) {
    const std::string text =
        "WINE REGISTRY Version 2\n"
        "[Software\\\\Kelvarro\\\\VoskEditor] 1700000000\n"
        "\"InstallPath\"=\"C:\\\\Wrong\\\\Editor\"\n"
        "\n"
        "[Software\\\\Kelvarro\\\\Vosk\\\\Patches] 1700000000\n"
        "\"InstallPath\"=\"C:\\\\Wrong\\\\Patches\"\n"
        "\n"
        "[SOFTWARE\\\\kelvarro\\\\VOSK] 1700000000\n"
        "#time=1d9e6f0c5a2b3c4\n"
        "@=\"default\"\n"
        "\"InstallPathOld\"=\"C:\\\\Wrong\\\\Old\"\n"
        "\"installpath\"=\"C:\\\\Games\\\\Vosk\"\n"
        "\n"
        "[Software\\\\Other] 1700000000\n"
        "\"InstallPath\"=\"C:\\\\Wrong\\\\Other\"\n";
    const auto value = find_wine_registry_value(text, "Software\\Kelvarro\\Vosk", "InstallPath");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, "C:\\Games\\Vosk");
    EXPECT_FALSE(find_wine_registry_value(text, "Software\\Kelvarro\\Vosk", "Version"));
    EXPECT_FALSE(find_wine_registry_value(text, "Software\\Kelvarro\\Missing", "InstallPath"));
    EXPECT_EQ(find_wine_registry_value(text, "Software\\Kelvarro\\Vosk", "")->data, "default");
}

TEST(WineRegistryValue, WindowsLineEndsAndContinuedLines) {
    const std::string text =
        "WINE REGISTRY Version 2\r\n"
        "[Software\\\\Kelvarro\\\\Vosk] 1700000000\r\n"
        "\"Blob\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "\"InstallPath\"=hex(2):43,00,3a,00,5c,00,\\\r\n"
        "  47,00,00,00\r\n";
    const auto value = find_wine_registry_value(text, "Software\\Kelvarro\\Vosk", "InstallPath");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, Type::expand_string);
    EXPECT_EQ(value->data, "C:\\G");
}

#ifndef _WIN32
// Wine prefixes are folders of a POSIX system; Windows reads its own registry.
TEST(WindowsPathInPrefix, DrivesAndFolderCase) {
    testing::TempDir prefix;
    namespace fs = std::filesystem;
    fs::create_directories(prefix / "drive_c/Games/Vosk/Data");
    fs::create_directories(prefix / "elsewhere/Stuff");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink(prefix / "elsewhere", prefix / "dosdevices/d:");

    EXPECT_EQ(map_windows_path(prefix.path(), "C:\\Games\\Vosk\\Data"),
              prefix / "drive_c/Games/Vosk/Data");
    // Windows names ignore case; the prefix's folders do not.
    EXPECT_EQ(map_windows_path(prefix.path(), "c:\\GAMES\\vosk\\data"),
              prefix / "drive_c/Games/Vosk/Data");
    EXPECT_EQ(map_windows_path(prefix.path(), "C:/Games//Vosk\\.\\Data\\"),
              prefix / "drive_c/Games/Vosk/Data");
    EXPECT_EQ(map_windows_path(prefix.path(), "D:\\stuff"), prefix / "dosdevices/d:/Stuff");
    // A path without a drive, as an empty install path gives, lies on C:.
    EXPECT_EQ(map_windows_path(prefix.path(), "\\Data"), prefix / "drive_c/Data");
    // ".." goes back a name, as on Windows, and never above the drive.
    EXPECT_EQ(map_windows_path(prefix.path(), "C:\\Missing\\..\\GAMES\\vosk"),
              prefix / "drive_c/Games/Vosk");
    EXPECT_EQ(map_windows_path(prefix.path(), "C:\\..\\..\\games"), prefix / "drive_c/Games");
    // Where dosdevices names C:, it wins over drive_c.
    fs::create_directory_symlink(prefix / "elsewhere", prefix / "dosdevices/c:");
    EXPECT_EQ(map_windows_path(prefix.path(), "C:\\STUFF"), prefix / "dosdevices/c:/Stuff");
}

// A value of thousands of names, as a registry file may hold, maps in linear time: each name was
// once looked up below the missing ones (25 s for a 48 KB value under the sanitizers).
TEST(WindowsPathInPrefix, ThousandsOfNames) {
    testing::TempDir prefix;
    std::filesystem::create_directories(prefix / "drive_c/Games");
    std::string value = "C:\\GAMES";
    std::filesystem::path expected = prefix / "drive_c/Games";
    for (int i = 0; i < 24'000; ++i) {
        value += "\\a";
        expected /= "a";
    }
    EXPECT_EQ(map_windows_path(prefix.path(), value), expected);
    // What the fuzzer found: after a zero character every name seemed to exist (the system reads
    // a path only up to it), so each was looked up below all the others. The value ends there.
    std::string escaped = "\"InstallPath\"=\"C:\\\\Games\\0";
    for (int i = 0; i < 24'000; ++i) {
        escaped += "\\\\a";
    }
    const auto found = find_wine_registry_value(registry_with(escaped + "\""),
                                                "Software\\Kelvarro\\Vosk", "InstallPath");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->data, "C:\\Games");
}
#endif

}  // namespace
}  // namespace vlt

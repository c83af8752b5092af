// Users' folders are often named beyond ASCII: every command that reads or writes a file works
// there, and messages carry such paths as UTF-8, on every system.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/path_text.h"
#include "commands/editor_fixture.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

using NonAsciiPaths = testing::EditorTest;

TEST_F(NonAsciiPaths, EveryFileCommandWorksInAFolderNamedBeyondAscii) {
    const fs::path folder = dir.path() / u8"Tëxturé ✓";
    fs::create_directory(folder);
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = make_color(static_cast<std::uint8_t>(i), 0x40, 0x80);
    }
    testing::write_bytes(folder / u8"land_pâl.dat", testing::palette_file_bytes(palette));
    testing::write_bytes(folder / u8"bigf_ë.dat", std::vector<std::uint8_t>(294912, 7));
    const struct {
        Command command;
        const char8_t* name;
        std::uintmax_t size;  // of the file written; 0 for a load
    } steps[] = {
        {Command::import_from_pal, u8"land_pâl.dat", 0},
        {Command::import_from_bigf, u8"bigf_ë.dat", 0},
        {Command::build_cliff, u8"", 0},
        {Command::save_to_pal, u8"out_pâl.dat", 1024},
        {Command::save_to_bigf, u8"bigf_✓.dat", 294912},
        {Command::save_to_cliff, u8"cliff_✓.dat", 8192},
        {Command::save_pal_to_bitmap, u8"pâl.bmp", 1078},
        {Command::cliff_save_to_bitmap, u8"clïff.bmp", 32822},
        {Command::save_bigf_to_bitmap, u8"bïgf.bmp", 1179702},
        {Command::import_from_ciff, u8"cliff_✓.dat", 0},
        {Command::import_bigf_from_bitmap, u8"bïgf.bmp", 0},
        {Command::import_cliff_from_bitmap, u8"clïff.bmp", 0},
        // Last, as the bigf import rebuilds part of the palette.
        {Command::import_pal_from_bitmap, u8"pâl.bmp", 0},
    };
    for (const auto& step : steps) {
        const fs::path path = folder / step.name;
        click(step.command, path);
        const std::string name = utf8_of(path);
        EXPECT_TRUE(port.notices.empty()) << name;
        EXPECT_TRUE(port.errors.empty()) << name;
        if (step.size != 0) {
            EXPECT_EQ(fs::file_size(path), step.size) << name;
        }
    }
    EXPECT_EQ(ws().pal_colors, palette);
    EXPECT_EQ(testing::read_bytes(folder / u8"bigf_✓.dat"), std::vector<std::uint8_t>(294912, 7));

    // A failure names the file in UTF-8.
    const fs::path missing = folder / u8"gône_pal.dat";
    click(Command::import_from_pal, missing);
    ASSERT_EQ(port.reasons.size(), 1u);
    EXPECT_EQ(port.reasons[0].path, utf8_of(missing));
}

}  // namespace
}  // namespace vlt

// Exceptions are for errors: a command that succeeds throws none, not even one it catches itself
// (a first throw is costly in a statically linked program, which sorts its unwind tables then).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/editor_fixture.h"
#include "support/throw_count.h"

namespace vlt {
namespace {

using testing::EditorTest;
using testing::thrown_exceptions;

Palette sample_palette() {
    Palette p{};
    for (int i = 0; i < palette_size; ++i) {
        p[static_cast<std::size_t>(i)] =
            make_color(static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), 0x40);
    }
    return p;
}

struct Step {
    Command command;
    std::string file;  // answered in the dialog; in the test's folder
};

class ThrowFree : public EditorTest {
protected:
    // Runs the step; it must succeed without a single throw.
    void run_cleanly(const Step& step, const std::filesystem::path& file) {
        const long before = thrown_exceptions();
        click(step.command, file);
        EXPECT_TRUE(port.errors.empty()) << step.file << ": " << port.errors.front();
        EXPECT_TRUE(port.notices.empty()) << step.file << ": " << port.notices.front();
        EXPECT_EQ(thrown_exceptions() - before, 0)
            << "command " << static_cast<int>(step.command) << " on " << step.file;
    }
};

TEST_F(ThrowFree, TheCounterSeesAThrowThatIsCaught) {
    const long before = thrown_exceptions();
    click(Command::import_bigf_from_bitmap, dir / "missing.bmp");
    EXPECT_FALSE(port.errors.empty());
    EXPECT_GT(thrown_exceptions() - before, 0);
}

// Every command, in an order in which each has what it needs, each file written before it is
// read back.
TEST_F(ThrowFree, EveryCommandSucceedsWithoutThrowing) {
    const std::vector<Step> steps = {
        {Command::import_from_pal, "pal.dat"},
        {Command::save_to_pal, "saved_pal.dat"},
        {Command::save_to_bigf, "bigf.dat"},
        {Command::import_from_bigf, "bigf.dat"},
        {Command::build_cliff, ""},
        {Command::save_to_cliff, "cliff.dat"},
        {Command::import_from_ciff, "cliff.dat"},
        {Command::save_pal_to_bitmap, "pal.bmp"},
        {Command::import_pal_from_bitmap, "pal.bmp"},
        {Command::cliff_save_to_bitmap, "cliff.bmp"},
        {Command::import_cliff_from_bitmap, "cliff.bmp"},
        {Command::save_bigf_to_bitmap, "bigf.bmp"},
        {Command::import_bigf_from_bitmap, "bigf.bmp"},
        {Command::import_bigf_nearest, "bigf.bmp"},
        {Command::export_palette, "colours.gpl"},
        {Command::import_palette, "colours.gpl"},
        {Command::save_bigf_to_indexed_bitmap, "bigf8.bmp"},
        {Command::save_cliff_to_indexed_bitmap, "cliff8.bmp"},
        {Command::import_bigf_from_bitmap, "bigf8.bmp"},
    };
    write_palette_file("pal.dat", sample_palette());
    for (const Step& step : steps) {
        run_cleanly(step, dir / step.file);
    }
}

// The whole edit on every well-formed picture of the suite: each format's reading path.
TEST_F(ThrowFree, ImportingEachPictureFormatThrowsNothing) {
    const auto suite = std::filesystem::path(VLT_TESTDATA_DIR) / "bmpsuite" / "g";
    if (!std::filesystem::is_directory(suite)) {
        GTEST_SKIP() << "no BMP pictures at " << suite;
    }
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(suite)) {
        if (entry.path().extension() != ".bmp") {
            continue;
        }
        ++pictures;
        const std::string name = entry.path().filename().string();
        run_cleanly({Command::import_bigf_from_bitmap, name}, entry.path());
        run_cleanly({Command::save_to_bigf, "bigf.dat"}, dir / "bigf.dat");
        run_cleanly({Command::save_to_pal, "pal.dat"}, dir / "pal.dat");
    }
    EXPECT_GT(pictures, 20);
}

}  // namespace
}  // namespace vlt

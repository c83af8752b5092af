#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cli/cli_runner.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::CliTest;
using testing::quoted;
using testing::read_bytes;
using testing::write_bytes;

TEST_F(CliTest, NearestGivesSurplusColoursPaletteColoursAndSaysSo) {
    write_bytes(dir / "bands.bmp", testing::build_bmp(256, 1152, 24, testing::colour_bands_150));
    const auto result = run({"--nearest", "import_bigf_from_bitmap", path("bands.bmp"),
                             "save_to_bigf", path("bigf.dat"), "save_to_pal", path("pal.dat")});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err,
              "import_bigf_from_bitmap: warning: 39 colours did not fit in palette entries 1 to "
              "111: 76,800 pixels were given the nearest palette colour.\n");
    // No texel is black: the picture has no black, and black entries are never the nearest.
    const auto bigf = read_bytes(dir / "bigf.dat"), palette = read_bytes(dir / "pal.dat");
    for (const std::uint8_t index : bigf) {
        const std::size_t at = 4u * index;
        ASSERT_NE(palette[at] | palette[at + 1] | palette[at + 2], 0) << int{index};
    }
}

// The reduction's note is no warning: --strict does not fail on it, and nothing is painted black.
TEST_F(CliTest, ReduceNotesItsErrorAndStrictAcceptsIt) {
    write_bytes(dir / "bands.bmp", testing::build_bmp(256, 1152, 24, testing::colour_bands_150));
    for (const char* dither : {"", "--dither"}) {
        SCOPED_TRACE(dither);
        std::vector<std::string> args = {"--strict", "--reduce"};
        if (*dither != 0) {
            args.emplace_back(dither);
        }
        args.insert(args.end(), {"import_bigf_from_bitmap", path("bands.bmp"), "save_to_bigf",
                                 path("bigf.dat"), "save_to_pal", path("pal.dat")});
        const auto result = run(args);
        EXPECT_EQ(result.exit_code, 0);
        EXPECT_TRUE(result.err.starts_with("import_bigf_from_bitmap: note: 150 colours were "
                                           "reduced to palette entries 1 to 111: mean error "))
            << result.err;
        EXPECT_TRUE(result.err.ends_with(".\n")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
        const auto bigf = read_bytes(dir / "bigf.dat");
        EXPECT_EQ(std::count(bigf.begin(), bigf.end(), 0), 0);
    }
}

TEST_F(CliTest, ReduceAndDitherUsageErrors) {
    const struct {
        std::vector<std::string> options;
        const char* error;
    } cases[] = {
        {{"--reduce", "--nearest"}, "--reduce and --nearest cannot be given together"},
        {{"--nearest", "--reduce", "--dither"}, "--reduce and --nearest cannot be given together"},
        {{"--dither"}, "--dither needs --reduce"},
        {{"--dither", "--nearest"}, "--dither needs --reduce"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"save_to_pal", path("pal.dat")});
        const auto result = run(args);
        EXPECT_EQ(result.exit_code, 2);
        EXPECT_TRUE(result.err.starts_with("vosk-land-texture-cli: " + std::string(c.error) +
                                           "\nusage: "))
            << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "pal.dat"));
    }
}

TEST_F(CliTest, HelpListsThePaintCommandsApartFromTheButtons) {
    const std::string out = run({"--help"}).out;
    const auto apart = out.find("Commands for paint programs");
    ASSERT_NE(apart, std::string::npos);
    EXPECT_GT(apart, out.find("\n  build_cliff "));
    for (const char* name : {"import_palette", "export_palette", "save_bigf_to_indexed_bitmap",
                             "save_cliff_to_indexed_bitmap"}) {
        EXPECT_GT(out.find("\n  " + std::string(name) + " "), apart) << name;
    }
    EXPECT_LT(out.find("\n  --nearest "), apart);
}

// Runs when a python3 with Pillow is at hand (Debian: python3-pil).
TEST_F(CliTest, PillowOpensTheIndexedExportAndTheGimpPalette) {
    std::string python;
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        const std::string probe = std::string(candidate) + " -c 'import PIL' 2>/dev/null";
        if (python.empty() && std::system(probe.c_str()) == 0) {
            python = candidate;
        }
    }
    if (python.empty()) {
        GTEST_SKIP() << "no python3 with Pillow";
    }
    std::mt19937 random(5);
    std::vector<std::uint8_t> palette(1024), bigf(256 * 1152);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = i % 4 == 3 ? 0 : static_cast<std::uint8_t>(random());
    }
    for (auto& index : bigf) {
        index = static_cast<std::uint8_t>(random());
    }
    write_bytes(dir / "land_pal.dat", palette);
    write_bytes(dir / "bigf_land.dat", bigf);
    ASSERT_EQ(
        run({"import_from_pal", path("land_pal.dat"), "import_from_bigf", path("bigf_land.dat"),
             "save_bigf_to_indexed_bitmap", path("bigf.bmp"), "export_palette", path("land.gpl")})
            .exit_code,
        0);
    const std::string check = python + " " + quoted(VLT_PILLOW_CHECK);
    EXPECT_EQ(std::system((check + " " + quoted(path("bigf.bmp")) + " " + quoted(path("land.gpl")) +
                           " " + quoted(path("land_pal.dat")) + " " + quoted(path("bigf_land.dat")))
                              .c_str()),
              0);
}

}  // namespace
}  // namespace vlt

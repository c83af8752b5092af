#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/color.h"
#include "cli/cli_runner.h"
#include "support/bmp_builder.h"
#include "support/system_texts.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using testing::CliTest;
using testing::no_such_file;
using testing::no_such_folder;
using testing::read_bytes;
using testing::text_of;
using testing::write_bytes;

// A whole edit: palette file in, picture in, both data files out, checked byte for byte.
TEST_F(CliTest, WholeEditWritesTheExpectedDataFiles) {
    std::vector<std::uint8_t> palette_in;
    for (int i = 0; i < 256; ++i) {
        palette_in.insert(palette_in.end(), {static_cast<std::uint8_t>(i), 0x40,
                                             static_cast<std::uint8_t>(255 - i), 0});
    }
    write_bytes(dir / "land_pal.dat", palette_in);
    const Color a = make_color(10, 20, 30);
    const Color b = make_color(250, 0, 5);
    const Color kept = make_color(200, 0x40, 55);  // entry 200 of the palette file
    write_bytes(dir / "land.bmp", testing::build_bmp(256, 1152, 24, [&](int x, int y) {
                    if (y < 576) {
                        return x < 128 ? a : b;
                    }
                    return x < 128 ? Color{0} : kept;
                }));

    const auto result =
        run({"import_from_pal", path("land_pal.dat"), "import_bigf_from_bitmap", path("land.bmp"),
             "save_to_bigf", path("bigf_out.dat"), "save_to_pal", path("out_pal.dat")});

    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    std::vector<std::uint8_t> palette_out = palette_in;
    std::fill_n(palette_out.begin(), 112 * 4, 0);
    for (int channel = 0; channel < 3; ++channel) {
        palette_out[static_cast<std::size_t>(4 + channel)] =
            static_cast<std::uint8_t>(a >> (8 * channel));
        palette_out[static_cast<std::size_t>(8 + channel)] =
            static_cast<std::uint8_t>(b >> (8 * channel));
    }
    EXPECT_EQ(read_bytes(dir / "out_pal.dat"), palette_out);
    std::vector<std::uint8_t> bigf_out;
    for (int y = 0; y < 1152; ++y) {
        for (int x = 0; x < 256; ++x) {
            bigf_out.push_back(y < 576 ? (x < 128 ? 1 : 2) : (x < 128 ? 0 : 200));
        }
    }
    EXPECT_EQ(read_bytes(dir / "bigf_out.dat"), bigf_out);
}

TEST_F(CliTest, FirstFailureStopsTheRunWithOneStderrLine) {
    const auto result =
        run({"import_from_pal", path("missing_pal.dat"), "save_to_pal", path("out_pal.dat")});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "import_from_pal: Failed! (" + path("missing_pal.dat") + ": " +
                              no_such_file() + ")\n");
    EXPECT_FALSE(fs::exists(dir / "out_pal.dat"));
}

#ifndef _WIN32
// Windows file names cannot hold a line break.
TEST_F(CliTest, AMessageStaysOnOneLine) {
    const std::string odd = path("two\nlines.bmp");
    const auto result = run({"import_pal_from_bitmap", odd});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "import_pal_from_bitmap: Cannot open file " + path("two lines.bmp") +
                              ". (" + path("two lines.bmp") + ": No such file or directory)\n");
}
#endif

TEST_F(CliTest, KeepGoingRunsEveryCommandAndStillExitsOne) {
    write_bytes(dir / "junk.bmp", std::vector<std::uint8_t>(30, 'j'));
    const auto result =
        run({"--keep-going", "import_from_pal", path("missing_pal.dat"), "save_to_cliff",
             path("no/such/cliff.dat"), "import_bigf_from_bitmap", path("junk.bmp"), "build_cliff",
             "save_to_cliff", path("cliff_out.dat")});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "import_from_pal: Failed! (" + path("missing_pal.dat") + ": " +
                              no_such_file() +
                              ")\n"
                              "save_to_cliff: failed! (" +
                              path("no/such/cliff.dat") + ": " + no_such_folder() +
                              ")\n"
                              "import_bigf_from_bitmap: Bitmap image is not valid. (" +
                              path("junk.bmp") + ")\n");
    const auto cliff = read_bytes(dir / "cliff_out.dat");
    ASSERT_EQ(cliff.size(), 8192u);
    EXPECT_EQ(cliff[20 * 128 + 4], 255);  // shaded band of the empty palette
    EXPECT_EQ(cliff[40 * 128], 132);
}

// A warning goes on stderr under the command's name as typed; --strict makes it a failure after
// the import took effect.
TEST_F(CliTest, WarningsAndStrict) {
    write_bytes(dir / "cliff_short.dat", std::vector<std::uint8_t>(4096, 7));
    const struct {
        std::vector<std::string> options;
        int exit_code;
        bool saved;
    } cases[] = {
        {{}, 0, true},
        {{"--strict"}, 1, false},
        {{"--strict", "--keep-going"}, 1, true},
        {{"--keep-going", "--strict"}, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        fs::remove(dir / "cliff_out.dat");
        std::vector<std::string> args = c.options;
        for (const char* arg :
             {"import_from_cliff", "cliff_short.dat", "save_to_cliff", "cliff_out.dat"}) {
            args.emplace_back(arg);
        }
        const auto result = run(args);
        EXPECT_EQ(result.exit_code, c.exit_code);
        EXPECT_EQ(result.err,
                  "import_from_cliff: warning: The file is 4,096 bytes; a cliff file is 8,192 "
                  "bytes: bytes from 4,096 on kept their old values.\n");
        ASSERT_EQ(fs::exists(dir / "cliff_out.dat"), c.saved);
        if (c.saved) {
            EXPECT_EQ(read_bytes(dir / "cliff_out.dat")[0], 7);
        }
    }
}

TEST_F(CliTest, ExportsOfNothingAndPicturesWithoutPixelsFail) {
    write_bytes(dir / "empty.bmp", {});
    write_bytes(dir / "old.bmp", {'o', 'l', 'd'});
    const auto result =
        run({"--keep-going", "save_bigf_to_bitmap", path("old.bmp"), "import_bigf_from_bitmap",
             path("empty.bmp"), "build_cliff", "cliff_save_to_bitmap", path("cliff.bmp")});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err,
              "save_bigf_to_bitmap: Nothing to export: the bigf view holds no picture.\n"
              "import_bigf_from_bitmap: The picture has no pixels.\n");
    EXPECT_EQ(read_bytes(dir / "old.bmp"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(fs::file_size(dir / "cliff.bmp"), 32822u);
}

TEST_F(CliTest, PathsAreUsedAsGivenFromTheStartingFolder) {
    fs::create_directory(dir / "work");
    const auto result =
        run({"save_to_pal", "-odd_pal.dat", "save_to_bigf", "sub/bigf.dat"}, dir / "work");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "save_to_bigf: failed! (sub/bigf.dat: " + no_such_folder() + ")\n");
    EXPECT_EQ(read_bytes(dir / "work" / "-odd_pal.dat"), std::vector<std::uint8_t>(1024, 0));
}

TEST_F(CliTest, UsageErrorsExitTwoBeforeAnyCommandRuns) {
    const std::string out = path("out_pal.dat");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--keep-going"},
        {"--verbose", "save_to_pal", out},
        {"save_to_pal", out, "frobnicate"},
        {"save_to_pal", out, "--keep-going"},  // options only before the first command
        {"save_to_pal", out, "build_cliff", "save_to_cliff"},
        {"save_to_pal"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto result = run(args);
        EXPECT_EQ(result.exit_code, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("usage: vosk-land-texture-cli"), std::string::npos);
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(CliTest, HelpListsEveryCommandOnStdout) {
    for (const auto& args : {std::vector<std::string>{"--help"},
                             std::vector<std::string>{"--keep-going", "--help", "build_cliff"}}) {
        const auto result = run(args);
        EXPECT_EQ(result.exit_code, 0);
        EXPECT_EQ(result.err, "");
        for (const char* name :
             {"import_from_pal", "save_pal_to_bitmap", "save_to_pal", "import_pal_from_bitmap",
              "import_from_ciff", "cliff_save_to_bitmap", "import_from_bigf", "save_bigf_to_bitmap",
              "save_to_bigf", "import_bigf_from_bitmap", "import_cliff_from_bitmap",
              "save_to_cliff", "build_cliff", "import_from_cliff", "--keep-going", "--strict"}) {
            EXPECT_NE(result.out.find("\n  " + std::string(name) + " "), std::string::npos) << name;
        }
    }
}

}  // namespace
}  // namespace vlt

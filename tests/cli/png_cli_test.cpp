// PNG pictures on the command line, and indexed pictures imported with their indices kept.
#include <gtest/gtest.h>

#include <random>

#include "cli/cli_runner.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::CliTest;
using testing::quoted;
using testing::read_bytes;
using testing::write_bytes;

// A python3 with Pillow (Debian: python3-pil), or nothing.
std::string pillow_python() {
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        const std::string probe = std::string(candidate) + " -c \"import PIL\" >" +
#ifdef _WIN32
                                  "NUL 2>NUL";
#else
                                  "/dev/null 2>&1";
#endif
        if (std::system(probe.c_str()) == 0) {
            return candidate;
        }
    }
    return {};
}

class PngCliTest : public CliTest {
protected:
    // A random palette (top bytes 0) and bigf texture in pal.dat and bigf.dat.
    void write_random_data() {
        std::mt19937 random(11);
        std::vector<std::uint8_t> palette(1024), bigf(256 * 1152);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            palette[i] = i % 4 == 3 ? 0 : static_cast<std::uint8_t>(random());
        }
        for (auto& index : bigf) {
            index = static_cast<std::uint8_t>(random());
        }
        write_bytes(dir / "pal.dat", palette);
        write_bytes(dir / "bigf.dat", bigf);
    }
};

TEST_F(PngCliTest, PngImportsAsTheSamePictureAsBmp) {
    write_bytes(dir / "bands.bmp", testing::build_bmp(256, 1152, 24, testing::colour_bands_150));
    ASSERT_EQ(
        run({"import_bigf_from_bitmap", path("bands.bmp"), "save_bigf_to_bitmap", path("bands.PNG"),
             "save_to_bigf", path("from_bmp.dat"), "save_to_pal", path("pal_bmp.dat")})
            .exit_code,
        0);
    EXPECT_EQ(read_bytes(dir / "bands.PNG")[1], 'P');
    ASSERT_EQ(run({"import_bigf_from_bitmap", path("bands.PNG"), "save_to_bigf",
                   path("from_png.dat"), "save_to_pal", path("pal_png.dat")})
                  .exit_code,
              0);
    EXPECT_EQ(read_bytes(dir / "from_png.dat"), read_bytes(dir / "from_bmp.dat"));
    EXPECT_EQ(read_bytes(dir / "pal_png.dat"), read_bytes(dir / "pal_bmp.dat"));
}

TEST_F(PngCliTest, PictureErrorsNameTheFile) {
    write_bytes(dir / "x.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0});
    write_bytes(dir / "bad.png",
                {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0,
                 0,    0,   1,   0,   0,    0,    1,    8,    2, 0, 0, 0,  1,   2,   3,   4});
    EXPECT_EQ(run({"import_bigf_from_bitmap", path("x.bmp")}).err,
              "import_bigf_from_bitmap: Bitmap image is not valid. (" + path("x.bmp") + ")\n");
    EXPECT_EQ(
        run({"import_cliff_indices", path("bad.png")}).err,
        "import_cliff_indices: PNG image is not valid. (" + path("bad.png") + ": CRC error)\n");
}

#ifndef _WIN32
TEST_F(PngCliTest, PipesAreReadByTheirFirstBytes) {
    write_bytes(dir / "bands.bmp", testing::build_bmp(16, 16, 24, testing::colour_bands_150));
    ASSERT_EQ(run({"import_pal_from_bitmap", path("bands.bmp"), "save_pal_to_bitmap",
                   path("pal.png"), "save_to_pal", path("direct.dat")})
                  .exit_code,
              0);
    for (const char* name : {"bands.bmp", "pal.png"}) {
        const std::string command = "cat " + quoted(path(name)) + " | " + quoted(VLT_CLI_PATH) +
                                    " import_pal_from_bitmap /dev/stdin save_to_pal " +
                                    quoted(path("piped.dat"));
        ASSERT_EQ(std::system(command.c_str()), 0) << name;
        EXPECT_EQ(read_bytes(dir / "piped.dat"), read_bytes(dir / "direct.dat")) << name;
    }
}
#endif

// Pillow opens the indexed PNG export as a palette picture with the game's palette and the
// indices; what it saves again, as PNG or BMP, imports back byte for byte.
TEST_F(PngCliTest, IndexedExportRoundTripsThroughPillow) {
    const std::string python = pillow_python();
    if (python.empty()) {
        GTEST_SKIP() << "no python3 with Pillow";
    }
    write_random_data();
    ASSERT_EQ(
        run({"import_from_pal", path("pal.dat"), "import_from_bigf", path("bigf.dat"),
             "save_bigf_to_indexed_bitmap", path("t.png"), "export_palette", path("land.gpl")})
            .exit_code,
        0);
    const std::string check = python + " " + quoted(VLT_PILLOW_CHECK) + " " +
                              quoted(path("t.png")) + " " + quoted(path("land.gpl")) + " " +
                              quoted(path("pal.dat")) + " " + quoted(path("bigf.dat"));
    ASSERT_EQ(std::system(check.c_str()), 0);
    const std::string resave = python + " -c \"import sys; from PIL import Image; " +
                               "i = Image.open(sys.argv[1]); i.save(sys.argv[2]); " +
                               "i.save(sys.argv[3])\" " + quoted(path("t.png")) + " " +
                               quoted(path("pillow.png")) + " " + quoted(path("pillow.bmp"));
    ASSERT_EQ(std::system(resave.c_str()), 0);
    for (const char* name : {"pillow.png", "pillow.bmp"}) {
        const auto result = run({"import_from_pal", path("pal.dat"), "import_bigf_indices",
                                 path(name), "save_to_bigf", path("back.dat")});
        EXPECT_EQ(result.err, "") << name;
        EXPECT_EQ(read_bytes(dir / "back.dat"), read_bytes(dir / "bigf.dat")) << name;
    }
}

}  // namespace
}  // namespace vlt

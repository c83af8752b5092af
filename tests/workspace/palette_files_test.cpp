#include "workspace/palette_files.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/errors.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

using testing::read_bytes;
using testing::TempDir;

std::vector<std::uint8_t> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string repeat(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

// The message the action raises, or nothing.
template <typename Action>
std::string error_of(Action action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return {};
}

Palette small_palette() {
    Palette palette{};
    palette[0] = make_color(255, 128, 0);
    palette[1] = make_color(1, 2, 3) | 0x7F000000u;  // the top byte is not written
    palette[2] = make_color(10, 200, 99);
    return palette;
}

TEST(PaletteFileWriting, EachFormatAgainstItsExpectedBytes) {
    const struct {
        const char* file;
        std::string head;
        std::string tail;
        std::size_t size;
    } cases[] = {
        {"land.gpl",
         "GIMP Palette\nName: land\nColumns: 16\n#\n255 128   0\tIndex 0\n  1   2   3\tIndex 1\n"
         " 10 200  99\tIndex 2\n  0   0   0\tIndex 3\n",
         "  0   0   0\tIndex 254\n  0   0   0\tIndex 255\n", 5560},
        {"LAND.PAL", "JASC-PAL\r\n0100\r\n256\r\n255 128 0\r\n1 2 3\r\n10 200 99\r\n0 0 0\r\n",
         "0 0 0\r\n0 0 0\r\n", 1821},
        {"land.hex", "ff8000\n010203\n0ac863\n000000\n", "000000\n", 1792},
        {"land.act", std::string("\xFF\x80\x00\x01\x02\x03\x0A\xC8\x63\x00", 10),
         std::string("\x00\x00\x01\x00\xFF\xFF", 6), 772},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto bytes = encode_palette(small_palette(), palette_format_of(c.file),
                                          std::filesystem::path(c.file).stem().string());
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text.size(), c.size);
        EXPECT_EQ(text.substr(0, c.head.size()), c.head);
        EXPECT_TRUE(text.ends_with(c.tail));
    }
}

TEST(PaletteFileReading, TolerantVariants) {
    const struct {
        const char* file;
        std::string text;
        std::vector<Color> colors;
    } cases[] = {
        {"a.gpl",
         "\r\nGIMP Palette\r\n# made by hand\r\n\r\n  1 2 3\tdark\r\nName: late\r\n"
         "255\t0   10 a name with spaces\r\nColumns: 4\r\n  #\r\n7 8 9",
         {make_color(1, 2, 3), make_color(255, 0, 10), make_color(7, 8, 9)}},
        {"a.pal",
         "JASC-PAL\n0100\n\n2\n1 2 3\n4 5 6 blue-ish\n7 8 9\nnot a colour\n",
         {make_color(1, 2, 3), make_color(4, 5, 6)}},
        {"a.hex", "FFfF00\r\n\r\n0a0B0c  \n", {make_color(255, 255, 0), make_color(10, 11, 12)}},
        {"a.gpl",
         "GIMP Palette\rName: cr\r\r1 2 3\r4 5 6 x\r",
         {make_color(1, 2, 3), make_color(4, 5, 6)}},
        {"a.act", std::string(768, '\x05'), std::vector<Color>(256, make_color(5, 5, 5))},
        {"a.act",
         std::string("\x01\x02\x03\x04\x05\x06", 6) + std::string(762, '\x09') +
             std::string("\x00\x02\x00\x01", 4),
         {make_color(1, 2, 3), make_color(4, 5, 6)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(decode_palette(bytes_of(c.text), palette_format_of(c.file)), c.colors);
    }
}

TEST(PaletteFileReading, ErrorsNameTheFirstBadLine) {
    const struct {
        const char* file;
        std::string text;
        std::string message;
    } cases[] = {
        {"a.gpl", "\n\nGIMP palette\n", "Palette file is not valid (line 3)."},
        {"a.gpl", "GIMP Palette\n" + repeat("# note\n", 1000) + "1 2\n",
         "Palette file is not valid (line 1,002)."},
        {"a.gpl", "GIMP Palette\n1 2 256\n", "Palette file is not valid (line 2)."},
        {"a.gpl", "GIMP Palette\r\r1 2\r", "Palette file is not valid (line 3)."},
        {"a.pal", "JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n", "Palette file is not valid (line 3)."},
        {"a.pal", "JASC-PAL\n0100\n300\n" + repeat("1 2 3\n", 300),
         "The file holds 300 colours; a palette holds 256."},
        {"a.hex", "abcdef\n12345\n", "Palette file is not valid (line 2)."},
        {"a.hex", repeat("123456\n", 257), "The file holds 257 colours; a palette holds 256."},
        {"a.act", std::string(771, '\0'), "Palette file is not valid."},
        {"a.act", std::string(768, '\0') + std::string("\x01\x01\xFF\xFF", 4),
         "The file holds 257 colours; a palette holds 256."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(error_of([&] { decode_palette(bytes_of(c.text), palette_format_of(c.file)); }),
                  c.message);
    }
}

TEST(PaletteFiles, EveryFormatRoundTripsByteForByte) {
    TempDir dir;
    std::filesystem::create_directory(dir / "again");
    std::mt19937 random(7);
    Workspace source;
    for (Color& c : source.pal_colors) {
        c = random() & 0x00FFFFFFu;
    }
    for (const char* name : {"p.gpl", "p.Pal", "p.ACT", "p.hex"}) {
        SCOPED_TRACE(name);
        export_palette_file(source, dir / name);
        Workspace loaded;
        EXPECT_EQ(import_palette_file(loaded, dir / name), 256);
        EXPECT_EQ(loaded.pal_colors, source.pal_colors);
        export_palette_file(loaded, dir / "again" / name);
        EXPECT_EQ(read_bytes(dir / "again" / name), read_bytes(dir / name));
    }
}

TEST(PaletteFiles, FewColoursKeepTheRestAndErrorsChangeNothing) {
    TempDir dir;
    Workspace ws;
    ws.pal_colors.fill(0x7F010203u);
    testing::write_bytes(dir / "two.hex", bytes_of("aabbcc\n112233\n"));
    EXPECT_EQ(import_palette_file(ws, dir / "two.hex"), 2);
    EXPECT_EQ(ws.pal_colors[1], make_color(0x11, 0x22, 0x33));
    EXPECT_EQ(ws.pal_colors[2], 0x7F010203u);

    const Palette before = ws.pal_colors;
    testing::write_bytes(dir / "bad.hex", bytes_of("aabbcc\nzz\n"));
    EXPECT_EQ(error_of([&] { import_palette_file(ws, dir / "bad.hex"); }),
              "Palette file is not valid (line 2). (" + (dir / "bad.hex").string() + ")");
    EXPECT_EQ(error_of([&] { import_palette_file(ws, dir / "missing.gpl"); }),
              "Cannot open file " + (dir / "missing.gpl").string());
    EXPECT_EQ(error_of([&] { import_palette_file(ws, dir / "noext"); }),
              "Unknown palette file extension (.) (" + (dir / "noext").string() + ")");
    EXPECT_EQ(error_of([&] { export_palette_file(ws, dir / "noext"); }),
              "Unknown palette file extension (.) (" + (dir / "noext").string() + ")");
    EXPECT_EQ(ws.pal_colors, before);
}

}  // namespace
}  // namespace vlt

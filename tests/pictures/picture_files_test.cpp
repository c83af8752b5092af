#include "pictures/picture_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>

#include "base/errors.h"
#include "base/path_text.h"
#include "pictures/bmp_bytes.h"
#include "pictures/png_writer.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using testing::add16;
using testing::add32;
using testing::bmp_file;
using testing::Bytes;
using testing::info_header;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

template <typename Action>
std::string error_of(Action action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return "(no error)";
}

// A 2 x 1 24-bit picture: red, then green.
Bytes small_bmp() {
    return bmp_file(info_header({.width = 2}), {}, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
}

// The file read as the imports read it, its picture put in the view.
void load_by_extension(View& view, const fs::path& path) {
    LoadedPicture loaded = read_picture_by_extension(path);
    if (loaded.kind == PictureKind::bitmap) {
        view.take_picture(std::move(loaded.bitmap));
    }
}

void load_bitmap(View& view, const fs::path& path) {
    view.take_picture(read_bitmap_file(path).bitmap);
}

class PictureFiles : public ::testing::Test {
protected:
    fs::path file(const std::string& name, const Bytes& bytes) {
        write_bytes(dir / name, bytes);
        return dir / name;
    }
    TempDir dir;
    View pal{"pal", 16, 16};
    View bigf{"bigf", 256, 1152};
};

TEST_F(PictureFiles, UnknownExtensionIsRefusedBeforeOpening) {
    const std::pair<std::string, std::string> cases[] = {
        {"missing.gif", "gif"},     {"Missing.GiF", "GiF"}, {"noextension", ""},
        {"dir.v2/noextension", ""}, {"a.bmp\\b", ""},       {"c.bmp:stream", ""},
        {"trailing.", ""},
    };
    for (const auto& [name, extension] : cases) {
        EXPECT_EQ(error_of([&] { load_by_extension(pal, dir / name); }),
                  "Unknown picture file extension (." + extension + ")")
            << name;
    }
    EXPECT_EQ(pal.picture_kind(), PictureKind::none);
}

TEST_F(PictureFiles, PicturesAreReadByTheirFirstBytes) {
    const std::vector<std::uint8_t> png = encode_png(Bitmap::make_display(3, 2, 0x00123456));
    const fs::path named_bmp = dir / "really_a_png.bmp";
    testing::write_bytes(named_bmp, png);
    load_bitmap(bigf, named_bmp);
    EXPECT_EQ(bigf.get_pixel(2, 1), 0x00123456u);
    load_by_extension(pal, named_bmp);
    EXPECT_EQ(pal.get_pixel(0, 0), 0x00123456u);
#ifndef _WIN32
    // A device has no extension to go by.
    load_by_extension(pal, "/dev/null");
    EXPECT_TRUE(pal.bitmap()->empty());
#endif
}

TEST_F(PictureFiles, FilesThatCannotBeOpened) {
    fs::create_directory(dir / "folder.bmp");
    for (const fs::path& path : {dir / "missing.bmp", dir / "folder.bmp"}) {
        EXPECT_EQ(error_of([&] { load_by_extension(pal, path); }),
                  "Cannot open file " + utf8_of(path));
        EXPECT_EQ(error_of([&] { load_bitmap(bigf, path); }), "Cannot open file " + utf8_of(path));
    }
    EXPECT_EQ(pal.picture_kind(), PictureKind::none);
}

TEST_F(PictureFiles, LoadByExtensionIgnoresLetterCase) {
    load_by_extension(pal, file("picture.BMP", small_bmp()));
    ASSERT_NE(pal.bitmap(), nullptr);
    EXPECT_EQ(pal.bitmap()->width(), 2);
    EXPECT_EQ(pal.get_pixel(1, 0), 0x00FF00u);
    EXPECT_TRUE(pal.repaint_marked());
}

TEST_F(PictureFiles, ZeroByteFileGivesTheEmptyPicture) {
    const fs::path empty = file("empty.bmp", {});
    load_by_extension(pal, empty);
    ASSERT_NE(pal.bitmap(), nullptr);
    EXPECT_TRUE(pal.bitmap()->empty());

    load_bitmap(bigf, file("small.bmp", small_bmp()));
    load_bitmap(bigf, empty);
    EXPECT_TRUE(bigf.bitmap()->empty());
}

TEST_F(PictureFiles, FailedLoadLeavesThePicture) {
    load_bitmap(bigf, file("small.bmp", small_bmp()));
    bigf.clear_repaint_mark();
    const fs::path text = file("notes.txt", Bytes(20, 'a'));
    const std::string not_valid = "Bitmap image is not valid. (" + utf8_of(text) + ")";
    EXPECT_EQ(error_of([&] { load_bitmap(bigf, text); }), not_valid);
    EXPECT_EQ(bigf.bitmap()->width(), 2);
    EXPECT_EQ(bigf.get_pixel(0, 0), 0x0000FFu);
    EXPECT_FALSE(bigf.repaint_marked());

    // The file is read before the view is touched: a fresh view still has no picture.
    View cliff("cliff", 128, 64);
    EXPECT_EQ(error_of([&] { load_bitmap(cliff, text); }), not_valid);
    EXPECT_EQ(cliff.picture_kind(), PictureKind::none);
    EXPECT_FALSE(cliff.repaint_marked());

    load_by_extension(pal, file("p.bmp", small_bmp()));
    const fs::path bad = file("bad.bmp", Bytes(5, 'B'));
    EXPECT_EQ(error_of([&] { load_by_extension(pal, bad); }),
              "Stream read error. (" + utf8_of(bad) + ")");
    EXPECT_EQ(pal.bitmap()->width(), 2);
}

Bytes icon(std::uint16_t reserved, std::uint16_t type, std::uint16_t count, std::uint32_t data_size,
           std::uint32_t data_offset, std::size_t trailing) {
    Bytes out;
    add16(out, reserved);
    add16(out, type);
    add16(out, count);
    for (std::uint16_t i = 0; i < count; ++i) {
        out.insert(out.end(), 8, 0);
        add32(out, data_size);
        add32(out, data_offset);
    }
    out.insert(out.end(), trailing, 0);
    return out;
}

Bytes without_last_byte(Bytes bytes) {
    bytes.pop_back();
    return bytes;
}

TEST_F(PictureFiles, IconFilesAreCheckedThenHeldAsIcons) {
    const std::pair<Bytes, bool> cases[] = {
        {icon(0, 1, 1, 4, 22, 4), true},
        {icon(0, 1, 2, 4, 38, 4), true},
        {Bytes{0, 0, 1, 0, 1}, false},
        {icon(1, 1, 1, 4, 22, 4), false},
        {icon(0, 2, 1, 4, 22, 4), false},
        {icon(0, 1, 0, 0, 0, 16), false},
        {without_last_byte(icon(0, 1, 1, 0, 0, 0)), false},
        {icon(0, 1, 1, 5, 22, 4), false},
        {icon(0, 1, 1, 2, 0xFFFFFFFF, 4), false},
    };
    int n = 0;
    for (const auto& [bytes, valid] : cases) {
        PictureKind kind = PictureKind::none;
        const fs::path path = file(std::to_string(n++) + ".ico", bytes);
        const std::string message = error_of([&] { kind = read_picture_by_extension(path).kind; });
        EXPECT_EQ(message, valid ? "(no error)" : "Icon image is not valid") << n;
        EXPECT_EQ(kind, valid ? PictureKind::icon : PictureKind::none) << n;
    }
}

Bytes emf(std::size_t size) {
    Bytes out(size, 0);
    out[0] = 1;
    const Bytes signature = {0x20, 0x45, 0x4D, 0x46};
    std::copy(signature.begin(), signature.end(), out.begin() + 40);
    return out;
}

Bytes wmf(std::uint16_t type, std::uint16_t header_words, std::size_t size, bool placeable) {
    Bytes out;
    if (placeable) {
        add32(out, 0x9AC6CDD7);
        out.resize(22, 0);
    }
    add16(out, type);
    add16(out, header_words);
    out.resize(size, 0);
    return out;
}

TEST_F(PictureFiles, MetafilesOfEitherKindUnderEitherName) {
    const std::pair<Bytes, bool> cases[] = {
        {emf(88), true},
        {emf(87), false},
        {wmf(1, 9, 18, false), true},
        {wmf(2, 9, 18, false), true},
        {wmf(1, 9, 17, false), false},
        {wmf(3, 9, 18, false), false},
        {wmf(1, 8, 18, false), false},
        {wmf(1, 9, 40, true), true},
        {wmf(1, 9, 39, true), false},
        {wmf(4, 9, 40, true), false},
        {Bytes{}, false},
    };
    int n = 0;
    for (const auto& [bytes, valid] : cases) {
        for (const char* extension : {".emf", ".WMF"}) {
            PictureKind kind = PictureKind::none;
            const fs::path path = file(std::to_string(n) + extension, bytes);
            EXPECT_EQ(error_of([&] { kind = read_picture_by_extension(path).kind; }),
                      valid ? "(no error)" : "Metafile is not valid")
                << n << extension;
            EXPECT_EQ(kind, valid ? PictureKind::metafile : PictureKind::none);
        }
        ++n;
    }
}

TEST_F(PictureFiles, SavePictureWritesOnlyWhenThereIsAPicture) {
    save_picture(pal, dir / "none.bmp");
    EXPECT_FALSE(fs::exists(dir / "none.bmp"));

    pal.get_pixel(0, 0);  // the view makes its white picture
    save_picture(pal, dir / "pal.bmp");
    EXPECT_EQ(fs::file_size(dir / "pal.bmp"), 1078u);

    // The empty picture (a 0-byte file's) is a file of 0 bytes.
    pal.take_picture(Bitmap());
    save_picture(pal, dir / "empty.bmp");
    EXPECT_EQ(fs::file_size(dir / "empty.bmp"), 0u);
}

TEST_F(PictureFiles, SaveBitmapOfAFreshViewWritesNothingIntoANewFile) {
    save_bitmap(bigf, dir / "bigf.bmp");
    EXPECT_EQ(fs::file_size(dir / "bigf.bmp"), 0u);
    ASSERT_NE(bigf.bitmap(), nullptr);
    EXPECT_TRUE(bigf.bitmap()->empty());

    load_bitmap(bigf, file("small.bmp", small_bmp()));
    save_bitmap(bigf, dir / "again.bmp");
    const Bytes written = read_bytes(dir / "again.bmp");
    ASSERT_EQ(written.size(), small_bmp().size());
    EXPECT_TRUE(std::equal(written.begin() + 54, written.end(), small_bmp().begin() + 54));
}

TEST_F(PictureFiles, FailedSaveLeavesTheOldFile) {
    bigf.get_pixel(0, 0);
    const fs::path locked = file("locked.bmp", {1, 2, 3});
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(dir / "folder.bmp");
    const fs::path targets[] = {locked, dir / "folder.bmp", dir / "missing" / "x.bmp"};
    for (const fs::path& target : targets) {
        EXPECT_EQ(error_of([&] { save_bitmap(bigf, target); }),
                  "Cannot create file " + utf8_of(target));
    }
    EXPECT_EQ(read_bytes(locked), (Bytes{1, 2, 3}));
    EXPECT_EQ(error_of([&] { save_picture(bigf, locked); }),
              "Cannot create file " + utf8_of(locked));
    EXPECT_EQ(fs::directory_iterator(dir.path()) == fs::directory_iterator(), false);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(utf8_of(entry.path()).find(".tmp"), std::string::npos) << entry.path();
    }
}

#ifndef _WIN32
TEST_F(PictureFiles, FailingWriteIsAStreamWriteErrorAndKeepsTheOldFile) {
    bigf.get_pixel(0, 0);  // a view-made picture: 1,179,702 bytes to write
    const fs::path target = file("old.bmp", {1, 2, 3});
    std::string error;
    {
        testing::FileSizeLimit limit(4096);
        error = error_of([&] { save_bitmap(bigf, target); });
    }
    EXPECT_EQ(error, "Stream write error");
    EXPECT_EQ(read_bytes(target), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A picture from a pipe is read to the pipe's end, the surplus ignored, so that its writer
// never meets a closed pipe.
TEST_F(PictureFiles, APipeIsReadToItsEnd) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    Bytes bytes = small_bmp();
    bytes.resize(bytes.size() + 100, 'z');
    ASSERT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(ends[1]);
    load_bitmap(bigf, "/dev/fd/" + std::to_string(ends[0]));
    EXPECT_EQ(bigf.get_pixel(1, 0), 0x00FF00u);
    char rest[200];
    EXPECT_EQ(::read(ends[0], rest, sizeof rest), 0);
    ::close(ends[0]);
}

// Pixels a gigabyte into a sparse file are found without reading the gap before them.
TEST_F(PictureFiles, PixelsFarIntoTheFileAreReachedBySeeking) {
    const fs::path path = dir / "far.bmp";
    Bytes head = small_bmp();
    head.resize(54);
    const std::uint32_t offset = 1u << 30;
    for (int i = 0; i < 4; ++i) {
        head[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    }
    write_bytes(path, head);
    fs::resize_file(path, offset);
    std::ofstream(path, std::ios::binary | std::ios::app).write("\0\0\xFF\0\xFF\0\0\0", 8);
    load_bitmap(bigf, path);
    EXPECT_EQ(bigf.get_pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(bigf.get_pixel(1, 0), 0x00FF00u);
}
#endif

}  // namespace
}  // namespace vlt

#include "workspace/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "base/file_io.h"
#include "support/temp_dir.h"

#include "support/file_size_limit.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <sys/stat.h>
#endif

namespace vlt {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

std::vector<std::uint8_t> pattern(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

TEST(DataFileLayout, FreshWorkspaceSavesFullSizedZeroFiles) {
    TempDir dir;
    Workspace ws;
    save_palette_file(ws, dir / "pal.dat");
    save_bigf_file(ws, dir / "bigf.dat");
    save_cliff_file(ws, dir / "cliff.dat");
    EXPECT_EQ(read_bytes(dir / "pal.dat"), std::vector<std::uint8_t>(1024, 0));
    EXPECT_EQ(read_bytes(dir / "bigf.dat"), std::vector<std::uint8_t>(294912, 0));
    EXPECT_EQ(read_bytes(dir / "cliff.dat"), std::vector<std::uint8_t>(8192, 0));
}

TEST(DataFileLayout, PaletteRecordsAreRedGreenBlueTopByte) {
    TempDir dir;
    Workspace ws;
    ws.pal_colors[0] = 0x00332211;
    ws.pal_colors[1] = CLR_INVALID;
    ws.pal_colors[255] = 0x7F000001;
    save_palette_file(ws, dir / "pal.dat");
    const auto bytes = read_bytes(dir / "pal.dat");
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)),
              (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.end() - 4, bytes.end())),
              (std::vector<std::uint8_t>{0x01, 0x00, 0x00, 0x7F}));
}

TEST(DataFileLayout, RandomFilesRoundTripByteForByte) {
    TempDir dir;
    const auto pal = pattern(1024, 1), bigf = pattern(294912, 2), cliff = pattern(8192, 3);
    write_bytes(dir / "a_pal.dat", pal);
    write_bytes(dir / "a_bigf.dat", bigf);
    write_bytes(dir / "a_cliff.dat", cliff);
    Workspace ws;
    EXPECT_EQ(load_palette_file(ws, dir / "a_pal.dat"), 1024u);
    EXPECT_EQ(load_bigf_file(ws, dir / "a_bigf.dat"), 294912u);
    EXPECT_EQ(load_cliff_file(ws, dir / "a_cliff.dat"), 8192u);
    EXPECT_EQ(ws.bigf_data[256 * 3 + 7], bigf[256 * 3 + 7]);
    EXPECT_EQ(ws.pal_colors[1], pal[4] | pal[5] << 8 | pal[6] << 16 | Color{pal[7]} << 24);
    save_palette_file(ws, dir / "b_pal.dat");
    save_bigf_file(ws, dir / "b_bigf.dat");
    save_cliff_file(ws, dir / "b_cliff.dat");
    EXPECT_EQ(read_bytes(dir / "b_pal.dat"), pal);
    EXPECT_EQ(read_bytes(dir / "b_bigf.dat"), bigf);
    EXPECT_EQ(read_bytes(dir / "b_cliff.dat"), cliff);
}

TEST(ShortAndLongFiles, EmptyPaletteFileChangesNothing) {
    TempDir dir;
    write_bytes(dir / "pal.dat", {});
    Workspace ws;
    ws.pal_colors.fill(0x00123456);
    EXPECT_EQ(load_palette_file(ws, dir / "pal.dat"), 0u);
    for (Color c : ws.pal_colors) {
        ASSERT_EQ(c, 0x00123456u);
    }
}

TEST(ShortAndLongFiles, ShortFileReplacesOnlyLeadingBytes) {
    TempDir dir;
    write_bytes(dir / "pal.dat", std::vector<std::uint8_t>(512 + 2, 0xAB));
    Workspace ws;
    ws.pal_colors.fill(0x00123456);
    EXPECT_EQ(load_palette_file(ws, dir / "pal.dat"), 514u);
    EXPECT_EQ(ws.pal_colors[0], 0xABABABABu);
    EXPECT_EQ(ws.pal_colors[127], 0xABABABABu);
    EXPECT_EQ(ws.pal_colors[128], 0x0012ABABu);  // a record cut in half keeps its upper bytes
    EXPECT_EQ(ws.pal_colors[129], 0x00123456u);
    EXPECT_EQ(ws.pal_colors[255], 0x00123456u);
}

TEST(ShortAndLongFiles, LongFileGivesOnlyItsFirstBytes) {
    TempDir dir;
    const auto bytes = pattern(300000, 4);
    write_bytes(dir / "bigf.dat", bytes);
    Workspace ws;
    EXPECT_EQ(load_bigf_file(ws, dir / "bigf.dat"), 300000u);
    EXPECT_TRUE(std::equal(ws.bigf_data.begin(), ws.bigf_data.end(), bytes.begin()));
}

TEST(LoadFailures, MissingFileOrFolderLeavesBufferUnchanged) {
    TempDir dir;
    Workspace ws;
    ws.cliff_data.fill(9);
    ws.pal_colors.fill(7);
    EXPECT_THROW(load_cliff_file(ws, dir / "missing.dat"), FileError);
    EXPECT_THROW(load_palette_file(ws, dir.path()), FileError);
    EXPECT_EQ(ws.cliff_data[8191], 9);
    EXPECT_EQ(ws.pal_colors[0], 7u);
}

class SaveFailures : public ::testing::Test {
protected:
    void SetUp() override {
        ws.cliff_data.fill(5);
        old = pattern(8192, 6);
        write_bytes(target, old);
    }
    // The old file is intact and no temporary file was left behind.
    void expect_untouched() {
        EXPECT_EQ(read_bytes(target), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
    TempDir dir;
    fs::path target = dir / "cliff.dat";
    std::vector<std::uint8_t> old;
    Workspace ws;
};

TEST_F(SaveFailures, ReadOnlyTargetIsRefusedEvenForRoot) {
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(save_cliff_file(ws, target), FileError);
    fs::permissions(target, fs::perms::owner_all);
    expect_untouched();
}

TEST_F(SaveFailures, FolderOrMissingFolderIsRefused) {
    EXPECT_THROW(save_cliff_file(ws, dir.path()), FileError);
    EXPECT_THROW(save_cliff_file(ws, dir / "no-such-folder" / "cliff.dat"), FileError);
    expect_untouched();
}

#ifdef _WIN32
TEST_F(SaveFailures, ExistingTargetKeepsItsAttributes) {
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    save_cliff_file(ws, target);
    EXPECT_NE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(read_bytes(target), std::vector<std::uint8_t>(8192, 5));
}
#else
TEST_F(SaveFailures, ExistingTargetKeepsItsPermissionBits) {
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    save_cliff_file(ws, target);
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(read_bytes(target), std::vector<std::uint8_t>(8192, 5));
}
#endif

#ifndef _WIN32
TEST(SavePermissions, NewFileGetsDefaultModeLessUmask) {
    TempDir dir;
    const mode_t old_mask = umask(027);
    save_palette_file(Workspace{}, dir / "pal.dat");
    umask(old_mask);
    EXPECT_EQ(fs::status(dir / "pal.dat").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SaveFailures, FailingWriteLeavesOldFileAndIsReported) {
    {
        testing::FileSizeLimit limit(4096);
        EXPECT_THROW(save_cliff_file(ws, target), FileError);
    }
    expect_untouched();
}
#endif

}  // namespace
}  // namespace vlt

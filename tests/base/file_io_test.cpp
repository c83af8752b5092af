#include "base/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vlt {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

std::string reason_of(const fs::path& path, const Bytes& bytes) {
    try {
        replace_file(path, bytes);
    } catch (const FileError& e) {
        return e.what();
    }
    return "";
}

TEST(SaveLinks, TheFileALinkNamesIsReplacedAndTheLinkStays) {
    TempDir dir;
    fs::create_directory(dir / "real");
    write_bytes(dir / "real" / "old.dat", {1});
    try {
        fs::create_symlink(fs::path("real") / "old.dat", dir / "link.dat");
        fs::create_symlink("link.dat", dir / "chain.dat");
        fs::create_symlink(fs::path("real") / "new.dat", dir / "dangling.dat");
    } catch (const fs::filesystem_error& e) {
        GTEST_SKIP() << "no symbolic links here: " << e.what();  // Windows without the right
    }
    for (const char* link : {"link.dat", "chain.dat", "dangling.dat"}) {
        const Bytes bytes(3, static_cast<std::uint8_t>(link[0]));
        replace_file(dir / link, bytes);
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
        EXPECT_EQ(read_bytes(dir / link), bytes) << link;
    }
    EXPECT_EQ(read_bytes(dir / "real" / "old.dat"), Bytes(3, 'c'));
    EXPECT_EQ(read_bytes(dir / "real" / "new.dat"), Bytes(3, 'd'));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
}

TEST(SaveHardLinks, EveryNameSeesTheNewBytesOrTheOldOnFailure) {
    TempDir dir;
    write_bytes(dir / "a.dat", Bytes(5000, 1));
    fs::create_hard_link(dir / "a.dat", dir / "b.dat");
    replace_file(dir / "a.dat", Bytes(3000, 2));
    EXPECT_EQ(read_bytes(dir / "b.dat"), Bytes(3000, 2));
#ifndef _WIN32
    {
        testing::FileSizeLimit limit(4096);
        EXPECT_EQ(reason_of(dir / "a.dat", Bytes(8192, 3)), "File too large");
    }
    EXPECT_EQ(read_bytes(dir / "b.dat"), Bytes(3000, 2));
    // Windows' C runtime reports one link for every file: there b.dat's new bytes show it.
    EXPECT_EQ(fs::hard_link_count(dir / "a.dat"), 2u);
#endif
}

TEST(SaveNames, EveryNameTheFolderTakesCanBeSaved) {
    TempDir dir;
    for (std::size_t length = 240; length <= 256; ++length) {
        const std::string reason = reason_of(dir / std::string(length, 'n'), {1});
        EXPECT_EQ(reason.empty(), length <= 255) << length;
#ifndef _WIN32
        EXPECT_EQ(reason, length <= 255 ? "" : "File name too long") << length;
#endif
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 16);
}

#ifdef _WIN32
TEST(SaveSpecialFiles, TheNullDeviceIsWrittenIntoAndAFolderRefused) {
    TempDir dir;
    EXPECT_EQ(reason_of("NUL", {1}), "");
    EXPECT_NE(reason_of(dir.path(), {1}), "");
}
#else

Bytes read_all(int fd) {
    Bytes bytes;
    std::uint8_t buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return bytes;
}

TEST(SaveSpecialFiles, DevicesFifosAndSocketsAreWrittenInto) {
    TempDir dir;
    const Bytes bytes(200000, 9);  // more than a pipe holds at once
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{AF_UNIX, {}};
    (dir / "sock").native().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::listen(listener, 1);
    Bytes from_fifo, from_socket;
    std::thread reader([&] {
        from_fifo = read_all(::open((dir / "fifo").c_str(), O_RDONLY));
        from_socket = read_all(::accept(listener, nullptr, nullptr));
    });
    replace_file(dir / "fifo", bytes);
    replace_file(dir / "sock", bytes);
    replace_file("/dev/null", bytes);
    reader.join();
    ::close(listener);
    EXPECT_EQ(from_fifo, bytes);
    EXPECT_EQ(from_socket, bytes);
    EXPECT_TRUE(fs::is_fifo(dir / "fifo") && fs::is_socket(dir / "sock") &&
                fs::is_character_file("/dev/null"));
}

TEST(SaveSpecialFiles, FoldersAndBlockDevicesAreRefused) {
    TempDir dir;
    EXPECT_EQ(reason_of(dir.path(), {1}), "Is a directory");
    if (::mknod((dir / "disk").c_str(), S_IFBLK | 0600, makedev(7, 0)) == 0) {
        EXPECT_EQ(reason_of(dir / "disk", {1}), "Operation not supported");
        EXPECT_TRUE(fs::is_block_file(dir / "disk"));
    }
}

// A temporary file left by a process that was killed is removed by the next save beside it; one
// a live process still holds stays.
TEST(SaveNames, LeftTemporaryFilesAreRemovedByTheNextSave) {
    TempDir dir;
    write_bytes(dir / ".vlt-left0001", {1});
    write_bytes(dir / ".vlt-live0002", {2});
    write_bytes(dir / ".vlt-notours", {3});
    const int live = ::open((dir / ".vlt-live0002").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    replace_file(dir / "new.dat", Bytes{4});
    ::close(live);
    EXPECT_FALSE(fs::exists(dir / ".vlt-left0001"));
    EXPECT_TRUE(fs::exists(dir / ".vlt-live0002"));
    EXPECT_TRUE(fs::exists(dir / ".vlt-notours"));
}

// As root, over nobody's files: owner, group, mode and set-user bit stay. As nobody, over
// root's file: nobody becomes the owner, and the set-user bit goes.
TEST(SaveOwners, OwnerGroupAndModeStayWhereTheProcessMaySetThem) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) {
        GTEST_SKIP() << "needs root and the user nobody";
    }
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const auto owner_and_mode = [&] {
        struct stat st {};
        ::stat((dir / "f.dat").c_str(), &st);
        return std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777);
    };
    for (const mode_t mode : {0640, 04755}) {
        write_bytes(dir / "f.dat", {1});
        ASSERT_EQ(::chown((dir / "f.dat").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        ::chmod((dir / "f.dat").c_str(), mode);
        replace_file(dir / "f.dat", Bytes{2});
        EXPECT_EQ(owner_and_mode(), std::tuple(nobody->pw_uid, nobody->pw_gid, mode));
    }
    ::chown((dir / "f.dat").c_str(), 0, 0);
    ::chmod((dir / "f.dat").c_str(), 04777);
    if (::fork() == 0) {
        ::_exit(::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                        ::setuid(nobody->pw_uid) == 0 && reason_of(dir / "f.dat", {3}).empty()
                    ? 0
                    : 1);
    }
    int status = -1;
    ::wait(&status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(owner_and_mode(), std::tuple(nobody->pw_uid, nobody->pw_gid, mode_t{0777}));
}

#endif

}  // namespace
}  // namespace vlt

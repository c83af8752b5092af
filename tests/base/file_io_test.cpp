#include "base/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
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
#endif
    EXPECT_EQ(fs::hard_link_count(dir / "a.dat"), 2u);
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

TEST(SaveSpecialFiles, DevicesFifosAndSocketsAreWrittenInto) {
    TempDir dir;
    const Bytes bytes(200000, 9);  // more than a pipe holds at once
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{AF_UNIX, {}};
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (dir / "sock").c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::listen(listener, 1);
    Bytes from_fifo, from_socket;
    std::thread reader([&] {
        from_fifo = read_file(dir / "fifo", bytes.size()).bytes;
        const int peer = ::accept(listener, nullptr, nullptr);
        std::uint8_t buffer[4096];
        for (ssize_t n; (n = ::read(peer, buffer, sizeof buffer)) > 0;) {
            from_socket.insert(from_socket.end(), buffer, buffer + n);
        }
        ::close(peer);
    });
    replace_file(dir / "fifo", bytes);
    replace_file(dir / "sock", bytes);
    reader.join();
    ::close(listener);
    EXPECT_EQ(from_fifo, bytes);
    EXPECT_EQ(from_socket, bytes);
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_socket(dir / "sock"));
    replace_file("/dev/null", bytes);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
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

// As root: the replaced file keeps another user's ownership, mode and set-user bit.
TEST(SaveOwners, OwnerGroupAndModeAreKept) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) {
        GTEST_SKIP() << "needs root and the user nobody";
    }
    TempDir dir;
    for (const mode_t mode : {0640, 04755}) {
        write_bytes(dir / "theirs.dat", {1});
        ASSERT_EQ(::chown((dir / "theirs.dat").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        ::chmod((dir / "theirs.dat").c_str(), mode);
        replace_file(dir / "theirs.dat", Bytes{2});
        struct stat st {};
        ::stat((dir / "theirs.dat").c_str(), &st);
        EXPECT_EQ(st.st_uid, nobody->pw_uid);
        EXPECT_EQ(st.st_gid, nobody->pw_gid);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
}

// A user who cannot give the file its owner back does not get its set-user bit.
TEST(SaveOwners, SetUserBitGoesWhenTheOwnerChanges) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) {
        GTEST_SKIP() << "needs root and the user nobody";
    }
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    write_bytes(dir / "roots.dat", {1});
    ::chmod((dir / "roots.dat").c_str(), 04777);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                             ::setuid(nobody->pw_uid) == 0;
        ::_exit(dropped && reason_of(dir / "roots.dat", {2}).empty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
    struct stat st {};
    ::stat((dir / "roots.dat").c_str(), &st);
    EXPECT_EQ(st.st_uid, nobody->pw_uid);
    EXPECT_EQ(st.st_mode & 07777, 0777u);
    EXPECT_EQ(read_bytes(dir / "roots.dat"), Bytes{2});
}

TEST(ReadPipes, APipeIsReadToItsEndKeepingOnlyWhatWasAskedFor) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::thread writer([&] {
        const Bytes bytes(300000, 4);
        ::write(ends[1], bytes.data(), bytes.size());
        ::close(ends[1]);
    });
    const FileContents contents = read_file("/dev/fd/" + std::to_string(ends[0]), 1024);
    writer.join();
    ::close(ends[0]);
    EXPECT_EQ(contents.bytes, Bytes(1024, 4));
    EXPECT_EQ(contents.length, 300000u);
}
#endif

}  // namespace
}  // namespace vlt

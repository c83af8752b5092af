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
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

// As root, over nobody's files: owner, group, mode and set-user bit stay.
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
}

// As nobody, over root's files: refused where `>` would be refused; written in place, keeping
// its owner, where a new file could not keep the owner or the folder takes no new file.
TEST(SaveOwners, AnotherUsersFileIsWrittenOnlyAsTheSystemAllowsAndKeepsItsOwner) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) {
        GTEST_SKIP() << "needs root and the user nobody";
    }
    const struct {
        mode_t folder_mode;
        bool nobodys_folder;
        mode_t file_mode;
        const char* reason;
        mode_t mode_after;
    } cases[] = {
        {0755, true, 0644, "Permission denied", 0644},
        {0755, true, 04777, "", 0777},  // a write by another user takes the set-user bit
        {0555, true, 0666, "", 0666},
        {0755, false, 0666, "", 0666},
        {01777, false, 0666, "", 0666},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder_mode);
        TempDir dir;
        fs::permissions(dir.path(), fs::perms::all);
        const fs::path folder = dir / "in";
        fs::create_directory(folder);
        write_bytes(folder / "f.dat", {1});
        ::chmod((folder / "f.dat").c_str(), c.file_mode);
        ::chown(folder.c_str(), c.nobodys_folder ? nobody->pw_uid : 0, 0);
        ::chmod(folder.c_str(), c.folder_mode);
        if (::fork() == 0) {
            ::_exit(::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                            ::setuid(nobody->pw_uid) == 0 &&
                            reason_of(folder / "f.dat", {3}) == c.reason
                        ? 0
                        : 1);
        }
        int status = -1;
        ::wait(&status);
        EXPECT_EQ(status, 0);
        struct stat st {};
        ::stat((folder / "f.dat").c_str(), &st);
        EXPECT_EQ(std::tuple(st.st_uid, st.st_mode & 07777), std::tuple(uid_t{0}, c.mode_after));
        EXPECT_EQ(read_bytes(folder / "f.dat"), Bytes{std::uint8_t(*c.reason ? 1 : 3)});
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

std::string command_output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return out;
}

TEST(SaveAttributes, AclAndExtendedAttributesStayWithTheFile) {
    if (std::system("command -v setfacl >/dev/null && command -v getfacl >/dev/null") != 0) {
        GTEST_SKIP() << "needs setfacl and getfacl (the acl package)";
    }
    TempDir dir;
    const fs::path file = dir / "f.dat";
    write_bytes(file, {1});
    ::chmod(file.c_str(), 0640);
    if (::setxattr(file.c_str(), "user.note", "kept", 4, 0) != 0 ||
        std::system(("setfacl -m u:65534:rw " + file.string()).c_str()) != 0) {
        GTEST_SKIP() << "no extended attributes or ACLs on " << dir.path();
    }
    const std::string acl = command_output("getfacl -cn " + file.string());
    replace_file(file, Bytes{2});
    EXPECT_EQ(read_bytes(file), Bytes{2});
    EXPECT_EQ(command_output("getfacl -cn " + file.string()), acl);
    char note[8] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.note", note, sizeof note), 4);
    EXPECT_STREQ(note, "kept");
}

// Files that say they are shorter than they are, as /proc's say 0, are read to their real end.
TEST(ReadLengths, FilesAreCountedToTheirRealEnd) {
    if (!fs::exists("/proc/version")) {
        GTEST_SKIP() << "no /proc here";
    }
    const std::size_t length = read_file("/proc/version", 1 << 20).bytes.size();
    EXPECT_GT(length, 16u);
    EXPECT_EQ(read_file("/proc/version", 16).length, length);
}

#endif

}  // namespace
}  // namespace vlt

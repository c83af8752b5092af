// The command line against pipes, FIFOs, size limits and signals: each run as a process.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bmp_builder.h"
#include "support/temp_dir.h"
#include "support/traced_process.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::read_bytes;
using testing::write_bytes;

class CliFiles : public ::testing::Test {
protected:
    // Runs a bash script in the test's folder, $R being the command line; gives the exit status
    // and standard error.
    std::pair<int, std::string> bash(const std::string& script) {
        const fs::path err = outside / "err";
        const int status =
            std::system(("cd " + dir.path().string() + " && R=" VLT_CLI_PATH " bash -c '" + script +
                         "' 2>" + err.string())
                            .c_str());
        const Bytes text = read_bytes(err);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {text.begin(), text.end()}};
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }
    testing::TempDir dir, outside;
};

TEST_F(CliFiles, PipesAndFifosAreReadToTheirEndAndStandardOutputWrittenInto) {
    write_bytes(dir / "in.bmp", testing::build_bmp(256, 1152, 24, [](int x, int y) {
                    return static_cast<Color>(x * 7 + y * 3);
                }));
    ASSERT_EQ(bash("$R import_bigf_from_bitmap in.bmp save_to_bigf ref.dat").first, 0);
    for (const char* script : {
             "cat in.bmp | $R import_bigf_from_bitmap /dev/stdin save_to_bigf out.dat",
             "$R import_bigf_from_bitmap <(cat in.bmp) save_to_bigf out.dat",
             "cat ref.dat ref.dat | $R import_from_bigf /dev/stdin save_to_bigf out.dat",
             // Read to the pipe's end, so the writer sees no SIGPIPE.
             "set -o pipefail; (cat in.bmp; head -c 100000 /dev/zero) | "
             "$R import_bigf_from_bitmap /dev/stdin save_to_bigf out.dat",
             // Waits at the FIFO for its writer, whichever of the two comes first.
             "mkfifo f; $R import_bigf_from_bitmap f save_to_bigf out.dat & cat in.bmp >f; wait $!",
         }) {
        EXPECT_EQ(bash(script).first, 0) << script;
        EXPECT_EQ(read_bytes(dir / "out.dat"), read_bytes(dir / "ref.dat")) << script;
        fs::remove(dir / "out.dat");
    }
    EXPECT_EQ(bash("set -o pipefail; $R import_bigf_from_bitmap in.bmp save_bigf_to_bitmap "
                   "/dev/stdout | cat >out.bmp")
                  .first,
              0);
    EXPECT_EQ(fs::file_size(dir / "out.bmp"), fs::file_size(dir / "in.bmp"));
}

TEST_F(CliFiles, WritesPastTheFileSizeLimitAreReportedAndKeepTheOldFile) {
    write_bytes(dir / "old.dat", Bytes(1000, 7));
    write_bytes(dir / "old.bmp", Bytes(1000, 7));
    EXPECT_EQ(bash("ulimit -f 100; $R save_to_bigf old.dat"),
              std::pair(1, std::string("save_to_bigf: failed! (old.dat: File too large)\n")));
    EXPECT_EQ(bash("ulimit -f 100; head -c 294912 /dev/zero | $R import_from_bigf /dev/stdin "
                   "save_bigf_to_bitmap old.bmp"),
              std::pair(1, std::string("save_bigf_to_bitmap: Stream write error. (old.bmp: File "
                                       "too large)\n")));
    EXPECT_EQ(read_bytes(dir / "old.dat"), Bytes(1000, 7));
    EXPECT_EQ(read_bytes(dir / "old.bmp"), Bytes(1000, 7));
    EXPECT_EQ(entries(), 2u);
}

TEST_F(CliFiles, FailedSystemCallsGiveTheirReason) {
    const std::string long_name(256, 'n');
    const std::pair<std::string, std::string> cases[] = {
        {"$R import_from_pal \"\"", "import_from_pal: Failed! (: No such file or directory)"},
        {"$R save_to_pal \"\"", "save_to_pal: failed! (: No such file or directory)"},
        {"$R import_bigf_from_bitmap \"\"",
         "import_bigf_from_bitmap: Cannot open file  (: No such file or directory)"},
        {"$R build_cliff cliff_save_to_bitmap \"\"",
         "cliff_save_to_bitmap: Cannot create file  (: No such file or directory)"},
        {"$R save_to_cliff .", "save_to_cliff: failed! (.: Is a directory)"},
        {"touch ro.dat; chmod 444 ro.dat; $R save_to_cliff ro.dat",
         "save_to_cliff: failed! (ro.dat: Permission denied)"},
        {"ln -sf loop.dat loop.dat; $R save_to_pal loop.dat",
         "save_to_pal: failed! (loop.dat: Too many levels of symbolic links)"},
        {"$R save_to_pal nonexist/", "save_to_pal: failed! (nonexist/: Not a directory)"},
        {"$R import_from_pal /dev/zero",
         "import_from_pal: Failed! (/dev/zero: The file goes on beyond 256 MiB)"},
        {"$R save_to_pal " + long_name,
         "save_to_pal: failed! (" + long_name + ": File name too long)"},
        {"head -c 294912 /dev/zero | $R import_from_bigf /dev/stdin save_bigf_to_bitmap "
         "/dev/stdout | true; exit ${PIPESTATUS[1]}",
         "save_bigf_to_bitmap: Stream write error. (/dev/stdout: Broken pipe)"},
    };
    for (const auto& [script, line] : cases) {
        EXPECT_EQ(bash(script), std::pair(1, line + "\n"));
    }
    EXPECT_EQ(bash("$R --help >/dev/full"), std::pair(1, std::string()));
}

// Standard output and /dev/fd/N are the descriptors the shell gave: written where they stand.
TEST_F(CliFiles, OwnDescriptorsAreWrittenThroughNotReplaced) {
    Bytes pal(1024);
    for (std::size_t i = 0; i < pal.size(); ++i) {
        pal[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : i);
    }
    write_bytes(dir / "pal.dat", pal);
    const auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    const auto joined = [](Bytes a, const Bytes& b, const Bytes& c = {}) {
        a.insert(a.end(), b.begin(), b.end());
        a.insert(a.end(), c.begin(), c.end());
        return a;
    };
    const std::pair<std::string, Bytes> cases[] = {
        {"echo precious >out; $R import_from_pal pal.dat save_to_pal /dev/stdout >>out",
         joined(text("precious\n"), pal)},
        {"{ echo HEADER; $R import_from_pal pal.dat save_to_pal /dev/stdout; echo TRAILER; } >out",
         joined(text("HEADER\n"), pal, text("TRAILER\n"))},
        {"ln -s /dev/fd/3 link; $R import_from_pal pal.dat save_to_pal link 3>>out; rm link", pal},
        // Read from where standard input stands: 4 bytes in.
        {"{ dd bs=4 skip=1 count=0 status=none; $R import_from_pal /dev/stdin save_to_pal out; } "
         "<pal.dat",
         joined(Bytes(pal.begin() + 4, pal.end()), Bytes(4, 0))},
    };
    for (const auto& [script, bytes] : cases) {
        EXPECT_EQ(bash(script).first, 0) << script;
        EXPECT_EQ(read_bytes(dir / "out"), bytes) << script;
        fs::remove(dir / "out");
    }
    EXPECT_EQ(bash("exec 3>d; rm d; $R save_to_pal /dev/fd/3").first, 0);
    EXPECT_EQ(entries(), 1u);
}

#ifdef __linux__
using Call = testing::TracedProcess::Call;

bool opens_with(const Call& call, unsigned flags) {
    return call.nr == SYS_openat && (call.args[2] & flags) == flags;
}

bool is_rename(long nr) {
#ifdef SYS_renameat
    if (nr == SYS_renameat) {
        return true;
    }
#endif
    return nr == SYS_renameat2;
}

// Where a save is held when the signal comes; whether unnamed files are refused to it, so that
// its temporary file has a name from the start; whether the save completes first.
struct SignalCase {
    int sig;
    bool (*at)(const Call&);
    bool named_only;
    bool completes;
};

TEST_F(CliFiles, SignalsDuringASaveLeaveNoTemporaryFile) {
    const SignalCase cases[] = {
        {SIGKILL, [](const Call& c) { return c.nr == SYS_fsync; }, false, false},
        // The short-lived name and its rename come together: the signal waits for both.
        {SIGTERM, [](const Call& c) { return c.nr == SYS_linkat; }, false, true},
#ifdef __x86_64__
        {SIGINT, [](const Call& c) { return opens_with(c, O_CREAT | O_EXCL); }, true, false},
        {SIGHUP, [](const Call& c) { return c.nr == SYS_fsync; }, true, false},
#endif
    };
    for (const SignalCase& c : cases) {
        SCOPED_TRACE(c.sig);
        write_bytes(dir / "old.dat", Bytes(100, 7));
        testing::TracedProcess process({VLT_CLI_PATH, "save_to_bigf", "old.dat"}, dir.path());
#ifdef __x86_64__
        if (c.named_only) {
            ASSERT_TRUE(
                process.run_to([](const Call& call) { return opens_with(call, O_TMPFILE); }));
            process.fail_call(EOPNOTSUPP);
        }
#endif
        ASSERT_TRUE(process.run_to(c.at));
        const int status = process.finish(c.sig);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
        EXPECT_EQ(read_bytes(dir / "old.dat"), c.completes ? Bytes(294912, 0) : Bytes(100, 7));
        EXPECT_EQ(entries(), 1u);
    }
}

// A hard-linked file is written in place: SIGTERM there waits until it is whole, new or old.
TEST_F(CliFiles, SignalsDuringAnInPlaceWriteLeaveTheFileWhole) {
    struct InPlaceCase {
        const char* name;
        bool (*at)(const Call&);
        bool fail_first_write;
    };
    const InPlaceCase cases[] = {
        {"new bytes", [](const Call& c) { return c.nr == SYS_pwrite64; }, false},
        {"cut", [](const Call& c) { return c.nr == SYS_ftruncate; }, false},
#ifdef __x86_64__
        {"written back", [](const Call& c) { return c.nr == SYS_pwrite64; }, true},
#endif
    };
    for (const InPlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        write_bytes(dir / "old.dat", Bytes(400000, 7));
        fs::create_hard_link(dir / "old.dat", dir / "other.dat");
        testing::TracedProcess process({VLT_CLI_PATH, "save_to_bigf", "old.dat"}, dir.path());
#ifdef __x86_64__
        if (c.fail_first_write) {
            ASSERT_TRUE(process.run_to([](const Call& call) { return call.nr == SYS_pwrite64; }));
            process.fail_call(EIO);
        }
#endif
        ASSERT_TRUE(process.run_to(c.at));
        const int status = process.finish(SIGTERM);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        EXPECT_EQ(read_bytes(dir / "other.dat"),
                  c.fail_first_write ? Bytes(400000, 7) : Bytes(294912, 0));
        fs::remove(dir / "other.dat");
    }
}

#ifdef __x86_64__
// Another save's clean-up in the same folder, between the new file's creation and its lock,
// leaves it alone.
TEST_F(CliFiles, ANewTemporaryFileIsNeverTakenForALeftOne) {
    write_bytes(dir / "old.dat", Bytes(100, 7));
    testing::TracedProcess process({VLT_CLI_PATH, "save_to_cliff", "old.dat"}, dir.path());
    ASSERT_TRUE(process.run_to([](const Call& call) { return opens_with(call, O_TMPFILE); }));
    process.fail_call(EOPNOTSUPP);
    ASSERT_TRUE(process.run_to([](const Call& call) { return call.nr == SYS_flock; }));
    EXPECT_EQ(bash("$R save_to_pal other.dat").first, 0);
    EXPECT_EQ(process.finish(0), 0);
    EXPECT_EQ(read_bytes(dir / "old.dat"), Bytes(8192, 0));
    EXPECT_EQ(entries(), 2u);
}
#endif

// Mode 0600 while the bytes go in, the old mode at the end; the folder synced after the rename.
TEST_F(CliFiles, TheNewFileIsPrivateWhileWrittenAndItsFolderSyncedAfterTheRename) {
    write_bytes(dir / "old.dat", {1, 2, 3});
    fs::permissions(dir / "old.dat", fs::perms(0664));
    testing::TracedProcess process({VLT_CLI_PATH, "save_to_cliff", "old.dat"}, dir.path());
    std::uint64_t fd = 0;
    ASSERT_TRUE(process.run_to([&](const Call& call) {
        fd = call.args[0];
        return call.nr == SYS_write && S_ISREG(process.fd_stat(fd).st_mode);
    }));
    EXPECT_EQ(process.fd_stat(fd).st_mode & 07777, 0600u);
    ASSERT_TRUE(process.run_to([](const Call& call) { return is_rename(call.nr); }));
    ASSERT_TRUE(process.run_to([&](const Call& call) {
        return call.nr == SYS_fsync && S_ISDIR(process.fd_stat(call.args[0]).st_mode);
    }));
    EXPECT_EQ(process.finish(0), 0);
    EXPECT_EQ(fs::status(dir / "old.dat").permissions(), fs::perms(0664));
}
#endif

}  // namespace
}  // namespace vlt
#endif

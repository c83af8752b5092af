// The command line against pipes, FIFOs, size limits and signals: each run as a process.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
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
using testing::read_bytes;
using testing::write_bytes;

struct Outcome {
    int exit_code = -1;
    std::string err;
};

class CliFiles : public ::testing::Test {
protected:
    // Runs a bash script in the test's folder, $R being the command line.
    Outcome bash(const std::string& script) {
        write_bytes(dir / "script.sh", std::vector<std::uint8_t>(script.begin(), script.end()));
        const std::string command = "cd " + dir.path().string() +
                                    " && R=" VLT_CLI_PATH " bash script.sh 2>" + errors.string();
        const int status = std::system(command.c_str());
        fs::remove(dir / "script.sh");
        const auto err = read_bytes(errors);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {err.begin(), err.end()}};
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    testing::TempDir dir;
    testing::TempDir outside;
    fs::path errors = outside / "stderr.txt";
};

TEST_F(CliFiles, PipesAndFifosAreReadToTheirEnd) {
    write_bytes(dir / "in.bmp", testing::build_bmp(256, 1152, 24, [](int x, int y) {
                    return static_cast<Color>(x * 7 + y * 3);
                }));
    ASSERT_EQ(bash("$R import_bigf_from_bitmap in.bmp save_to_bigf ref.dat").exit_code, 0);
    const char* scripts[] = {
        "cat in.bmp | $R import_bigf_from_bitmap /dev/stdin save_to_bigf out.dat",
        "$R import_bigf_from_bitmap <(cat in.bmp) save_to_bigf out.dat",
        // The command line waits at the FIFO until its writer comes, whichever starts first.
        "mkfifo f && { $R import_bigf_from_bitmap f save_to_bigf out.dat & cat in.bmp > f; "
        "wait $!; }",
    };
    for (const char* script : scripts) {
        EXPECT_EQ(bash(script).exit_code, 0) << script;
        EXPECT_EQ(read_bytes(dir / "out.dat"), read_bytes(dir / "ref.dat")) << script;
        fs::remove(dir / "out.dat");
    }
}

TEST_F(CliFiles, StandardOutputTakesTheBitmap) {
    for (const char* script :
         {"set -o pipefail; $R import_from_bigf /dev/null save_bigf_to_bitmap /dev/stdout | cat "
          "> out.bmp",
          "$R import_from_bigf /dev/null save_bigf_to_bitmap /dev/stdout > out.bmp"}) {
        EXPECT_EQ(bash(script).exit_code, 0) << script;
        EXPECT_EQ(fs::file_size(dir / "out.bmp"), 1179702u) << script;
    }
}

TEST_F(CliFiles, WritesPastTheFileSizeLimitAreReportedAndKeepTheOldFile) {
    const std::vector<std::uint8_t> old(1000, 7);
    write_bytes(dir / "old.dat", old);
    write_bytes(dir / "old.bmp", old);
    const Outcome data = bash("ulimit -f 100; $R save_to_bigf old.dat");
    EXPECT_EQ(data.exit_code, 1);
    EXPECT_EQ(data.err, "save_to_bigf: failed! (old.dat: File too large)\n");
    const Outcome picture =
        bash("ulimit -f 100; $R import_from_bigf /dev/null save_bigf_to_bitmap old.bmp");
    EXPECT_EQ(picture.exit_code, 1);
    EXPECT_EQ(picture.err, "save_bigf_to_bitmap: Stream write error. (old.bmp: File too large)\n");
    EXPECT_EQ(read_bytes(dir / "old.dat"), old);
    EXPECT_EQ(read_bytes(dir / "old.bmp"), old);
    EXPECT_EQ(names(), (std::vector<std::string>{"old.bmp", "old.dat"}));
}

TEST_F(CliFiles, FailedSystemCallsGiveTheirReason) {
    const std::string long_name(256, 'n');
    const std::pair<std::string, std::string> cases[] = {
        {"$R import_from_pal ''", "import_from_pal: Failed! (: No such file or directory)\n"},
        {"$R save_to_pal ''", "save_to_pal: failed! (: No such file or directory)\n"},
        {"$R import_bigf_from_bitmap ''",
         "import_bigf_from_bitmap: Cannot open file  (: No such file or directory)\n"},
        {"$R save_bigf_to_bitmap ''",
         "save_bigf_to_bitmap: Cannot create file  (: No such file or directory)\n"},
        {"$R save_to_cliff .", "save_to_cliff: failed! (.: Is a directory)\n"},
        {"touch ro.dat; chmod 444 ro.dat; $R save_to_cliff ro.dat",
         "save_to_cliff: failed! (ro.dat: Permission denied)\n"},
        {"ln -sf loop.dat loop.dat; $R save_to_pal loop.dat",
         "save_to_pal: failed! (loop.dat: Too many levels of symbolic links)\n"},
        {"$R save_to_pal " + long_name,
         "save_to_pal: failed! (" + long_name + ": File name too long)\n"},
        {"$R import_from_bigf /dev/null save_bigf_to_bitmap /dev/stdout | true; "
         "exit ${PIPESTATUS[0]}",
         "save_bigf_to_bitmap: Stream write error. (/dev/stdout: Broken pipe)\n"},
        {"$R --help > /dev/full", ""},
    };
    for (const auto& [script, err] : cases) {
        const Outcome outcome = bash(script);
        EXPECT_EQ(outcome.exit_code, 1) << script;
        EXPECT_EQ(outcome.err, err);
    }
}

#ifdef __linux__
using testing::TracedProcess;

bool opens_with(const TracedProcess::Call& call, int flags) {
    return call.nr == SYS_openat &&
           (call.args[2] & static_cast<unsigned>(flags)) == static_cast<unsigned>(flags);
}

// Where a save is held when the signal comes; whether the system's unnamed files are refused
// to it, so that its temporary file has a name from the start; whether the save completes first.
struct SignalCase {
    const char* name;
    int sig;
    bool (*at)(const TracedProcess::Call&);
    bool named_only;
    bool completes;
};

TEST_F(CliFiles, SignalsDuringASaveLeaveNoTemporaryFile) {
    const SignalCase cases[] = {
        {"kill while unnamed", SIGKILL, [](const auto& c) { return c.nr == SYS_fsync; }, false,
         false},
        // The short-lived name and its rename come together: the signal waits for both.
        {"term as the name is made for the rename", SIGTERM,
         [](const auto& c) { return c.nr == SYS_linkat; }, false, true},
#ifdef __x86_64__
        {"int as the named file is made", SIGINT,
         [](const auto& c) { return opens_with(c, O_CREAT | O_EXCL); }, true, false},
        {"hup while named", SIGHUP, [](const auto& c) { return c.nr == SYS_fsync; }, true, false},
#endif
    };
    const std::vector<std::uint8_t> old(100, 7);
    for (const SignalCase& c : cases) {
        SCOPED_TRACE(c.name);
        write_bytes(dir / "old.dat", old);
        TracedProcess process({VLT_CLI_PATH, "save_to_bigf", "old.dat"}, dir.path());
#ifdef __x86_64__
        if (c.named_only) {
            ASSERT_TRUE(
                process.run_to([](const auto& call) { return opens_with(call, O_TMPFILE); }));
            process.fail_call(EOPNOTSUPP);
        }
#endif
        ASSERT_TRUE(process.run_to(c.at));
        const int status = process.finish(c.sig);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
        EXPECT_EQ(read_bytes(dir / "old.dat"),
                  c.completes ? std::vector<std::uint8_t>(294912, 0) : old);
        EXPECT_EQ(names(), std::vector<std::string>{"old.dat"});
    }
}

TEST_F(CliFiles, TheNewFileIsPrivateUntilItHasTheOldMode) {
    write_bytes(dir / "old.dat", {1, 2, 3});
    fs::permissions(dir / "old.dat", fs::perms(0664));
    TracedProcess process({VLT_CLI_PATH, "save_to_cliff", "old.dat"}, dir.path());
    struct stat written {};
    ASSERT_TRUE(process.run_to([&](const auto& call) {
        if (call.nr != SYS_write) {
            return false;
        }
        written = process.fd_stat(call.args[0]);
        return S_ISREG(written.st_mode);
    }));
    EXPECT_EQ(written.st_mode & 07777, 0600u);
    EXPECT_EQ(process.finish(0), 0);
    EXPECT_EQ(fs::status(dir / "old.dat").permissions(), fs::perms(0664));
}

TEST_F(CliFiles, TheFolderIsSyncedAfterTheRename) {
    write_bytes(dir / "old.dat", {1, 2, 3});
    TracedProcess process({VLT_CLI_PATH, "save_to_cliff", "old.dat"}, dir.path());
    ASSERT_TRUE(process.run_to(
        [](const auto& call) { return call.nr == SYS_renameat2 || call.nr == SYS_renameat; }));
    ASSERT_TRUE(process.run_to([&](const auto& call) {
        return call.nr == SYS_fsync && S_ISDIR(process.fd_stat(call.args[0]).st_mode);
    }));
    EXPECT_EQ(process.finish(0), 0);
}
#endif

}  // namespace
}  // namespace vlt
#endif

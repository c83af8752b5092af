#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace vlt::testing {

struct RunResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

inline std::string text_of(const std::filesystem::path& path) {
    const auto bytes = read_bytes(path);
    return {bytes.begin(), bytes.end()};
}

// Runs the command line as a process in a folder of its own.
class CliTest : public ::testing::Test {
protected:
    TempDir dir;

    // Runs the command line from `cwd` (the temporary folder unless given).
    RunResult run(const std::vector<std::string>& args, std::filesystem::path cwd = {}) {
        if (cwd.empty()) {
            cwd = dir.path();
        }
        std::string command = "cd " + quoted(cwd.string()) + " && " + quoted(VLT_CLI_PATH);
        for (const std::string& arg : args) {
            command += " " + quoted(arg);
        }
        command += " >" + quoted((dir / "stdout.txt").string()) + " 2>" +
                   quoted((dir / "stderr.txt").string());
        const int status = std::system(command.c_str());
        RunResult result;
        result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = text_of(dir / "stdout.txt");
        result.err = text_of(dir / "stderr.txt");
        std::filesystem::remove(dir / "stdout.txt");
        std::filesystem::remove(dir / "stderr.txt");
        return result;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

}  // namespace vlt::testing

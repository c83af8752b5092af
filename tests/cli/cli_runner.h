#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vlt::testing {

struct RunResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

inline std::string text_of(const std::filesystem::path& path) {
    const auto bytes = read_bytes(path);
    return {bytes.begin(), bytes.end()};
}

#ifdef _WIN32
// For cmd: no argument the tests give holds a quote or a "%".
inline std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

inline std::wstring wide_quoted(const std::filesystem::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

// Runs the command line through the shell; the exit status is the program's.
inline int run_shell(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                     const std::filesystem::path& out, const std::filesystem::path& err) {
    std::wstring command = L"cd /d " + wide_quoted(cwd) + L" && " + wide_quoted(VLT_CLI_PATH);
    for (const std::string& arg : args) {
        command += L" " + wide_quoted(path_from_utf8(arg));
    }
    command += L" >" + wide_quoted(out) + L" 2>" + wide_quoted(err);
    return _wsystem(command.c_str());
}
#else
inline std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

inline int run_shell(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                     const std::filesystem::path& out, const std::filesystem::path& err) {
    // Joined from words: a long chain of "text" + temporary strings trips a false -Wrestrict
    // warning of GCC 12 at -O3.
    std::vector<std::string> words = {"cd", quoted(cwd.string()), "&&", quoted(VLT_CLI_PATH)};
    for (const std::string& arg : args) {
        words.push_back(quoted(arg));
    }
    words.push_back(">" + quoted(out.string()));
    words.push_back("2>" + quoted(err.string()));
    std::string command;
    for (const std::string& word : words) {
        command.append(word).append(" ");
    }
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// Runs the command line as a process in a folder of its own, whose name is not ASCII, as users'
// folders often are.
class CliTest : public ::testing::Test {
protected:
    TempDir root;
    std::filesystem::path dir = root.path() / u8"Tëxturé ✓";

    void SetUp() override { std::filesystem::create_directory(dir); }

    // Runs the command line from `cwd` (the working folder unless given).
    RunResult run(const std::vector<std::string>& args, std::filesystem::path cwd = {}) {
        if (cwd.empty()) {
            cwd = dir;
        }
        RunResult result;
        result.exit_code = run_shell(cwd, args, root / "stdout.txt", root / "stderr.txt");
        result.out = text_of(root / "stdout.txt");
        result.err = text_of(root / "stderr.txt");
        std::filesystem::remove(root / "stdout.txt");
        std::filesystem::remove(root / "stderr.txt");
        return result;
    }
    std::string path(const std::string& name) const { return utf8_of(dir / name); }
};

}  // namespace vlt::testing

#pragma once

#ifdef __linux__
#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vlt::testing {

// A program run under ptrace, so that a test can hold it at the entry of a chosen system call
// and signal it there: the same stop on every run, no timing.
class TracedProcess {
public:
    struct Call {
        long nr;
        std::array<std::uint64_t, 6> args;
    };

    // Started (output to /dev/null) and held just after exec.
    TracedProcess(const std::vector<std::string>& argv, const std::filesystem::path& cwd) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(::open("/dev/null", O_WRONLY), 1);
            ::dup2(1, 2);
            std::vector<char*> args;
            for (const std::string& arg : argv) {
                args.push_back(const_cast<char*>(arg.c_str()));
            }
            args.push_back(nullptr);
            if (::chdir(cwd.c_str()) == 0 && ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) == 0) {
                ::raise(SIGSTOP);
                ::execv(args[0], args.data());
            }
            ::_exit(127);
        }
        ::waitpid(pid_, &status_, 0);
        ::ptrace(PTRACE_SETOPTIONS, pid_, nullptr,
                 PTRACE_O_TRACESYSGOOD | PTRACE_O_TRACEEXEC | PTRACE_O_EXITKILL);
        while (resume(PTRACE_CONT) && status_ >> 8 != (SIGTRAP | (PTRACE_EVENT_EXEC << 8))) {
        }
    }
    ~TracedProcess() {
        if (WIFSTOPPED(status_)) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status_, 0);
        }
    }

    // Runs to the entry of the next call `match` accepts; false when the process ended first.
    bool run_to(const std::function<bool(const Call&)>& match) {
        while (resume(PTRACE_SYSCALL)) {
            __ptrace_syscall_info info{};
            if (WSTOPSIG(status_) == (SIGTRAP | 0x80) &&
                ::ptrace(PTRACE_GET_SYSCALL_INFO, pid_, sizeof info, &info) > 0 &&
                info.op == PTRACE_SYSCALL_INFO_ENTRY) {
                Call call{static_cast<long>(info.entry.nr), {}};
                std::copy_n(info.entry.args, 6, call.args.begin());
                if (match(call)) {
                    return true;
                }
            }
        }
        return false;
    }

#ifdef __x86_64__
    // The call the process is held at fails with `error` instead of running.
    void fail_call(int error) {
        poke(offsetof(user_regs_struct, orig_rax), -1);
        resume(PTRACE_SYSCALL);
        poke(offsetof(user_regs_struct, rax), -error);
    }
#endif

    // Sends sig (none when 0), lets the process run on untraced and returns its wait status.
    int finish(int sig) {
        if (sig != 0) {
            ::kill(pid_, sig);
        }
        ::ptrace(PTRACE_DETACH, pid_, nullptr, nullptr);
        ::waitpid(pid_, &status_, 0);
        return status_;
    }

    // What the process's descriptor fd is open on.
    struct stat fd_stat(std::uint64_t fd) const {
        struct stat st {};
        ::stat(("/proc/" + std::to_string(pid_) + "/fd/" + std::to_string(fd)).c_str(), &st);
        return st;
    }

private:
    // Resumes, passing on a signal that stopped it (not the tracer's own stops), and waits.
    bool resume(int request) {
        const int sig = WSTOPSIG(status_);
        const bool pass = (sig & 0x80) == 0 && sig != SIGTRAP && sig != SIGSTOP;
        ::ptrace(static_cast<__ptrace_request>(request), pid_, nullptr,
                 reinterpret_cast<void*>(static_cast<std::intptr_t>(pass ? sig : 0)));
        ::waitpid(pid_, &status_, 0);
        return WIFSTOPPED(status_);
    }
    void poke(std::size_t offset, long value) {
        ::ptrace(PTRACE_POKEUSER, pid_, reinterpret_cast<void*>(offset),
                 reinterpret_cast<void*>(value));
    }

    pid_t pid_ = -1;
    int status_ = 0;
};

}  // namespace vlt::testing
#endif

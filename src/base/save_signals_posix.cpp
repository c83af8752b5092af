#include "base/save_signals_posix.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

namespace vlt::posix {
namespace {

constexpr std::array cleanup_signals = {SIGINT, SIGTERM, SIGHUP};

// What the handler reads; written only while the signals are held back on the saving thread.
volatile std::sig_atomic_t armed = 0;
int armed_folder = -1;
char armed_name[64];
std::array<bool, cleanup_signals.size()> installed{};

sigset_t cleanup_set() {
    sigset_t set;
    sigemptyset(&set);
    for (const int sig : cleanup_signals) {
        sigaddset(&set, sig);
    }
    return set;
}

// Async-signal-safe: removes the armed name, then lets the signal end the process.
extern "C" void remove_temporary_and_end(int sig) {
    if (armed != 0) {
        ::unlinkat(armed_folder, armed_name, 0);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(sig, &fallback, nullptr);
    ::raise(sig);  // delivered, with its default action, once the handler returns
}

void set_handler(int sig, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(sig, &action, nullptr);
}

}  // namespace

SaveSignals::SaveSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (std::size_t i = 0; i < ignored_signals.size(); ++i) {
        restore_ignored_[i] = ::sigaction(ignored_signals[i], &ignore, &old_ignored_[i]) == 0;
    }
    // A signal the process ignores or handles itself is left alone. Set here, not when a name
    // is armed, so that arming costs no system call between making a name and renaming it.
    for (std::size_t i = 0; i < cleanup_signals.size(); ++i) {
        struct sigaction current {};
        ::sigaction(cleanup_signals[i], nullptr, &current);
        installed[i] = current.sa_handler == SIG_DFL && (current.sa_flags & SA_SIGINFO) == 0;
        if (installed[i]) {
            set_handler(cleanup_signals[i], remove_temporary_and_end);
        }
    }
}

SaveSignals::~SaveSignals() {
    {
        const Hold hold;
        disarm();
        for (std::size_t i = 0; i < cleanup_signals.size(); ++i) {
            if (installed[i]) {
                set_handler(cleanup_signals[i], SIG_DFL);
                installed[i] = false;
            }
        }
    }
    for (std::size_t i = 0; i < ignored_signals.size(); ++i) {
        if (restore_ignored_[i]) {
            ::sigaction(ignored_signals[i], &old_ignored_[i], nullptr);
        }
    }
}

SaveSignals::Hold::Hold() {
    const sigset_t set = cleanup_set();
    ::pthread_sigmask(SIG_BLOCK, &set, &old_mask_);
}

SaveSignals::Hold::~Hold() {
    ::pthread_sigmask(SIG_SETMASK, &old_mask_, nullptr);
}

void SaveSignals::arm(int folder, const char* name) {
    armed_folder = folder;
    std::strncpy(armed_name, name, sizeof armed_name - 1);
    armed_name[sizeof armed_name - 1] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    armed = 1;
}

void SaveSignals::disarm() {
    armed = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

}  // namespace vlt::posix

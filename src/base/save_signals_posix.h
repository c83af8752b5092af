#pragma once

#include <signal.h>

#include <array>

namespace vlt::posix {

// The signals around one save. While it lives, SIGXFSZ and SIGPIPE are ignored, so that a write
// past the file size limit, or into a pipe whose reader has gone, fails and is reported instead
// of ending the process (the window among them) without a word, and
// SIGINT, SIGTERM and SIGHUP (where the process left them at their default) end the process as
// they would have, but first remove the named temporary file armed at that moment, if any.
class SaveSignals {
public:
    SaveSignals();
    ~SaveSignals();
    SaveSignals(const SaveSignals&) = delete;
    SaveSignals& operator=(const SaveSignals&) = delete;

    // Holds the three signals back on this thread while it lives, so that a name and its
    // arming (or its removal and disarming) happen together.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        sigset_t old_mask_;
    };

    // Both under a Hold. The name is copied; at most one is armed at a time.
    void arm(int folder, const char* name);
    void disarm();

    static constexpr std::array ignored_signals = {SIGXFSZ, SIGPIPE};

private:
    std::array<struct sigaction, ignored_signals.size()> old_ignored_{};
    std::array<bool, ignored_signals.size()> restore_ignored_{};
};

}  // namespace vlt::posix

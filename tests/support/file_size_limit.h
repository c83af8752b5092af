#pragma once

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>

namespace vlt::testing {

// While alive, writes that would grow a file past `bytes` fail part way, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_limit_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = old_limit_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_limit_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit old_limit_ {};
    void (*old_handler_)(int) = nullptr;
};

}  // namespace vlt::testing
#endif

#include "cli/console.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "base/wide_text.h"
#include "base/windows_api.h"
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace vlt::cli {

#ifdef _WIN32
namespace {

// Sends UTF-8 text to a console as UTF-16, holding back a character cut between two writes.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}
    ~ConsoleBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            pending_ += traits_type::to_char_type(c);
            if (c == '\n') {
                sync();
            }
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<std::size_t>(n));
        return n;
    }
    int sync() override {
        const std::size_t whole = whole_characters();
        const std::wstring wide = wide_from_utf8(std::string_view(pending_).substr(0, whole));
        pending_.erase(0, whole);
        DWORD written = 0;
        return wide.empty() || WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()),
                                             &written, nullptr)
                   ? 0
                   : -1;
    }

private:
    // How many leading bytes of pending_ end on a character boundary.
    std::size_t whole_characters() const {
        std::size_t end = pending_.size();
        for (std::size_t back = 1; back <= 3 && back <= pending_.size(); ++back) {
            const auto byte = static_cast<unsigned char>(pending_[pending_.size() - back]);
            if ((byte & 0xC0) != 0x80) {
                const std::size_t length = byte >= 0xF0   ? 4
                                           : byte >= 0xE0 ? 3
                                           : byte >= 0xC0 ? 2
                                                          : 1;
                if (length > back) {
                    end = pending_.size() - back;
                }
                break;
            }
        }
        return end;
    }

    HANDLE console_;
    std::string pending_;
};

// A console buffer for the stream when it is a console; nothing for a file or a pipe.
std::unique_ptr<std::streambuf> console_buffer(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        return nullptr;
    }
    return std::make_unique<ConsoleBuffer>(handle);
}

}  // namespace

Console::Console() {
    std::fflush(stdout);
    std::fflush(stderr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    out_ = console_buffer(STD_OUTPUT_HANDLE);
    err_ = console_buffer(STD_ERROR_HANDLE);
    if (out_) {
        old_out_ = std::cout.rdbuf(out_.get());
    }
    if (err_) {
        old_err_ = std::cerr.rdbuf(err_.get());
    }
}

Console::~Console() {
    std::cout.flush();
    std::cerr.flush();
    if (old_out_ != nullptr) {
        std::cout.rdbuf(old_out_);
    }
    if (old_err_ != nullptr) {
        std::cerr.rdbuf(old_err_);
    }
}

bool Console::started_alone() const {
    DWORD processes[2] = {};
    DWORD mode = 0;
    return GetConsoleProcessList(processes, 2) == 1 &&
           GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
           GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
}

void Console::wait_for_enter() const {
    std::cout.flush();
    FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
    std::string line;
    std::getline(std::cin, line);
}

std::vector<std::string> Console::arguments(int, char**) const {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        args.push_back(utf8_from_wide(wide[i]));
    }
    LocalFree(wide);
    return args;
}

#else

Console::Console() = default;
Console::~Console() = default;

bool Console::started_alone() const {
    return false;
}

void Console::wait_for_enter() const {}

std::vector<std::string> Console::arguments(int argc, char** argv) const {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

#endif

}  // namespace vlt::cli

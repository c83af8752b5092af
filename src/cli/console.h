#pragma once

#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace vlt::cli {

// The command line's link to the system's text, which is UTF-8 inside the program. On Windows
// the arguments are read as UTF-16, standard output and error are put in binary mode (lines end
// in "\n" as elsewhere), and a stream that is a console gets its text through the console's
// UTF-16 call, since the console would show UTF-8 bytes in its own code page. Elsewhere it
// passes everything through. One per process, alive while main runs.
class Console {
public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // The arguments after the program name, as UTF-8.
    std::vector<std::string> arguments(int argc, char** argv) const;
    // True when the program has a console window of its own, which closes when it ends: on
    // Windows, started from Explorer (no other process shares its console) with its input and
    // output on that console. Never elsewhere.
    bool started_alone() const;
    // Waits until the user presses Enter on the console.
    void wait_for_enter() const;

private:
#ifdef _WIN32
    std::unique_ptr<std::streambuf> out_;
    std::unique_ptr<std::streambuf> err_;
    std::streambuf* old_out_ = nullptr;
    std::streambuf* old_err_ = nullptr;
#endif
};

}  // namespace vlt::cli

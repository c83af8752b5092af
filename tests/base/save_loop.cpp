// Saves one of two contents over a file, alternately, until it is killed: the other half of the
// killed-save test. Usage: save_loop TARGET. Says "ready" on its output after its first save.
#include <cstdio>
#include <exception>

#include "base/file_io.h"
#include "killed_save_contents.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: save_loop TARGET\n", stderr);
        return 2;
    }
    try {
        for (unsigned long round = 0;; ++round) {
            vlt::replace_file(argv[1], vlt::testing::killed_save_contents(round % 2));
            if (round == 0) {
                std::fputs("ready\n", stdout);
                std::fflush(stdout);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "save_loop: %s\n", e.what());
        return 1;
    }
}

// Saves killed at random moments by another process: the target is always whole, old or new,
// and the temporary files they leave are gone once a later save ran in that folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "base/file_io.h"
#include "base/windows_api.h"
#include "killed_save_contents.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using testing::killed_save_contents;
using testing::read_bytes;
using testing::TempDir;

int kills_wanted() {
    const char* text = std::getenv("VLT_KILLED_SAVES");
    return text != nullptr ? std::atoi(text) : 30;
}

// Starts the save loop on target and returns once it has saved once; its output's end is
// handed back so the caller can wait on it.
PROCESS_INFORMATION start_save_loop(const fs::path& target) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    EXPECT_TRUE(CreatePipe(&read_end, &write_end, &inherit, 0));
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + fs::path(VLT_SAVE_LOOP_EXE).make_preferred().wstring() +
                           L"\" \"" + target.wstring() + L"\"";
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(write_end);
    char ready[6];
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(read_end, ready, sizeof ready, &got, nullptr) && got == sizeof ready);
    CloseHandle(read_end);
    return process;
}

int temporary_files_in(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        count += entry.path().filename().wstring().starts_with(L".vlt-") ? 1 : 0;
    }
    return count;
}

TEST(KilledSaves, TheTargetIsAlwaysWholeAndLeftFilesGoAtTheNextSave) {
    TempDir dir;
    const fs::path target = dir / "texture.dat";
    replace_file(target, killed_save_contents(1));
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<DWORD> delay_ms(0, 40);
    const int kills = kills_wanted();
    int mid_save = 0;  // kills that left a temporary file, so struck while one was written
    for (int kill = 0; kill < kills; ++kill) {
        const PROCESS_INFORMATION process = start_save_loop(target);
        Sleep(delay_ms(random));
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        const auto bytes = read_bytes(target);
        ASSERT_TRUE(bytes == killed_save_contents(0) || bytes == killed_save_contents(1))
            << "kill " << kill << ": " << bytes.size() << " bytes";
        mid_save += temporary_files_in(dir.path()) > 0 ? 1 : 0;
    }
    replace_file(target, killed_save_contents(0));
    EXPECT_EQ(temporary_files_in(dir.path()), 0);
    std::cout << kills << " saves killed, " << mid_save << " while writing their file\n";
}

}  // namespace
}  // namespace vlt

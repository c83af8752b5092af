// What a save on Windows keeps of the file it replaces, and which temporary files it removes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/windows_api.h"
#include "support/temp_dir.h"
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

namespace vlt {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

// Opens a file as a save in progress holds its temporary file: deletion not shared.
HANDLE hold(const fs::path& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

TEST(SaveLeftFiles, OnlyThisProgramsUnheldTemporaryFilesAreRemoved) {
    struct Case {
        const char* name;
        bool removed;
    };
    const Case cases[] = {
        {".vlt-left0001", true},  {".vlt-z9y8x7w6", true},  {".vlt-held0002", false},
        {".vlt-notours", false},  {".vlt-ABCDEFGH", false}, {".vlt-abcdefgh1", false},
        {".vlt-readonly", false}, {"vlt-abcdefgh", false},  {".vlt-folder01", false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        write_bytes(dir / c.name, {1});
    }
    fs::remove(dir / ".vlt-folder01");
    fs::create_directory(dir / ".vlt-folder01");
    SetFileAttributesW((dir / ".vlt-readonly").c_str(), FILE_ATTRIBUTE_READONLY);
    const HANDLE held = hold(dir / ".vlt-held0002");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    replace_file(dir / "texture.dat", Bytes{4});
    CloseHandle(held);
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
    }
    SetFileAttributesW((dir / ".vlt-readonly").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Wine keeps files on a system where a file's creation time cannot be set.
bool under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(SaveKeeps, AttributesAndCreationTimeOfTheReplacedFile) {
    TempDir dir;
    const fs::path target = dir / "texture.dat";
    write_bytes(target, {1});
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    WIN32_FILE_ATTRIBUTE_DATA before{};
    GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &before);
    Sleep(20);
    replace_file(target, Bytes{2, 3});
    WIN32_FILE_ATTRIBUTE_DATA after{};
    GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(after.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
    if (!under_wine()) {
        EXPECT_EQ(CompareFileTime(&after.ftCreationTime, &before.ftCreationTime), 0);
    }
    EXPECT_EQ(read_bytes(target), (Bytes{2, 3}));
    // A new file is not hidden, though its temporary file was.
    replace_file(dir / "new.dat", Bytes{4});
    EXPECT_EQ(GetFileAttributesW((dir / "new.dat").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

std::wstring dacl_text(const fs::path& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return L"unreadable";
    }
    wchar_t* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    std::wstring result = text != nullptr ? text : L"";
    LocalFree(text);
    LocalFree(descriptor);
    return result;
}

std::wstring user_sid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    std::vector<std::uint8_t> buffer(256);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size);
    CloseHandle(token);
    wchar_t* text = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text);
    std::wstring sid = text != nullptr ? text : L"";
    LocalFree(text);
    return sid;
}

// A file whose access list was set by hand keeps it; ReplaceFileW did, a plain rename would not.
TEST(SaveKeeps, TheReplacedFilesOwnAccessList) {
    TempDir dir;
    const fs::path target = dir / "texture.dat";
    write_bytes(target, {1});
    // Protected: this user may do everything, everyone else only read.
    const std::wstring sddl = L"D:P(A;;FA;;;" + user_sid() + L")(A;;FR;;;WD)";
    PSECURITY_DESCRIPTOR wanted = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                     &wanted, nullptr));
    ASSERT_TRUE(SetFileSecurityW(target.c_str(), DACL_SECURITY_INFORMATION, wanted));
    LocalFree(wanted);
    const std::wstring before = dacl_text(target);
    replace_file(target, Bytes{2});
    EXPECT_EQ(dacl_text(target), before);
    EXPECT_EQ(read_bytes(target), Bytes{2});
}

// A target another program holds without sharing its deletion cannot be replaced: the save
// fails, the target keeps its bytes, and the temporary file goes.
TEST(SaveFails, OverAHeldTargetKeepingItAndLeavingNothing) {
    TempDir dir;
    const fs::path target = dir / "texture.dat";
    write_bytes(target, {1});
    const HANDLE held = hold(target);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(replace_file(target, Bytes{2}), FileError);
    CloseHandle(held);
    EXPECT_EQ(read_bytes(target), Bytes{1});
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vlt

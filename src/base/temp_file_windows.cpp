#include "base/temp_file_windows.h"

#include <algorithm>
#include <random>
#include <string_view>

#include "base/file_io.h"
#include "base/system_reason.h"
// After windows.h, which it needs.
#include <aclapi.h>

namespace vlt::windows {
namespace {

namespace fs = std::filesystem;
using Step = FileError::Step;

[[noreturn]] void fail(Step step, DWORD error = GetLastError()) {
    throw FileError(step, system_reason(error));
}

constexpr std::wstring_view name_prefix = L".vlt-";
constexpr std::size_t name_letters = 8;
constexpr std::wstring_view letters = L"abcdefghijklmnopqrstuvwxyz0123456789";

// Only the names this program makes: the prefix and exactly eight small letters or digits.
bool is_temporary_name(std::wstring_view name) {
    return name.size() == name_prefix.size() + name_letters && name.starts_with(name_prefix) &&
           std::all_of(name.begin() + name_prefix.size(), name.end(),
                       [](wchar_t c) { return letters.find(c) != std::wstring_view::npos; });
}

std::wstring random_name() {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::wstring name(name_prefix);
    for (std::size_t i = 0; i < name_letters; ++i) {
        name += letters[random() % letters.size()];
    }
    return name;
}

// Removes the files killed saves left in the folder. A save in progress holds its file open
// without sharing deletion, so deleting that one fails and it stays; a folder, a link or a
// read-only file of that name is never ours and stays too.
void sweep_stale(const fs::path& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW((folder / L".vlt-*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    constexpr DWORD not_ours =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    do {
        if (is_temporary_name(found.cFileName) && (found.dwFileAttributes & not_ours) == 0) {
            DeleteFileW((folder / found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// An access list has entries of its own when it is protected from its folder's or when any
// entry was not passed down.
bool has_own_entries(ACL* dacl, SECURITY_DESCRIPTOR_CONTROL control) {
    if ((control & SE_DACL_PROTECTED) != 0) {
        return true;
    }
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (GetAce(dacl, i, &ace) &&
            (static_cast<const ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE) == 0) {
            return true;
        }
    }
    return false;
}

// The file's access list as bytes, with whether it is protected; empty when unreadable.
std::vector<std::uint8_t> dacl_of(HANDLE file, bool& is_protected) {
    ACL* dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    std::vector<std::uint8_t> bytes;
    if (dacl != nullptr && GetSecurityDescriptorControl(descriptor, &control, &revision) &&
        has_own_entries(dacl, control)) {
        const auto* start = reinterpret_cast<const std::uint8_t*>(dacl);
        bytes.assign(start, start + dacl->AclSize);
        is_protected = (control & SE_DACL_PROTECTED) != 0;
    }
    LocalFree(descriptor);
    return bytes;
}

// The attributes a file may be given; the others belong to the file system.
constexpr DWORD settable_attributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

Inheritance inheritance_of(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info) {
    Inheritance from;
    const DWORD attributes = info.dwFileAttributes & settable_attributes;
    from.attributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    from.created = info.ftCreationTime;
    from.own_dacl = dacl_of(file, from.dacl_protected);
    return from;
}

TempFile::TempFile(const fs::path& folder) {
    sweep_stale(folder);
    // Created and held in one step, so no other save ever sees it unheld while it lives.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = folder / random_name();
        handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE | READ_CONTROL | WRITE_DAC,
                              FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle_ != INVALID_HANDLE_VALUE) {
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            fail(Step::create);
        }
    }
    fail(Step::create, ERROR_FILE_EXISTS);
}

TempFile::~TempFile() {
    discard();
}

void TempFile::publish(const fs::path& target, const Inheritance& from) {
    try {
        take_over(from);
    } catch (const FileError&) {
        discard();
        throw;
    }
    if (!rename_over(target)) {
        const DWORD error = GetLastError();
        discard();
        fail(Step::create, error);
    }
    if (handle_ != INVALID_HANDLE_VALUE) {
        // The rename waits for the disk, as the data did.
        FlushFileBuffers(handle_);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}

// Done while the file still has its hidden name, so that it appears complete.
void TempFile::take_over(const Inheritance& from) {
    FILE_BASIC_INFO basic{};
    basic.CreationTime.LowPart = from.created.dwLowDateTime;
    basic.CreationTime.HighPart = static_cast<LONG>(from.created.dwHighDateTime);
    basic.FileAttributes = from.attributes;
    if (!SetFileInformationByHandle(handle_, FileBasicInfo, &basic, sizeof basic)) {
        fail(Step::create);
    }
    // Under Wine every file's list is made from its permission bits, and setting one changes
    // them: a new file that already has the same list is left alone.
    bool is_protected = false;
    std::vector<std::uint8_t> dacl = dacl_of(handle_, is_protected);
    if (from.own_dacl.empty() || (dacl == from.own_dacl && is_protected == from.dacl_protected)) {
        return;
    }
    dacl = from.own_dacl;  // a copy, as the call takes a writable list
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION | (from.dacl_protected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                         : UNPROTECTED_DACL_SECURITY_INFORMATION);
    const DWORD error = SetSecurityInfo(handle_, SE_FILE_OBJECT, what, nullptr, nullptr,
                                        reinterpret_cast<ACL*>(dacl.data()), nullptr);
    // Without its list the new file could be open to people the old one was closed to.
    if (error != ERROR_SUCCESS) {
        fail(Step::create, error);
    }
}

// A rename of the open file: atomic on NTFS and under Wine, and the file stays held until it
// has its final name. File systems without it get the rename by name.
bool TempFile::rename_over(const fs::path& target) {
    const std::wstring& name = target.native();
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), info->FileName);
    info->FileName[name.size()] = L'\0';
    if (SetFileInformationByHandle(handle_, FileRenameInfo, info,
                                   static_cast<DWORD>(buffer.size()))) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED &&
        error != ERROR_INVALID_FUNCTION) {
        return false;
    }
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    if (MoveFileExW(path_.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    const DWORD move_error = GetLastError();
    DeleteFileW(path_.c_str());
    SetLastError(move_error);
    return false;
}

// Removes the file through its own handle, as nobody else (this process included) may delete
// it by name while the handle is open.
void TempFile::discard() {
    if (handle_ == INVALID_HANDLE_VALUE) {
        return;
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(handle_, FileDispositionInfo, &disposition, sizeof disposition);
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace vlt::windows

#include "base/windows_registry.h"

#include <array>
#include <string>

#include "base/wide_text.h"
#include "base/windows_api.h"

namespace vlt {
namespace {

class OpenKey {
public:
    OpenKey(const std::wstring& name, REGSAM view) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_QUERY_VALUE | view, &key_) !=
            ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The value's text; unreadable when it vanished or kept changing between the size query and
// the read.
RegistryValue read_string(HKEY key, const std::wstring& name, DWORD type, DWORD size) {
    RegistryValue value;
    value.type = type == REG_SZ ? RegistryValue::Type::string : RegistryValue::Type::expand_string;
    constexpr DWORD strings = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    for (int attempt = 0; attempt < 4; ++attempt) {
        // Room for a terminating zero the stored data may lack.
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegGetValueW(key, nullptr, name.c_str(), strings, nullptr, text.data(), &got);
        if (status == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        text.resize(got / sizeof(wchar_t));
        text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
        value.data = utf8_from_wide(text);
        return value;
    }
    value.readable = false;
    return value;
}

}  // namespace

std::optional<RegistryValue> read_machine_registry_value(std::string_view key,
                                                         std::string_view value_name) {
    const std::wstring key_name = wide_from_utf8(key);
    const std::wstring name = wide_from_utf8(value_name);
    for (const REGSAM view : std::array<REGSAM, 2>{KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        const OpenKey open(key_name, view);
        if (open.get() == nullptr) {
            continue;
        }
        DWORD type = 0;
        DWORD size = 0;
        if (RegGetValueW(open.get(), nullptr, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                         nullptr, &size) != ERROR_SUCCESS) {
            continue;
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            return RegistryValue{};  // Type::other
        }
        return read_string(open.get(), name, type, size);
    }
    return std::nullopt;
}

}  // namespace vlt

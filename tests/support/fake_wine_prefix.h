#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace vlt::testing {

// Sets or clears an environment variable for one scope and puts the old value back after.
class EnvironmentOverride {
public:
    EnvironmentOverride(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            old_ = old;
        }
        set(value);
    }
    ~EnvironmentOverride() { set(old_); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    void set(const std::optional<std::string>& value) {
#ifdef _WIN32
        // An empty value removes the variable.
        _putenv_s(name_.c_str(), value ? value->c_str() : "");
#else
        if (value) {
            setenv(name_.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
#endif
    }
    std::string name_;
    std::optional<std::string> old_;
};

// A Wine prefix in a temporary folder, made the one start-up reads ($WINEPREFIX) while it
// lives. The current directory is put back afterwards, as start-up changes it.
class FakeWinePrefix {
public:
    explicit FakeWinePrefix(std::filesystem::path path)
        : path_(std::move(path)),
          saved_cwd_(std::filesystem::current_path()),
          env_("WINEPREFIX", path_.string()) {
        std::filesystem::create_directories(path_);
    }
    ~FakeWinePrefix() {
        std::error_code ignored;
        std::filesystem::current_path(saved_cwd_, ignored);
    }
    FakeWinePrefix(const FakeWinePrefix&) = delete;
    FakeWinePrefix& operator=(const FakeWinePrefix&) = delete;

    const std::filesystem::path& path() const { return path_; }

    void write_registry(const std::string& body) const {
        std::ofstream out(path_ / "system.reg", std::ios::binary);
        out << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
            << body;
    }

    // The game's key with one value line, as the registry file writes it.
    static std::string vosk_key(const std::string& value_line) {
        return "[Software\\\\Kelvarro\\\\Vosk] 1700000000\n#time=1d9e6f0c5a2b3c4\n" + value_line +
               "\n\n";
    }

private:
    std::filesystem::path path_;
    std::filesystem::path saved_cwd_;
    EnvironmentOverride env_;
};

}  // namespace vlt::testing

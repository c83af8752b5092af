#pragma once

#include <string>

#include "base/posix_fd.h"
#include "base/save_signals_posix.h"

namespace vlt::posix {

// A new file in a folder, filled before it gets its name: unnamed where the system offers that
// (so nothing is left behind whatever ends the process), otherwise under a short random name it
// gets once it is locked, created with mode 0600 and removed again on failure or on the signals
// SaveSignals handles.
class TempFile {
public:
    // FileError (create) when the folder takes no new file.
    TempFile(int folder, SaveSignals& signals);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_.get(); }
    // Gives the file `name` in the folder, replacing a file of that name when `replace` is set.
    // FileError (create) when the system refuses.
    void publish(const std::string& name, bool replace);

private:
    bool create_unnamed();
    // Under a fresh random name: by creating it, or by linking the unnamed file to it.
    void create_named(bool link_unnamed);
    bool link_unnamed_as(const std::string& name);
    bool create_locked(const std::string& name, const std::string& tag);
    void remove_named();

    int folder_;
    SaveSignals& signals_;
    Descriptor fd_;
    bool unnamed_ = false;
    std::string temp_name_;  // empty unless the file has a name of its own
};

}  // namespace vlt::posix

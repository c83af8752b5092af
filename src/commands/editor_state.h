#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "commands/byte_delta.h"
#include "commands/undo_history.h"
#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

// For one of the workspace's data parts: the data file it belongs to (last loaded from or saved
// to) and the bytes that load read or that save wrote, which its unsaved mark compares with.
struct DataFileRecord {
    std::optional<std::filesystem::path> file;
    std::vector<std::uint8_t> saved_bytes;
    friend bool operator==(const DataFileRecord&, const DataFileRecord&) = default;
};

// What one view holds.
struct ViewPicture {
    PictureKind kind = PictureKind::none;
    Bitmap picture;
};

// The editor's state that undo takes back, where it lives: the buffers, the views, the file each
// view's picture came from, and each data part's file record.
struct EditorParts {
    Workspace& workspace;
    std::array<View*, 4> views;
    std::array<std::optional<std::filesystem::path>, 4>& sources;
    std::array<DataFileRecord, 3>& files;
};

// A copy of all of it, taken before a command runs.
struct EditorState {
    Workspace workspace;
    std::array<ViewPicture, 4> pictures;
    std::array<std::optional<std::filesystem::path>, 4> sources;
    std::array<DataFileRecord, 3> files;

    static std::unique_ptr<EditorState> capture(const EditorParts& live);
};

// What differs between a state taken earlier and the live parts, as an undo step: it keeps only
// the parts that differ, buffers and same-format pictures only in the bytes that differ.
class StateChange final : public UndoStep {
public:
    // Takes from `before` the parts it keeps.
    StateChange(EditorState& before, const EditorParts& live);

    bool empty() const;
    // Only data files' records changed: what a save does.
    bool only_file_records() const;

    void flip() override;
    std::size_t memory() const override;

private:
    // A view's picture: in the same format on both sides, its attributes and the pixel bytes
    // that differ; otherwise the whole other picture.
    struct PictureChange {
        BmpAttributes attributes;
        ByteDelta pixels;
        std::optional<ViewPicture> whole;
    };
    static std::optional<PictureChange> picture_change(ViewPicture& before, const View& live);
    static void flip_picture(PictureChange& change, View& live);

    EditorParts live_;
    std::array<ByteDelta, 3> buffers_;  // palette, bigf, cliff
    std::array<std::optional<PictureChange>, 4> pictures_;
    std::array<std::optional<std::optional<std::filesystem::path>>, 4> sources_;
    std::array<std::optional<DataFileRecord>, 3> files_;
};

}  // namespace vlt

#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "commands/scripted_port.h"
#include "commands/texture_editor.h"
#include "support/temp_dir.h"

namespace vlt::testing {

// Bytes of a palette file holding the given palette.
inline std::vector<std::uint8_t> palette_file_bytes(const Palette& palette) {
    std::vector<std::uint8_t> bytes;
    for (const Color c : palette) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(c >> shift));
        }
    }
    return bytes;
}

// What a view holds, for comparing before and after a command.
struct ViewState {
    PictureKind kind = PictureKind::none;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    friend bool operator==(const ViewState&, const ViewState&) = default;
};

inline ViewState state_of(const View& view) {
    ViewState state;
    state.kind = view.picture_kind();
    if (const Bitmap* b = view.bitmap()) {
        state.width = b->width();
        state.height = b->height();
        state.pixels.assign(b->pixels().begin(), b->pixels().end());
    }
    return state;
}

class EditorTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPort port;
    std::unique_ptr<TextureEditor> editor = std::make_unique<TextureEditor>(port);

    Workspace& ws() { return editor->workspace(); }

    // Clicks the button with the dialog answering `answer` (or cancelling).
    void click(Command command, std::optional<std::filesystem::path> answer) {
        port.clear_records();
        port.answers.clear();
        port.answers.push_back(std::move(answer));
        editor->run(command);
    }

    std::filesystem::path write_palette_file(const std::string& name, const Palette& palette) {
        write_bytes(dir / name, palette_file_bytes(palette));
        return dir / name;
    }

    std::vector<ViewState> view_states() {
        return {state_of(editor->pal), state_of(editor->pal_preview), state_of(editor->cliff),
                state_of(editor->bigf)};
    }
};

}  // namespace vlt::testing

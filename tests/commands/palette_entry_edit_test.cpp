#include <gtest/gtest.h>

#include "base/errors.h"
#include "commands/editor_fixture.h"

namespace vlt {
namespace {

using Strings = std::vector<std::string>;

class PaletteEntryEdit : public testing::EditorTest {};

TEST_F(PaletteEntryEdit, RedrawsThePaletteViewsAndTheTextureViewsHoldingAPicture) {
    struct Case {
        bool bigf_shown;
        bool cliff_shown;
        Strings refreshed;
    };
    const Case cases[] = {
        {false, false, {"pal", "pal_preview"}},
        {true, false, {"pal", "pal_preview", "bigf"}},
        {true, true, {"pal", "pal_preview", "bigf", "cliff"}},
    };
    for (const Case& c : cases) {
        editor = std::make_unique<TextureEditor>(port);
        ws().bigf_data[3] = 9;
        ws().cliff_data[0] = 9;
        if (c.bigf_shown) {
            editor->bigf.pixels_for_change();
        }
        if (c.cliff_shown) {
            editor->cliff.pixels_for_change();
        }
        port.clear_records();
        const bool bigf_changed = editor->unsaved_changes().changed(DataPart::bigf);
        editor->edit_palette_entry(9, make_color(1, 2, 3));
        EXPECT_EQ(port.refreshed, c.refreshed);
        EXPECT_EQ(ws().pal_colors[9], make_color(1, 2, 3));
        EXPECT_EQ(editor->pal.get_pixel(9, 0), make_color(1, 2, 3));
        EXPECT_EQ(editor->pal_preview.get_pixel(9 * 8 + 7, 7), make_color(1, 2, 3));
        EXPECT_EQ(editor->bigf.picture_kind() != PictureKind::none, c.bigf_shown);
        if (c.bigf_shown) {
            EXPECT_EQ(editor->bigf.get_pixel(3, 0), make_color(1, 2, 3));
        }
        if (c.cliff_shown) {
            EXPECT_EQ(editor->cliff.get_pixel(0, 0), make_color(1, 2, 3));
        }
        EXPECT_TRUE(editor->unsaved_changes().changed(DataPart::palette));
        EXPECT_EQ(editor->unsaved_changes().changed(DataPart::bigf), bigf_changed);
    }
}

TEST_F(PaletteEntryEdit, RefusesAnEntryOutsideThePalette) {
    for (const int index : {-1, 256}) {
        EXPECT_THROW(editor->edit_palette_entry(index, 0), Exception) << index;
    }
    EXPECT_FALSE(editor->unsaved_changes().any());
    EXPECT_TRUE(port.refreshed.empty());
}

}  // namespace
}  // namespace vlt

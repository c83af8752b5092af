#include <gtest/gtest.h>

#include <random>

#include "commands/editor_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::EditorTest;

// Everything a step must put back, for comparing byte for byte.
struct Snapshot {
    std::vector<std::uint8_t> palette, bigf, cliff;
    std::vector<testing::ViewState> views;
    std::array<std::optional<std::filesystem::path>, 3> files;
    std::array<bool, 3> unsaved{};
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

class UndoSteps : public EditorTest {
protected:
    Snapshot snapshot() {
        Snapshot s;
        s.palette = testing::palette_file_bytes(ws().pal_colors);
        s.bigf.assign(ws().bigf_data.begin(), ws().bigf_data.end());
        s.cliff.assign(ws().cliff_data.begin(), ws().cliff_data.end());
        s.views = view_states();
        const DataPart parts[] = {DataPart::palette, DataPart::bigf, DataPart::cliff};
        for (std::size_t i = 0; i < 3; ++i) {
            s.files[i] = editor->data_file(parts[i]);
            s.unsaved[i] = editor->unsaved_changes().changed(parts[i]);
        }
        return s;
    }
    std::filesystem::path file(const std::string& name, std::size_t size, std::uint8_t seed) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + i / 300);
        }
        testing::write_bytes(dir / name, bytes);
        return dir / name;
    }
    std::filesystem::path bmp(const std::string& name, int width, int height, int bits,
                              std::uint8_t seed) {
        testing::write_bytes(dir / name, testing::build_bmp(width, height, bits, [=](int x, int y) {
                                 return make_color(static_cast<std::uint8_t>(x * 5 + seed),
                                                   static_cast<std::uint8_t>(y * 3), seed);
                             }));
        return dir / name;
    }
    std::string undo_name() const { return editor->history().undo_name(); }
};

TEST_F(UndoSteps, RandomCommandsUndoToTheStartAndRedoToTheEnd) {
    testing::write_bytes(dir / "junk.bmp", std::vector<std::uint8_t>(30, 'x'));
    testing::write_bytes(dir / "p.gpl", {'G', 'I', 'M', 'P', ' ', 'P', 'a', 'l', 'e', 't', 't', 'e',
                                         '\n', '9', ' ', '8', ' ', '7', '\n'});
    const struct {
        Command command;
        std::optional<std::filesystem::path> path;
    } commands[] = {
        {Command::import_from_pal, file("a_pal.dat", 1024, 1)},
        {Command::import_from_pal, file("short_pal.dat", 3, 2)},
        {Command::import_from_bigf, file("bigf_a.dat", 294912, 3)},
        {Command::import_from_bigf, file("bigf_b.dat", 1000, 4)},
        {Command::import_from_ciff, file("cliff_a.dat", 8192, 5)},
        {Command::import_pal_from_bitmap, bmp("p.bmp", 20, 20, 24, 6)},
        {Command::import_bigf_from_bitmap, bmp("b.bmp", 256, 300, 32, 7)},
        {Command::import_bigf_nearest, bmp("n.bmp", 40, 40, 24, 8)},
        {Command::import_cliff_from_bitmap, bmp("c.bmp", 128, 64, 24, 9)},
        {Command::import_cliff_from_bitmap, dir / "junk.bmp"},  // fails
        {Command::import_palette, dir / "p.gpl"},
        {Command::build_cliff, std::nullopt},
        {Command::save_to_pal, dir / "saved_pal.dat"},
        {Command::save_to_bigf, dir / "saved_bigf.dat"},
        {Command::import_from_bigf, std::nullopt},  // cancelled
    };
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        editor = std::make_unique<TextureEditor>(port);
        const Snapshot start = snapshot();
        std::mt19937 random(seed);
        for (int i = 0; i < 25; ++i) {
            const auto& c = commands[random() % std::size(commands)];
            click(c.command, c.path);
        }
        const Snapshot end = snapshot();
        const std::size_t steps = editor->history().size();
        for (std::size_t i = 0; i < steps; ++i) {
            editor->undo();
        }
        EXPECT_FALSE(editor->history().can_undo());
        // Saves are not undone: a part saved on the way is measured against what was saved.
        Snapshot back = snapshot();
        back.files = start.files;
        back.unsaved = start.unsaved;
        EXPECT_EQ(back, start);
        for (std::size_t i = 0; i < steps; ++i) {
            editor->redo();
        }
        EXPECT_EQ(snapshot(), end);
    }
}

TEST_F(UndoSteps, UndoAfterAFailedCommandUndoesTheStepBefore) {
    testing::write_bytes(dir / "junk.bmp", std::vector<std::uint8_t>(30, 'x'));
    const Snapshot start = snapshot();
    click(Command::build_cliff, std::nullopt);
    click(Command::import_bigf_from_bitmap, dir / "junk.bmp");
    ASSERT_EQ(port.errors.size(), 1u);
    EXPECT_EQ(editor->history().size(), 1u);
    EXPECT_EQ(undo_name(), "build_cliff");
    editor->undo();
    EXPECT_EQ(snapshot(), start);
    EXPECT_EQ(editor->history().redo_name(), "build_cliff");
}

TEST_F(UndoSteps, SavesAndCancelledCommandsMakeNoStep) {
    click(Command::build_cliff, std::nullopt);
    const Command none_made[] = {
        Command::save_to_cliff,  Command::cliff_save_to_bitmap,        Command::save_to_pal,
        Command::export_palette, Command::save_bigf_to_indexed_bitmap, Command::import_from_pal};
    int n = 0;
    for (const Command command : none_made) {
        click(command, dir / ("out" + std::to_string(n++) + ".gpl"));
        click(command, std::nullopt);
    }
    EXPECT_EQ(editor->history().size(), 1u);
}

TEST_F(UndoSteps, AStepPutsBackTheFileAPartBelongsTo) {
    const auto a = file("bigf_a.dat", 294912, 1);
    const auto b = file("bigf_b.dat", 294912, 2);
    click(Command::import_from_bigf, a);
    click(Command::import_from_bigf, b);
    EXPECT_EQ(editor->data_file(DataPart::bigf), b);
    editor->undo();
    EXPECT_EQ(editor->data_file(DataPart::bigf), a);
    EXPECT_FALSE(editor->unsaved_changes().any());
    editor->undo();
    EXPECT_EQ(editor->data_file(DataPart::bigf), std::nullopt);
    EXPECT_EQ(editor->bigf.picture_kind(), PictureKind::none);
}

TEST_F(UndoSteps, UnsavedMarksFollowTheBytes) {
    using enum DataPart;
    // A short file shares only its first bytes with the palette.
    click(Command::import_from_pal, file("short_pal.dat", 3, 9));
    EXPECT_TRUE(editor->unsaved_changes().changed(palette));
    click(Command::import_from_pal, file("whole_pal.dat", 1024, 9));
    EXPECT_FALSE(editor->unsaved_changes().changed(palette));
    // The short file's first three bytes equal the whole file's: the rest still differs.
    click(Command::import_pal_from_bitmap, bmp("p.bmp", 16, 16, 24, 1));
    click(Command::import_from_pal, dir / "short_pal.dat");
    EXPECT_TRUE(editor->unsaved_changes().changed(palette));

    click(Command::import_from_ciff, file("cliff_a.dat", 8192, 3));
    click(Command::build_cliff, std::nullopt);
    EXPECT_TRUE(editor->unsaved_changes().changed(cliff));
    editor->undo();
    EXPECT_FALSE(editor->unsaved_changes().changed(cliff));
    editor->redo();
    click(Command::save_to_cliff, dir / "cliff_b.dat");
    EXPECT_FALSE(editor->unsaved_changes().changed(cliff));
    // Back to the loaded cliff, which is no longer what its file holds.
    editor->undo();
    EXPECT_TRUE(editor->unsaved_changes().changed(cliff));
    EXPECT_EQ(editor->data_file(cliff), dir / "cliff_b.dat");
}

// At the game's sizes the largest step is a bigf import of a full-size true-colour picture:
// 100 of them stay within the limit.
TEST_F(UndoSteps, AHundredGameSizeStepsFit) {
    click(Command::import_from_bigf, file("bigf_a.dat", 294912, 1));
    click(Command::import_from_ciff, file("cliff_a.dat", 8192, 3));
    const std::size_t before = editor->history().memory();
    // 100 colours, all of which find room: every pixel of the view changes.
    testing::write_bytes(dir / "b.bmp", testing::build_bmp(256, 1152, 32, [](int x, int y) {
                             return make_color(static_cast<std::uint8_t>((x + y) % 100 + 1), 9, 9);
                         }));
    click(Command::import_bigf_from_bitmap, dir / "b.bmp");
    const std::size_t step = editor->history().memory() - before;
    EXPECT_GT(step, std::size_t{256 * 1152 * 4});
    EXPECT_LT(step * 100, editor->history().memory_limit());
    const Snapshot start = snapshot();
    file("bigf_b.dat", 294912, 2);
    for (int i = 0; i < 100; ++i) {
        click(Command::import_from_bigf, dir / (i % 2 == 0 ? "bigf_b.dat" : "bigf_a.dat"));
    }
    EXPECT_EQ(editor->history().size(), 103u);
    for (int i = 0; i < 100; ++i) {
        editor->undo();
    }
    EXPECT_EQ(snapshot(), start);
}

}  // namespace
}  // namespace vlt

#include <gtest/gtest.h>

#include <filesystem>

#include "commands/editor_fixture.h"
#include "commands/file_drop.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::EditorTest;

TEST(UnsavedChanges, PromptNamesTheChangedPartsInOrder) {
    using enum DataPart;
    const struct {
        std::vector<DataPart> parts;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{cliff}, "The cliff texture has changes that are not saved."},
        {{bigf, palette}, "The palette and the bigf texture have changes that are not saved."},
        {{cliff, bigf, palette},
         "The palette, the bigf texture and the cliff texture have changes that are not saved."},
    };
    for (const auto& c : cases) {
        UnsavedChanges changes;
        for (const DataPart part : c.parts) {
            changes.mark_changed(part);
        }
        EXPECT_EQ(changes.prompt_text(), c.text);
        EXPECT_EQ(changes.any(), !c.parts.empty());
    }
}

class EditorChanges : public EditorTest {
protected:
    std::filesystem::path bmp(const std::string& name) {
        testing::write_bytes(dir / name, testing::build_bmp(16, 16, 24, [](int x, int y) {
                                 return make_color(static_cast<std::uint8_t>(x * 16), 0,
                                                   static_cast<std::uint8_t>(y * 16));
                             }));
        return dir / name;
    }
    std::array<bool, 3> changed() const {
        const UnsavedChanges& c = editor->unsaved_changes();
        return {c.changed(DataPart::palette), c.changed(DataPart::bigf),
                c.changed(DataPart::cliff)};
    }
};

TEST_F(EditorChanges, CompletedCommandsDecideWhatIsUnsaved) {
    testing::write_bytes(dir / "text.bmp", std::vector<std::uint8_t>(40, 'x'));
    const auto pal_file = write_palette_file("land_pal.dat", Palette{});
    testing::write_bytes(dir / "bigf1.dat", std::vector<std::uint8_t>(294912, 1));
    testing::write_bytes(dir / "cliff1.dat", std::vector<std::uint8_t>(8192, 1));
    const auto nowhere = dir / "missing" / "out.dat";
    const struct {
        Command command;
        std::optional<std::filesystem::path> file;
        std::array<bool, 3> palette_bigf_cliff;
    } steps[] = {
        {Command::build_cliff, std::nullopt, {false, false, true}},
        {Command::import_from_bigf, dir / "missing_bigf.dat", {false, false, true}},
        {Command::import_bigf_from_bitmap, std::nullopt, {false, false, true}},
        {Command::import_bigf_from_bitmap, dir / "text.bmp", {false, false, true}},
        {Command::import_bigf_from_bitmap, bmp("big.bmp"), {true, true, true}},
        {Command::save_to_cliff, nowhere, {true, true, true}},
        {Command::save_to_cliff, dir / "cliff2.dat", {true, true, false}},
        {Command::save_bigf_to_bitmap, dir / "out.bmp", {true, true, false}},
        {Command::save_to_bigf, dir / "bigf2.dat", {true, false, false}},
        {Command::save_to_pal, dir / "pal2.dat", {false, false, false}},
        {Command::import_pal_from_bitmap, bmp("pal.bmp"), {true, false, false}},
        {Command::import_from_pal, pal_file, {false, false, false}},
        {Command::import_cliff_from_bitmap, bmp("cliff.bmp"), {false, false, true}},
        {Command::import_from_ciff, dir / "cliff1.dat", {false, false, false}},
        // The same picture again: the bigf is what was saved to bigf2.dat.
        {Command::import_bigf_from_bitmap, bmp("big.bmp"), {true, false, false}},
        {Command::import_from_bigf, dir / "bigf1.dat", {true, false, false}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(static_cast<int>(step.command));
        click(step.command, step.file);
        EXPECT_EQ(changed(), step.palette_bigf_cliff);
    }
}

TEST(FileDrop, EachViewTakesItsOwnImportsOnly) {
    const struct {
        const char* view;
        const char* file;
        std::optional<Command> command;
    } cases[] = {
        {"pal_preview", "/d/x.DAT", Command::import_from_pal},
        {"pal_preview", "/d/p.Ico", Command::import_pal_from_bitmap},
        {"pal_preview", "/d/p.wmf", Command::import_pal_from_bitmap},
        {"cliff", "/d/c.bmp", Command::import_cliff_from_bitmap},
        {"bigf", "/d/b.BMP", Command::import_bigf_from_bitmap},
        {"bigf", "/d/bigf1.dat", Command::import_from_bigf},
        {"cliff", "/d/c.png", Command::import_cliff_from_bitmap},
        {"cliff", "/d/c.gif", std::nullopt},
        {"pal", "/d.bmp/file", std::nullopt},
        {"txtAbout", "/d/b.bmp", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(command_for_dropped_file(c.view, c.file), c.command) << c.view << " " << c.file;
    }
}

}  // namespace
}  // namespace vlt

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

#include "base/errors.h"
#include "commands/editor_fixture.h"
#include "pictures/drawing.h"

namespace vlt {
namespace {

using testing::EditorTest;
using Kind = FileRequest::Kind;

struct DialogCase {
    Command command;
    Kind kind;
    const char* filter;
    const char* default_ext;
};

constexpr DialogCase dialog_cases[] = {
    {Command::import_from_pal, Kind::open, "*pal*.dat|*pal*.dat", ""},
    {Command::save_pal_to_bitmap, Kind::save, "bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png",
     "*.bmp"},
    {Command::save_to_pal, Kind::save, "*pal*.dat|*pal*.dat", "*.dat"},
    {Command::import_pal_from_bitmap, Kind::open, "*.bmp|*.bmp|PNG picture (*.png)|*.png", ""},
    {Command::import_from_ciff, Kind::open, "cliff*.dat|cliff*.dat", ""},
    {Command::cliff_save_to_bitmap, Kind::save, "bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png",
     "*.bmp"},
    {Command::import_from_bigf, Kind::open, "bigf*.dat|bigf*.dat", ""},
    {Command::save_bigf_to_bitmap, Kind::save, "*.bmp|*.bmp|PNG picture (*.png)|*.png", "*.bmp"},
    {Command::save_to_bigf, Kind::save, "bigf*.dat|bigf*.dat", "*.dat"},
    {Command::import_bigf_from_bitmap, Kind::open, "*.bmp|*.bmp|PNG picture (*.png)|*.png", ""},
    {Command::import_cliff_from_bitmap, Kind::open, "*.bmp|*.bmp|PNG picture (*.png)|*.png", ""},
    {Command::save_to_cliff, Kind::save, "cliff*.dat|cliff*.dat", "*.dat"},
};

// Sets the current directory for one scope and puts the old one back.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~CurrentDir() { std::filesystem::current_path(old_); }
    CurrentDir(const CurrentDir&) = delete;
    CurrentDir& operator=(const CurrentDir&) = delete;

private:
    std::filesystem::path old_;
};

TEST_F(EditorTest, EachFileCommandAsksOnceWithItsDialogInTheCurrentFolder) {
    const CurrentDir in_temp(dir.path());
    for (const DialogCase& c : dialog_cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        click(c.command, std::nullopt);
        ASSERT_EQ(port.requests.size(), 1u);
        const FileRequest& r = port.requests.front();
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.filter, c.filter);
        EXPECT_EQ(r.default_ext, c.default_ext);
        EXPECT_EQ(r.initial_dir, std::filesystem::current_path());
    }
    click(Command::build_cliff, std::nullopt);
    EXPECT_TRUE(port.requests.empty());
}

TEST_F(EditorTest, CancelledDialogChangesNothing) {
    // A state worth keeping: a palette, textures and a picture in every view.
    for (int i = 0; i < palette_size; ++i) {
        ws().pal_colors[static_cast<std::size_t>(i)] = 0x00030507u * static_cast<Color>(i);
    }
    ws().bigf_data.fill(9);
    ws().cliff_data.fill(4);
    palette_redraw(ws(), editor->pal);
    preview_redraw(editor->pal, editor->pal_preview);
    bigf_redraw(ws(), editor->bigf);
    cliff_redraw(ws(), editor->cliff);
    const auto before = std::make_unique<Workspace>(ws());
    const auto views_before = view_states();

    for (const DialogCase& c : dialog_cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        click(c.command, std::nullopt);
        EXPECT_EQ(ws().pal_colors, before->pal_colors);
        EXPECT_EQ(ws().bigf_data, before->bigf_data);
        EXPECT_EQ(ws().cliff_data, before->cliff_data);
        EXPECT_EQ(view_states(), views_before);
        EXPECT_TRUE(port.notices.empty());
        EXPECT_TRUE(port.errors.empty());
        EXPECT_TRUE(port.refreshed.empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(EditorTest, DataFileThatCannotBeOpenedOrCreatedShowsItsNotice) {
    const struct {
        Command command;
        const char* notice;
    } cases[] = {
        {Command::import_from_pal, "Failed!"},  {Command::import_from_ciff, "Failed!"},
        {Command::import_from_bigf, "Failed!"}, {Command::save_to_pal, "failed!"},
        {Command::save_to_cliff, "failed!"},    {Command::save_to_bigf, "failed!"},
    };
    ws().pal_colors.fill(0x00112233);
    ws().bigf_data.fill(3);
    ws().cliff_data.fill(5);
    const auto before = std::make_unique<Workspace>(ws());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notice);
        click(c.command, dir / "missing-folder" / "file.dat");
        EXPECT_EQ(port.notices, std::vector<std::string>{c.notice});
        EXPECT_TRUE(port.errors.empty());
        EXPECT_TRUE(port.refreshed.empty());
        EXPECT_EQ(ws().pal_colors, before->pal_colors);
        EXPECT_EQ(ws().bigf_data, before->bigf_data);
        EXPECT_EQ(ws().cliff_data, before->cliff_data);
    }
    EXPECT_EQ(editor->bigf.picture_kind(), PictureKind::none);
    EXPECT_EQ(editor->pal.picture_kind(), PictureKind::none);
}

TEST_F(EditorTest, SaveOntoAFolderShowsLowerCaseFailed) {
    std::filesystem::create_directory(dir / "taken.dat");
    click(Command::save_to_cliff, dir / "taken.dat");
    EXPECT_EQ(port.notices, std::vector<std::string>{"failed!"});
}

TEST_F(EditorTest, ClickCatchesEveryErrorAndReportsItWithTheFullStopRule) {
    const struct {
        std::function<void()> raise;
        std::vector<std::string> reported;
    } cases[] = {
        {[] { throw Exception("Bitmap image is not valid"); }, {"Bitmap image is not valid."}},
        {[] { throw Exception("Invalid data type for 'InstallPath'"); },
         {"Invalid data type for 'InstallPath'"}},
        {[] { throw Exception("Stop!"); }, {"Stop!"}},
        {[] { throw Exception("Really?"); }, {"Really?."}},
        {[] { throw Exception(""); }, {""}},
        {[] { throw std::bad_alloc(); }, {"Out of system resources."}},
        {[] { throw std::runtime_error("disk gone"); }, {"disk gone."}},
        {[] { throw 42; }, {"Unknown error."}},
    };
    for (const auto& c : cases) {
        port.before_answer = c.raise;
        click(Command::import_from_bigf, dir / "bigf.dat");
        EXPECT_EQ(port.errors, c.reported);
        EXPECT_TRUE(port.notices.empty());
    }
}

TEST_F(EditorTest, ViewRefreshGoesToThePort) {
    editor->bigf.refresh();
    editor->pal_preview.refresh();
    EXPECT_EQ(port.refreshed, (std::vector<std::string>{"bigf", "pal_preview"}));
}

TEST(CommandTable, NamesEveryCommandAndFindsTheOnesWithANameOfTheirOwn) {
    const auto table = command_table();
    ASSERT_EQ(table.size(), command_count);
    std::size_t buttons = 0;
    for (const CommandSpec& spec : table) {
        SCOPED_TRACE(spec.name);
        EXPECT_FALSE(spec.summary.empty());
        EXPECT_NE(spec.action, nullptr);
        // A variant goes by the name of the command it varies, which leads to that command.
        const auto named = command_from_name(spec.name);
        ASSERT_TRUE(named.has_value());
        EXPECT_EQ(*named == spec.command, spec.listing != Listing::variant);
        EXPECT_EQ(spec_of(*named).group, spec.group);
        buttons += spec.listing == Listing::button ? 1 : 0;
    }
    EXPECT_EQ(buttons, 13u);
    EXPECT_EQ(command_from_name("import_from_cliff"), Command::import_from_ciff);
    EXPECT_EQ(command_from_name("Import_from_cliff"), std::nullopt);
    EXPECT_EQ(command_from_name("Build_cliff"), std::nullopt);
    EXPECT_EQ(command_from_name(""), std::nullopt);
}

}  // namespace
}  // namespace vlt

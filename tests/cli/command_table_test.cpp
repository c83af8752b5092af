// A command in the table is a command everywhere: the command line knows its name and lists it
// with its help line, and running it makes an undo step of its name.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "commands/scripted_port.h"
#include "commands/texture_editor.h"
#include "pictures/indexed_bmp.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

TEST(CommandTable, EveryNamedCommandHasItsCommandLineNameAndHelpLine) {
    const std::string help = cli::help_text("vlt");
    for (const CommandSpec& spec : command_table()) {
        if (spec.listing == Listing::variant) {
            continue;
        }
        SCOPED_TRACE(spec.name);
        const std::string name(spec.name);
        const auto start = help.find("\n  " + name + " ");
        ASSERT_NE(start, std::string::npos);
        const std::string line = help.substr(start + 1, help.find('\n', start + 1) - start - 1);
        EXPECT_NE(line.find(spec.summary), std::string::npos) << line;
        EXPECT_EQ(line.find("PATH") != std::string::npos, spec.file_use != FileUse::none) << line;
        std::vector<std::string_view> args{spec.name};
        if (spec.file_use != FileUse::none) {
            args.push_back("file");
        }
        const auto parsed = cli::parse_arguments(args);
        ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
        EXPECT_EQ(parsed.options->steps.at(0).command, spec.command);
    }
}

class TableSteps : public ::testing::Test {
protected:
    testing::TempDir dir;

    fs::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        testing::write_bytes(dir / name, bytes);
        return dir / name;
    }

    static std::vector<std::uint8_t> pattern(std::size_t size) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(1 + i * 7 + i / 512);
        }
        return bytes;
    }

    static std::vector<std::uint8_t> indexed_picture(int width, int height) {
        Palette palette{};
        for (std::size_t i = 0; i < palette.size(); ++i) {
            palette[i] = static_cast<Color>(i * 0x010305u + 0x20);
        }
        // Few colours, so that even the reducing import takes them as they are.
        std::vector<std::uint8_t> indices(static_cast<std::size_t>(width * height));
        for (std::size_t i = 0; i < indices.size(); ++i) {
            indices[i] = static_cast<std::uint8_t>(1 + i % 50);
        }
        return encode_indexed_bmp(indices, width, height, palette);
    }

    // A file each command that opens one can take, holding something other than zeros.
    fs::path file_for(const CommandSpec& spec) {
        const std::string filter(spec.filter);
        if (filter.starts_with("*pal*.dat")) {
            return write("pal.dat", pattern(1024));
        }
        if (filter.starts_with("bigf")) {
            return write("bigf.dat", pattern(bigf_width * bigf_height));
        }
        if (filter.starts_with("cliff")) {
            return write("cliff.dat", pattern(cliff_width * cliff_height));
        }
        if (filter.find("*.gpl") != std::string::npos) {
            const std::string text = "GIMP Palette\n 10 20 30\tone\n 40 50 60\ttwo\n";
            return write("pal.gpl", {text.begin(), text.end()});
        }
        return spec.group == CommandGroup::bigf
                   ? write("bigf.bmp", indexed_picture(bigf_width, bigf_height))
                   : write("cliff.bmp", indexed_picture(cliff_width, cliff_height));
    }
};

TEST_F(TableSteps, EveryCommandThatChangesSomethingIsAnUndoStepOfItsName) {
    int steps = 0;
    for (const CommandSpec& spec : command_table()) {
        if (spec.file_use == FileUse::save) {
            continue;  // a save changes nothing to undo
        }
        SCOPED_TRACE(std::string(spec.name) + " " + std::to_string(static_cast<int>(spec.command)));
        testing::ScriptedPort port;
        auto editor = std::make_unique<TextureEditor>(port);
        const auto file = spec.file_use == FileUse::none ? std::nullopt
                                                          : std::optional<fs::path>(file_for(spec));
        ASSERT_TRUE(editor->run(spec.command, file).done())
            << (port.errors.empty() ? "" : port.errors.front());
        ASSERT_TRUE(editor->history().can_undo());
        EXPECT_EQ(editor->history().undo_name(), spec.name);
        ++steps;
    }
    EXPECT_GE(steps, 15);
}

}  // namespace
}  // namespace vlt

#include <gtest/gtest.h>

#include "commands/editor_fixture.h"
#include "support/bmp_builder.h"

namespace vlt {
namespace {

using testing::EditorTest;

enum class Holding { nothing, drawn, loaded };

class ViewsFollowPalette : public EditorTest {
protected:
    std::filesystem::path bytes_file(const std::string& name, std::size_t size, int step) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * static_cast<std::size_t>(step) / 97);
        }
        testing::write_bytes(dir / name, bytes);
        return dir / name;
    }
    std::filesystem::path bmp(const std::string& name, int width, int height, int colours) {
        testing::write_bytes(dir / name, testing::build_bmp(width, height, 24, [=](int x, int y) {
                                 const int k = (x + y) % colours;
                                 return make_color(static_cast<std::uint8_t>(k * 2 + 1), 50, 60);
                             }));
        return dir / name;
    }
    void hold(Holding what, View& view) {
        const bool is_bigf = &view == &editor->bigf;
        if (what == Holding::drawn) {
            click(is_bigf ? Command::import_from_bigf : Command::import_from_ciff,
                  bytes_file(is_bigf ? "bigf.dat" : "cliff.dat",
                             is_bigf ? ws().bigf_data.size() : ws().cliff_data.size(), 3));
        } else if (what == Holding::loaded) {
            click(is_bigf ? Command::import_bigf_from_bitmap : Command::import_cliff_from_bitmap,
                  is_bigf ? bmp("b.bmp", 256, 1152, 100) : bmp("c.bmp", 128, 64, 256));
        }
        ASSERT_TRUE(port.errors.empty());
    }
    // The view shows each texel's palette colour.
    void expect_texture(const View& view, std::span<const std::uint8_t> data, int width) {
        const Bitmap* picture = view.bitmap();
        ASSERT_NE(picture, nullptr) << view.name();
        for (std::size_t i = 0; i < data.size(); ++i) {
            const int x = static_cast<int>(i % static_cast<std::size_t>(width));
            const int y = static_cast<int>(i / static_cast<std::size_t>(width));
            ASSERT_EQ(picture->get_pixel(x, y), ws().pal_colors[data[i]] & 0xFFFFFF)
                << view.name() << " " << x << ", " << y;
        }
    }
};

TEST_F(ViewsFollowPalette, TextureViewsShowTheirDataInTheNewPalette) {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = make_color(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                static_cast<std::uint8_t>(i * 3));
    }
    const auto pal_file = write_palette_file("land_pal.dat", palette);
    testing::write_bytes(dir / "p.gpl", {'G', 'I', 'M', 'P', ' ', 'P', 'a', 'l', 'e', 't', 't', 'e',
                                         '\n', '9', ' ', '8', ' ', '7', '\n'});
    const auto pal_bmp = bmp("p.bmp", 16, 16, 200);
    const std::pair<Command, std::filesystem::path> commands[] = {
        {Command::import_from_pal, pal_file},
        {Command::import_palette, dir / "p.gpl"},
        {Command::import_pal_from_bitmap, pal_bmp},
        {Command::import_bigf_from_bitmap, dir / "b.bmp"},
    };
    bmp("b.bmp", 256, 1152, 100);
    for (const auto& [command, path] : commands) {
        for (const Holding bigf : {Holding::nothing, Holding::drawn, Holding::loaded}) {
            for (const Holding cliff : {Holding::nothing, Holding::drawn, Holding::loaded}) {
                SCOPED_TRACE(::testing::Message()
                             << static_cast<int>(command) << " bigf " << static_cast<int>(bigf)
                             << " cliff " << static_cast<int>(cliff));
                editor = std::make_unique<TextureEditor>(port);
                hold(bigf, editor->bigf);
                hold(cliff, editor->cliff);
                click(Command::import_from_pal, bytes_file("first_pal.dat", 1024, 5));
                click(command, path);
                ASSERT_TRUE(port.errors.empty()) << port.errors.front();
                if (bigf != Holding::nothing || command == Command::import_bigf_from_bitmap) {
                    expect_texture(editor->bigf, ws().bigf_data, bigf_width);
                } else {
                    EXPECT_EQ(editor->bigf.picture_kind(), PictureKind::none);
                }
                if (cliff != Holding::nothing) {
                    expect_texture(editor->cliff, ws().cliff_data, cliff_width);
                } else {
                    EXPECT_EQ(editor->cliff.picture_kind(), PictureKind::none);
                }
            }
        }
    }
}

}  // namespace
}  // namespace vlt

#include "gui/view_menu.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>

#include "gui/dither_box.h"
#include "gui/picture_widget.h"

namespace vlt {
namespace {

TEST(ViewMenu, EachViewOffersItsPaintCommands) {
    using Entries = std::vector<std::pair<QString, Command>>;
    const Entries palette = {{"Import palette file...", Command::import_palette},
                             {"Export palette file...", Command::export_palette}};
    const std::pair<const char*, Entries> cases[] = {
        {"pal", palette},
        {"pal_preview", palette},
        {"bigf",
         {{"Export as indexed BMP...", Command::save_bigf_to_indexed_bitmap},
          {"Import BMP with nearest colours...", Command::import_bigf_nearest},
          {"Import BMP reducing colours...", Command::import_bigf_reduced}}},
        {"cliff", {{"Export as indexed BMP...", Command::save_cliff_to_indexed_bitmap}}},
    };
    for (const auto& [name, entries] : cases) {
        View view(name, 16, 16);
        PictureWidget widget(view, nullptr);
        Entries ran;
        add_view_menu(widget, [&ran](Command command) { ran.emplace_back(QString(), command); });
        EXPECT_EQ(widget.contextMenuPolicy(), Qt::CustomContextMenu);
        const auto* menu = widget.findChild<QMenu*>();
        ASSERT_NE(menu, nullptr) << name;
        for (QAction* action : menu->actions()) {
            action->trigger();
            ran.back().first = action->text();
        }
        EXPECT_EQ(ran, entries) << name;
    }
}

// The ticked box turns the reducing import into the dithered one, and nothing else.
TEST(DitherBox, DithersTheReducingImportWhenTicked) {
    const struct {
        bool ticked;
        Command chosen, runs;
    } cases[] = {
        {false, Command::import_bigf_reduced, Command::import_bigf_reduced},
        {true, Command::import_bigf_reduced, Command::import_bigf_reduced_dithered},
        {true, Command::import_bigf_nearest, Command::import_bigf_nearest},
        {true, Command::save_bigf_to_indexed_bitmap, Command::save_bigf_to_indexed_bitmap},
    };
    DitherBox box(nullptr);
    EXPECT_FALSE(box.isChecked());
    for (const auto& c : cases) {
        box.setChecked(c.ticked);
        EXPECT_EQ(box.applied_to(c.chosen), c.runs) << static_cast<int>(c.chosen);
    }
}

}  // namespace
}  // namespace vlt

#include "gui/view_menu.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>

#include "gui/picture_widget.h"

namespace vlt {
namespace {

TEST(ViewMenu, EachViewOffersItsPaintCommands) {
    const struct {
        const char* view;
        std::vector<std::pair<QString, Command>> entries;
    } cases[] = {
        {"pal",
         {{"Import palette file...", Command::import_palette},
          {"Export palette file...", Command::export_palette}}},
        {"pal_preview",
         {{"Import palette file...", Command::import_palette},
          {"Export palette file...", Command::export_palette}}},
        {"bigf",
         {{"Export as indexed BMP...", Command::save_bigf_to_indexed_bitmap},
          {"Import BMP with nearest colours...", Command::import_bigf_nearest}}},
        {"cliff", {{"Export as indexed BMP...", Command::save_cliff_to_indexed_bitmap}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view);
        View view(c.view, 16, 16);
        PictureWidget widget(view, nullptr);
        std::vector<Command> ran;
        add_view_menu(widget, [&ran](Command command) { ran.push_back(command); });
        EXPECT_EQ(widget.contextMenuPolicy(), Qt::CustomContextMenu);
        const auto* menu = widget.findChild<QMenu*>();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(c.entries.size()));
        for (qsizetype i = 0; i < actions.size(); ++i) {
            EXPECT_EQ(actions[i]->text(), c.entries[static_cast<std::size_t>(i)].first);
            actions[i]->trigger();
            EXPECT_EQ(ran.back(), c.entries[static_cast<std::size_t>(i)].second);
        }
    }
}

}  // namespace
}  // namespace vlt

#include <QAction>
#include <QMenu>

#include "main_window_fixture.h"

namespace vlt::testing {
namespace {

// The keys and the view menus reach the same history; the actions name the step they would
// take and are greyed when there is none.
TEST_F(MainWindowTest, UndoAndRedoByKeyAndByViewMenu) {
    open_window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QAction& undo = window->undo_action();
    QAction& redo = window->redo_action();
    EXPECT_EQ(undo.text(), "&Undo");
    EXPECT_FALSE(undo.isEnabled());
    EXPECT_FALSE(redo.isEnabled());

    click("build_cliff");
    EXPECT_EQ(undo.text(), "&Undo build_cliff");
    EXPECT_TRUE(undo.isEnabled());
    EXPECT_TRUE(window->editor().unsaved_changes().any());

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(window->editor().unsaved_changes().any());
    EXPECT_EQ(redo.text(), "&Redo build_cliff");
    EXPECT_FALSE(undo.isEnabled());
    for (const auto& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        QTest::keySequence(window.get(), keys);
        EXPECT_TRUE(window->editor().unsaved_changes().any()) << keys.toString().toStdString();
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    }

    // Every view's menu holds both actions.
    for (const char* view : {"pal", "pal_preview", "cliff", "bigf"}) {
        auto* widget = window->findChild<PictureWidget*>(QString::fromLatin1(view));
        const auto* menu = widget->findChild<QMenu*>();
        ASSERT_NE(menu, nullptr) << view;
        EXPECT_TRUE(menu->actions().contains(&undo)) << view;
        EXPECT_TRUE(menu->actions().contains(&redo)) << view;
    }
}

}  // namespace
}  // namespace vlt::testing

#include "gui/file_chooser.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "base/path_text.h"
#include "modal_script.h"
#include "support/temp_dir.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

TEST(FilterEntry, OneEntryFromDescriptionAndPattern) {
    const struct {
        const char* filter;
        const char* entry;
    } cases[] = {
        {"*pal*.dat|*pal*.dat", "*pal*.dat (*pal*.dat)"},
        {"bigf*.dat|bigf*.dat", "bigf*.dat (bigf*.dat)"},
        {"*.bmp|*.bmp", "*.bmp (*.bmp)"},
        // The description already shows its pattern: not repeated.
        {"bitmap (*.bmp)|*.bmp", "bitmap (*.bmp)"},
        {"Pictures|*.bmp", "Pictures (*.bmp)"},
        {"*.dat", "*.dat"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filter_entry(c.filter).toStdString(), c.entry) << c.filter;
    }
    EXPECT_EQ(filter_entries("All (*.gpl;*.pal)|*.gpl;*.pal|Hex list|*.hex"),
              QStringList({"All (*.gpl *.pal)", "Hex list (*.hex)"}));
    EXPECT_EQ(default_suffix("*.dat"), "dat");
    EXPECT_EQ(default_suffix("*.bmp"), "bmp");
    EXPECT_EQ(default_suffix(""), "");
}

// Drives Qt's real dialog: each test scripts what the user does in it.
class RealDialog : public ::testing::Test {
protected:
    testing::TempDir dir;
    testing::ModalScript script;

    FileRequest request(FileRequest::Kind kind, const std::string& filter,
                        const std::string& ext = "") {
        return {kind, dir.path(), filter, ext};
    }

    // A step that types a name and confirms, the way a user presses Enter in the dialog.
    static testing::ModalScript::Step type_and_confirm(const QString& name) {
        return [name](QWidget& window) {
            auto* dialog = qobject_cast<QFileDialog*>(&window);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(name);
            // Queued: a confirmation box would otherwise run inside this step.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        };
    }

    std::optional<fs::path> choose(const FileRequest& request) {
        return DialogFileChooser().choose(request, nullptr);
    }
};

TEST_F(RealDialog, OpenStartsInTheFolderWithItsFilterThenAllFilesAndReturnsAMissingName) {
    QStringList filters;
    QString folder;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    QRect placed;
    script.add([&](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        folder = dialog->directory().canonicalPath();
        mode = dialog->acceptMode();
        placed = dialog->frameGeometry();
        EXPECT_TRUE(dialog->isModal());
        type_and_confirm("nothing_pal.dat")(window);
    });
    const auto chosen = choose(request(FileRequest::Kind::open, "*pal*.dat|*pal*.dat"));
    EXPECT_EQ(filters, (QStringList{"*pal*.dat (*pal*.dat)", "All files (*)"}));
    EXPECT_EQ(folder, QDir(QString::fromStdString(dir.path().string())).canonicalPath());
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    // Centred across the screen, at a third of the free height.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(placed.x(), (screen.width() - placed.width()) / 2);
    EXPECT_EQ(placed.y(), (screen.height() - placed.height()) / 3);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir / "nothing_pal.dat");
    EXPECT_FALSE(fs::exists(*chosen));
}

TEST_F(RealDialog, SaveCompletesANameWithoutExtension) {
    const struct {
        const char* ext;
        const char* typed;
        const char* result;
    } cases[] = {
        {"*.dat", "bigf_new", "bigf_new.dat"},
        {"*.bmp", "picture", "picture.bmp"},
        {"*.dat", "keep.bmp", "keep.bmp"},
    };
    for (const auto& c : cases) {
        script.add(type_and_confirm(c.typed));
        const auto chosen = choose(request(FileRequest::Kind::save, "bigf*.dat|bigf*.dat", c.ext));
        ASSERT_TRUE(chosen.has_value()) << c.typed;
        EXPECT_EQ(*chosen, dir / c.result);
    }
    EXPECT_EQ(script.unexpected(), 0);
}

TEST_F(RealDialog, SaveProposesTheFileTheBufferBelongsTo) {
    fs::create_directories(dir / "game");
    QStringList proposed;
    script.add([&](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        proposed = dialog->selectedFiles();
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    FileRequest asked = request(FileRequest::Kind::save, "bigf*.dat|bigf*.dat", "*.dat");
    asked.proposed_name = dir / "game" / "bigf_land.dat";
    const auto chosen = choose(asked);
    ASSERT_EQ(proposed.size(), 1);
    EXPECT_TRUE(proposed[0].endsWith("game/bigf_land.dat")) << proposed[0].toStdString();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir / "game" / "bigf_land.dat");
}

TEST_F(RealDialog, SaveAsksBeforeReplacingAFile) {
    testing::write_bytes(dir / "bigf1.dat", {1, 2, 3});
    for (const bool replace : {false, true}) {
        QPointer<QFileDialog> file_dialog;
        QString question;
        script.add([&](QWidget& window) {
            file_dialog = qobject_cast<QFileDialog*>(&window);
            type_and_confirm("bigf1.dat")(window);
        });
        script.add([&](QWidget& window) {
            auto* box = qobject_cast<QMessageBox*>(&window);
            ASSERT_NE(box, nullptr);
            question = box->text();
            if (replace) {
                box->button(QMessageBox::Yes)->click();
            } else {
                box->button(QMessageBox::No)->click();
                // Back in the dialog, the user gives up.
                QTimer::singleShot(0, file_dialog.data(), &QFileDialog::reject);
            }
        });
        const auto chosen =
            choose(request(FileRequest::Kind::save, "bigf*.dat|bigf*.dat", "*.dat"));
        EXPECT_TRUE(question.contains("bigf1.dat")) << question.toStdString();
        EXPECT_EQ(chosen.has_value(), replace);
        if (chosen) {
            EXPECT_EQ(*chosen, dir / "bigf1.dat");
        }
    }
    EXPECT_TRUE(script.done());
}

TEST_F(RealDialog, FolderNamesBeyondAsciiSurviveTheRoundTrip) {
    const fs::path folder = dir.path() / path_from_utf8(
                                             "Spiele \xC3\x9C"
                                             "bersicht");
    fs::create_directories(folder);
    QString opened_in;
    script.add([&](QWidget& window) {
        opened_in = qobject_cast<QFileDialog*>(&window)->directory().absolutePath();
        type_and_confirm("cliff1")(window);
    });
    const auto chosen = DialogFileChooser().choose(
        {FileRequest::Kind::save, folder, "cliff*.dat|cliff*.dat", "*.dat"}, nullptr);
    EXPECT_TRUE(
        opened_in.endsWith(QString::fromUtf8("Spiele \xC3\x9C"
                                             "bersicht")));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder / "cliff1.dat");
}

TEST_F(RealDialog, CancelReturnsNothing) {
    for (const auto kind : {FileRequest::Kind::open, FileRequest::Kind::save}) {
        script.add(
            [](QWidget& window) { QTimer::singleShot(0, &window, [&window] { window.close(); }); });
        EXPECT_FALSE(choose(request(kind, "cliff*.dat|cliff*.dat", "*.dat")).has_value());
    }
}

}  // namespace
}  // namespace vlt

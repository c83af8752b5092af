#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QSaveFile>
#include <QStatusBar>
#include <functional>

#include "gui/paint_links.h"
#include "gui/paint_links_dialog.h"
#include "main_window_fixture.h"

namespace vlt::testing {
namespace {

// Answers the setup dialog with one file and program, counting the questions.
class ScriptedSetup : public PaintSetupChooser {
public:
    PaintSetup answer;
    std::vector<PaintSetup> proposals;

    std::optional<PaintSetup> choose(const QString&, const PaintSetup& proposed,
                                     QWidget*) override {
        proposals.push_back(proposed);
        return answer;
    }
};

constexpr PaintLink::Timing quick{100, 600};
// Long enough for a save to be seen, settled and given up on.
constexpr int quiet_ms = 1500;

QString qt_path(const fs::path& file) {
    return QString::fromStdU16String(file.u16string());
}

class PaintLinkTest : public MainWindowTest {
protected:
    fs::path paint_file = root / "bigf-paint.png";
    ScriptedSetup* setup = nullptr;
    std::vector<std::pair<QString, fs::path>> started;
    QStringList messages;  // every status bar message since the window opened

    void open_linked_window() {
        open_window();
        auto scripted = std::make_unique<ScriptedSetup>();
        setup = scripted.get();
        setup->answer = {paint_file, QStringLiteral("painter")};
        PaintLinks& links = window->paint_links();
        links.set_setup_chooser(std::move(scripted));
        links.set_launcher([this](const QString& program, const fs::path& file) {
            started.emplace_back(program, file);
            return true;
        });
        links.set_timing(quick);
        messages.clear();
        QObject::connect(window->statusBar(), &QStatusBar::messageChanged,
                         [this](const QString& text) { messages.append(text); });
        // Distinct colours, so that each index comes back as itself.
        std::vector<std::uint8_t> palette(1024);
        for (std::size_t i = 0; i < 256; ++i) {
            palette[i * 4] = static_cast<std::uint8_t>(i);
            palette[i * 4 + 1] = static_cast<std::uint8_t>(255 - i);
            palette[i * 4 + 2] = static_cast<std::uint8_t>(i / 2);
        }
        write_bytes(root / "land_pal.dat", palette);
        window->run(Command::import_from_pal, root / "land_pal.dat");
    }

    std::size_t steps() const { return window->editor().history().size(); }
    std::uint8_t bigf_index(int x, int y) const {
        return window->editor().workspace().bigf_data[static_cast<std::size_t>(y) * bigf_width + x];
    }
    QString status() const { return window->statusBar()->currentMessage(); }

    // What the paint program saves: the exported picture with a few indices changed, as PNG,
    // indexed or in true colour.
    QByteArray painted(std::uint8_t index, bool true_colour = false) const {
        QImage image(qt_path(paint_file));
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        for (int x = 0; x < 8; ++x) {
            image.setPixel(x, 3, index);
        }
        if (true_colour) {
            image = image.convertToFormat(QImage::Format_RGB888);
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    void write_part(const QByteArray& bytes, QIODevice::OpenMode mode) const {
        QFile file(qt_path(paint_file));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | mode));
        file.write(bytes);
    }

    static bool wait_until(const std::function<bool()>& done, int ms = 5000) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < ms) {
            QTest::qWait(10);
        }
        return done();
    }
};

// However the paint program saves, one save is one step of its name, with the status bar
// telling what came; a file that does not read changes nothing and says so.
TEST_F(PaintLinkTest, EachSaveIsOneUndoStep) {
    using Save = std::function<void(const QByteArray&)>;
    const Save in_place = [this](const QByteArray& bytes) {
        write_part(bytes, QIODevice::Truncate);
    };
    const Save by_rename = [this](const QByteArray& bytes) {
        QSaveFile file(qt_path(paint_file));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        ASSERT_TRUE(file.commit());
    };
    const Save in_two_slow_halves = [this](const QByteArray& bytes) {
        write_part(bytes.first(bytes.size() / 2), QIODevice::Truncate);
        QTest::qWait(quick.settle_ms * 3);
        write_part(bytes.sliced(bytes.size() / 2), QIODevice::Append);
    };
    const struct {
        const char* name;
        Save save;
        bool true_colour;
        bool broken;
        const char* status;
    } cases[] = {
        {"in place", in_place, false, false, "Updated bigf from bigf-paint.png."},
        {"by rename", by_rename, false, false, "Updated bigf from bigf-paint.png."},
        {"in two slow halves", in_two_slow_halves, false, false,
         "Updated bigf from bigf-paint.png."},
        {"in true colour", in_place, true, false,
         "Updated bigf from bigf-paint.png, a true-colour picture, as import_bigf_from_bitmap"},
        {"broken", in_place, false, true, "bigf was not updated from bigf-paint.png:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir fresh;
        paint_file = fresh / "bigf-paint.png";
        open_linked_window();
        window->paint_links().edit(PaintTexture::bigf, true);
        const std::size_t before = steps();
        const QByteArray bytes = c.broken ? QByteArray("not a picture") : painted(17, c.true_colour);
        c.save(bytes);
        if (c.broken) {
            EXPECT_TRUE(wait_until([&] { return status().startsWith(c.status); })) << status().toStdString();
            EXPECT_EQ(steps(), before);
            EXPECT_EQ(bigf_index(0, 3), 0);
            continue;
        }
        ASSERT_TRUE(wait_until([&] { return steps() == before + 1; }));
        EXPECT_EQ(window->editor().history().undo_name(), "Update from bigf-paint.png");
        EXPECT_TRUE(status().startsWith(c.status)) << status().toStdString();
        if (!c.true_colour) {
            EXPECT_EQ(bigf_index(7, 3), 17);
            EXPECT_EQ(bigf_index(8, 3), 0);
        }
        // Nothing more comes of one save.
        QTest::qWait(quiet_ms);
        EXPECT_EQ(steps(), before + 1);
        // Neither a box nor a failed update on the way: a part of a save is not taken.
        EXPECT_EQ(boxes.shown(), 0);
        EXPECT_FALSE(messages.join('\n').contains("not updated")) << messages.join('\n').toStdString();
    }
}

// Our own export is no save; the file and program are asked once and then remembered.
TEST_F(PaintLinkTest, ExportsOpensAndRemembers) {
    open_linked_window();
    window->paint_links().edit(PaintTexture::bigf);
    ASSERT_EQ(setup->proposals.size(), 1u);
    EXPECT_EQ(setup->proposals[0].file.filename(), "bigf-paint.png");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], std::make_pair(QStringLiteral("painter"), paint_file));
    EXPECT_TRUE(fs::exists(paint_file));
    const std::size_t before = steps();
    QTest::qWait(quiet_ms);
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(window->findChild<QLabel*>("paint_links_status")->text(),
              "Paint link: bigf");

    // Again, and in the next run: no question.
    window->paint_links().edit(PaintTexture::bigf);
    EXPECT_EQ(setup->proposals.size(), 1u);
    window.reset();
    open_linked_window();
    window->paint_links().edit(PaintTexture::bigf);
    EXPECT_TRUE(setup->proposals.empty());
    EXPECT_EQ(started.back().first, "painter");
}

// A save while a dialog is open (perhaps a command's, still running) updates once it closes.
TEST_F(PaintLinkTest, WaitsForAnOpenDialog) {
    open_linked_window();
    window->paint_links().edit(PaintTexture::bigf);
    const std::size_t before = steps();
    boxes.add([](QWidget&) {});  // left open
    QDialog dialog(window.get());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    write_part(painted(9), QIODevice::Truncate);
    QTest::qWait(quiet_ms);
    write_part(painted(10), QIODevice::Truncate);
    QTest::qWait(quiet_ms);
    EXPECT_EQ(steps(), before);
    dialog.close();
    ASSERT_TRUE(wait_until([&] { return steps() == before + 1; }));
    EXPECT_EQ(bigf_index(0, 3), 10);
    QTest::qWait(quiet_ms);
    EXPECT_EQ(steps(), before + 1);
}

// A stopped link, from the links dialog or by closing the window, takes no more saves.
TEST_F(PaintLinkTest, StoppedLinksTakeNothing) {
    open_linked_window();
    PaintLinks& links = window->paint_links();
    links.edit(PaintTexture::bigf);
    ASSERT_EQ(links.links().size(), 1u);
    boxes.add([this](QWidget& dialog) {
        auto* list = dialog.findChild<QListWidget*>("links");
        EXPECT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(),
                  "bigf: " + QDir::toNativeSeparators(qt_path(paint_file)));
        dialog.findChild<QPushButton*>("stop")->click();
        EXPECT_FALSE(list->item(0)->flags() & Qt::ItemIsEnabled);
        dialog.close();
    });
    window->findChild<QAction*>("paint_links")->trigger();
    EXPECT_TRUE(links.links().empty());
    EXPECT_FALSE(window->findChild<QLabel*>("paint_links_status")->isVisibleTo(window.get()));
    const std::size_t before = steps();
    write_part(painted(5), QIODevice::Truncate);
    QTest::qWait(quiet_ms);
    EXPECT_EQ(steps(), before);

    links.edit(PaintTexture::bigf);
    setup->answer.file = root / "cliff-paint.png";
    links.edit(PaintTexture::cliff);
    EXPECT_EQ(links.links().size(), 2u);
    window->close();
    EXPECT_TRUE(links.links().empty());
}

// The dialog always gives a PNG (the export's kind follows the extension), and a program only
// when one is chosen; OK waits for what is needed.
TEST(PaintSetupDialog, GivesAPngAndTheProgramChosen) {
    PaintSetupDialog dialog("bigf", {"/tmp/bigf-paint.png", {}}, nullptr);
    auto* file = dialog.findChild<QLineEdit*>("paint_file");
    auto* program = dialog.findChild<QLineEdit*>("program");
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("system_program")->isChecked());
    EXPECT_EQ(dialog.setup().file, fs::path("/tmp/bigf-paint.png"));
    file->setText("/tmp/painted");
    EXPECT_EQ(dialog.setup().file, fs::path("/tmp/painted.png"));
    EXPECT_TRUE(dialog.setup().program.isEmpty());
    dialog.findChild<QRadioButton*>("chosen_program")->setChecked(true);
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(program, "/usr/bin/painter");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.setup().program, "/usr/bin/painter");
    file->clear();
    EXPECT_FALSE(ok->isEnabled());
}

}  // namespace
}  // namespace vlt::testing

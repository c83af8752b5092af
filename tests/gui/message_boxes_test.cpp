#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "base/errors.h"
#include "gui/error_report.h"
#include "gui/notice_box.h"
#include "modal_script.h"

namespace vlt {
namespace {

QRect screen_rect() {
    return QGuiApplication::primaryScreen()->geometry();
}

TEST(NoticeBox, CaptionTextOneOkButtonNoIconCentred) {
    NoticeBox box("Tool", "Failed!");
    EXPECT_EQ(box.windowTitle(), "Tool");
    EXPECT_EQ(box.message().text(), "Failed!");
    EXPECT_EQ(box.message().objectName(), "Message");
    const auto buttons = box.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    EXPECT_TRUE(buttons[0]->isDefault());
    EXPECT_TRUE(box.icon().pixmap().isNull());
    EXPECT_TRUE(box.icon().isHidden());
    const QPoint centre = box.geometry().center();
    EXPECT_NEAR(centre.x(), screen_rect().center().x(), 1);
    EXPECT_NEAR(centre.y(), screen_rect().center().y(), 1);
    // The button stands below the text, inside the box.
    EXPECT_GT(buttons[0]->geometry().top(), box.message().geometry().bottom());
    EXPECT_TRUE(box.rect().contains(buttons[0]->geometry()));
}

TEST(NoticeBox, AnIconStandsLeftOfTheTextWhichMovesRight) {
    NoticeBox plain_box("Tool", "Failed!");
    NoticeBox warning("Tool", "Failed!", nullptr, NoticeIcon::warning);
    EXPECT_FALSE(warning.icon().pixmap().isNull());
    EXPECT_FALSE(warning.icon().isHidden());
    EXPECT_EQ(warning.icon().size(), QSize(32, 32));
    EXPECT_GT(warning.message().x(), warning.icon().geometry().right());
    EXPECT_EQ(warning.message().y(), warning.icon().y());
    EXPECT_GE(warning.findChild<QPushButton*>("OK")->y(), warning.icon().geometry().bottom());
    EXPECT_GE(warning.height(), plain_box.height());
}

TEST(NoticeBox, EnterEscapeAndClickAllClose) {
    const std::function<void(QWidget&)> ways[] = {
        [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); },
        [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Enter); },
        [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); },
        [](QWidget& w) { w.findChild<QPushButton*>("OK")->click(); },
    };
    for (const auto& way : ways) {
        testing::ModalScript script;
        QString caption;
        QString text;
        script.add([&](QWidget& w) {
            caption = w.windowTitle();
            text = w.findChild<QLabel*>("Message")->text();
            way(w);
        });
        NoticeBox::show_notice("Vosk-land-texture", "failed!");
        EXPECT_EQ(script.shown(), 1);
        EXPECT_EQ(caption, "Vosk-land-texture");
        EXPECT_EQ(text, "failed!");
    }
}

TEST(NoticeBox, FixedSizeNoMinMaxAndWideEnoughForItsWholeCaption) {
    const QString title = QStringLiteral("Vosk-land-texture-with-a-long-name");
    NoticeBox box(title, "Failed!");
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.size(), box.minimumSize());
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);
    QFont caption_font = box.font();
    caption_font.setBold(true);
    EXPECT_GT(box.width(), QFontMetrics(caption_font).horizontalAdvance(title) + 60);
}

TEST(NoticeBox, LongTextWrapsWithinHalfTheScreen) {
    QString text;
    for (int i = 0; i < 120; ++i) {
        text += QStringLiteral("word%1 ").arg(i);
    }
    NoticeBox short_box("Tool", "Failed!");
    NoticeBox long_box("Tool", text);
    const int half = screen_rect().width() / 2;
    EXPECT_LE(long_box.message().width(), half);
    EXPECT_GT(long_box.message().width(), half / 2);
    EXPECT_GE(long_box.message().height(), 4 * QFontMetrics(long_box.font()).height());
    EXPECT_GT(long_box.height(), short_box.height());
    EXPECT_LT(long_box.width(), screen_rect().width());
}

struct ShownReport {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

ShownReport report(const std::exception& error) {
    testing::ModalScript script;
    ShownReport shown;
    script.add([&](QWidget& w) {
        auto* box = qobject_cast<QMessageBox*>(&w);
        ASSERT_NE(box, nullptr);
        shown = {box->windowTitle(), box->text(), box->icon(),
                 static_cast<int>(box->buttons().size())};
        QTest::keyClick(box, Qt::Key_Return);
    });
    report_exception("Tool", error);
    return shown;
}

TEST(ErrorReport, FullStopRuleIconAndButton) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Bitmap image is not valid", "Bitmap image is not valid."},
        {"Invalid data type for 'InstallPath'", "Invalid data type for 'InstallPath'"},
        {"Cannot open file /tmp/x.bmp", "Cannot open file /tmp/x.bmp."},
        {"Done!", "Done!"},
        {"Really?", "Really?."},
        {"Stream read error.", "Stream read error."},
    };
    for (const auto& c : cases) {
        const ShownReport shown = report(Exception(c.message));
        EXPECT_EQ(shown.text.toStdString(), c.shown);
        EXPECT_EQ(shown.caption, "Tool");
        EXPECT_EQ(shown.icon, QMessageBox::Critical);
        EXPECT_EQ(shown.buttons, 1);
    }
    EXPECT_EQ(report(RegistryError("Failed to get data for 'InstallPath'")).text,
              "Failed to get data for 'InstallPath'");
}

}  // namespace
}  // namespace vlt

#pragma once

#include <gtest/gtest.h>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "gui/main_window.h"
#include "gui/notice_box.h"
#include "modal_script.h"
#include "support/fake_wine_prefix.h"
#include "support/temp_dir.h"

namespace vlt::testing {

namespace fs = std::filesystem;

// Answers the commands' file dialogs from a script and records what they asked.
class ScriptedChooser : public FileChooser {
public:
    std::deque<std::optional<fs::path>> answers;  // empty: the user cancels
    std::vector<FileRequest> requests;

    std::optional<fs::path> choose(const FileRequest& request, QWidget*) override {
        requests.push_back(request);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    TempDir root;
    FakeWinePrefix prefix{root / "prefix"};
    fs::path exe_folder = root / "bin";
    ScriptedChooser* chooser = nullptr;  // owned by the window
    ModalScript boxes;
    std::unique_ptr<MainWindow> window;

    void SetUp() override { fs::create_directories(exe_folder); }

    void open_window() {
        auto scripted = std::make_unique<ScriptedChooser>();
        chooser = scripted.get();
        window = std::make_unique<MainWindow>(
            WindowSetup{"Tool", exe_folder / "vosk-land-texture", std::move(scripted),
                        QString::fromStdU16String((root / "settings.ini").u16string())});
    }

    QPushButton* button(const char* name) {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    // Clicks a button whose dialog answers with the given file (or cancels).
    void click(const char* name, std::optional<fs::path> answer = std::nullopt) {
        chooser->answers = {std::move(answer)};
        chooser->requests.clear();
        QPushButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }

    QImage shown(const char* view) {
        auto* widget = window->findChild<PictureWidget*>(QString::fromLatin1(view));
        return widget->grab().toImage();
    }

    // The next modal window is expected to be a box; its caption and text are recorded, then
    // it is closed with Enter.
    struct Box {
        QString caption;
        QString text;
        bool error_icon = false;
        NoticeIcon notice_icon = NoticeIcon::none;
    };
    Box* expect_box() {
        auto box = std::make_shared<Box>();
        last_box_ = box;
        boxes.add([box](QWidget& w) {
            box->caption = w.windowTitle();
            if (auto* report = qobject_cast<QMessageBox*>(&w)) {
                box->text = report->text();
                box->error_icon = report->icon() == QMessageBox::Critical;
            } else if (auto* notice = qobject_cast<NoticeBox*>(&w)) {
                box->text = notice->message().text();
                box->notice_icon = notice->icon_kind();
            }
            QTest::keyClick(&w, Qt::Key_Return);
        });
        return box.get();
    }

private:
    std::shared_ptr<Box> last_box_;
};

}  // namespace vlt::testing

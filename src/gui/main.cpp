// The program entry: builds the application, opens the main window with the files it was given
// and runs until it closes.

#include <QApplication>
#include <QTimer>
#include <system_error>
#include <vector>

#include "gui/app_title.h"
#include "gui/main_window.h"

namespace {

// The files named on the command line, relative ones taken from the folder the program was
// started in: the window then moves to its start-up folder.
std::vector<std::filesystem::path> given_files() {
    std::vector<std::filesystem::path> files;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const std::filesystem::path file(arguments[i].toStdU16String());
        std::error_code ignored;
        const std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
        files.push_back(absolute.empty() ? file : absolute);
    }
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString executable = QCoreApplication::applicationFilePath();
    const std::vector<std::filesystem::path> files = given_files();
    vlt::MainWindow window({
        .title = QString::fromStdString(vlt::application_title(executable.toStdString())),
        .executable = std::filesystem::path(executable.toStdU16String()),
        .chooser = nullptr,
    });
    window.show();
    // Once the window is up, so that a notice about a file stands in front of it.
    if (!files.empty()) {
        QTimer::singleShot(0, &window, [&window, &files] { window.open_files(files); });
    }
    return QApplication::exec();
}

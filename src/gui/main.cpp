// The program entry: builds the application, opens the main window and runs until it closes.

#include <QApplication>

#include "gui/app_title.h"
#include "gui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString executable = QCoreApplication::applicationFilePath();
    vlt::MainWindow window({
        .title = QString::fromStdString(vlt::application_title(executable.toStdString())),
        .executable = std::filesystem::path(executable.toStdU16String()),
        .chooser = nullptr,
    });
    window.show();
    return QApplication::exec();
}

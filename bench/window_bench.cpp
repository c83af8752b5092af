// The window as a person meets it, on Qt's offscreen platform (or any QT_QPA_PLATFORM given):
//   vlt_window_bench first-paint      starts, shows the window and ends once every picture view
//                                     has painted: hyperfine times the whole process; the
//                                     program prints the time from main() to that paint.
//   vlt_window_bench import [RUNS]    times a bigf import in the window, from the command to
//                                     the bigf view painted again: the typical 256 x 1152
//                                     picture of 100 colours (no warning box), read from
//                                     /dev/shm; prints the median and the fastest run.
// Built with the benchmarks when the window is (bench/window.sh runs both).
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "gui/main_window.h"
#include "gui/picture_widget.h"
#include "pictures/bmp_writer.h"

namespace vlt::bench {
namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point started = Clock::now();

double ms_since(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Counts the paint events of the picture views.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(MainWindow& window) {
        for (PictureWidget* view : window.findChildren<PictureWidget*>()) {
            view->installEventFilter(this);
            painted_.push_back({view, 0});
        }
    }
    bool all_painted() const {
        return std::all_of(painted_.begin(), painted_.end(), [](auto& p) { return p.second > 0; });
    }
    int paints_of(const QString& name) const {
        for (const auto& [view, count] : painted_) {
            if (view->objectName() == name) {
                return count;
            }
        }
        return 0;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (auto& [view, count] : painted_) {
                count += view == object ? 1 : 0;
            }
        }
        return false;
    }

private:
    std::vector<std::pair<QObject*, int>> painted_;
};

std::unique_ptr<MainWindow> open_window(const ScratchDir& dir) {
    std::filesystem::create_directories(dir / "bin");
    auto window = std::make_unique<MainWindow>(
        WindowSetup{"vosk-land-texture", dir / "bin" / "vosk-land-texture", nullptr,
                    QString::fromStdU16String((dir / "settings.ini").u16string())});
    window->show();
    return window;
}

// Events are handled until the condition holds, without sleeping between them, so that no
// wait of the event loop is timed; the events a paint leaves are handled too.
template <typename Done>
void process_until(Done done) {
    while (!done()) {
        QApplication::processEvents();
    }
    QApplication::processEvents();
}

int first_paint() {
    const ScratchDir dir;
    auto window = open_window(dir);
    const PaintWatch watch(*window);
    process_until([&] { return watch.all_painted(); });
    std::printf("first paint of every view %.2f ms after main()\n", ms_since(started));
    return 0;
}

int import(int runs) {
    const ScratchDir dir;
    const auto picture = dir / "typical.bmp";
    Bitmap typical = bigf_typical_picture();
    write_bytes(picture, encode_bmp(typical));
    auto window = open_window(dir);
    const PaintWatch watch(*window);
    process_until([&] { return watch.all_painted(); });
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const int before = watch.paints_of(QStringLiteral("bigf"));
        const auto start = Clock::now();
        window->run(Command::import_bigf_from_bitmap, picture);
        process_until([&] { return watch.paints_of(QStringLiteral("bigf")) > before; });
        times.push_back(ms_since(start));
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "bigf import in the window, to the view painted: median %.2f ms, fastest %.2f ms "
        "(%d runs)\n",
        times[times.size() / 2], times.front(), runs);
    return 0;
}

}  // namespace
}  // namespace vlt::bench

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "first-paint") {
        return vlt::bench::first_paint();
    }
    if (what == "import") {
        return vlt::bench::import(argc > 2 ? std::max(1, std::atoi(argv[2])) : 30);
    }
    std::fprintf(stderr, "usage: vlt_window_bench first-paint | import [RUNS]\n");
    return 2;
}

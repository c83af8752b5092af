// Painting the bigf view into a screen image, as the window does when it is shown or scrolled:
// Qt's offscreen platform, so no display is needed.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <memory>

#include "bench_inputs.h"
#include "gui/picture_image.h"
#include "gui/picture_widget.h"
#include "pictures/drawing.h"

namespace vlt::bench {
namespace {

void ensure_application() {
    static int argc = 1;
    static char name[] = "vlt_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication application(argc, argv);
}

// A bigf view as a command leaves it: its own display-format picture, drawn from the indices.
struct DrawnBigf {
    DrawnBigf() {
        const auto workspace = std::make_unique<Workspace>(random_workspace());
        bigf_redraw(*workspace, view);
    }
    View view{"bigf", bigf_width, bigf_height};
};

// The whole widget, through its paint event, into an image of its size.
void bigf_paint(benchmark::State& state) {
    ensure_application();
    DrawnBigf bigf;
    PictureWidget widget(bigf.view, nullptr);
    QImage target(widget.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(bigf_paint)->Unit(benchmark::kMicrosecond);

// Only the step that turns the picture into a screen image.
void bigf_picture_image(benchmark::State& state) {
    ensure_application();
    DrawnBigf bigf;
    for (auto _ : state) {
        const QImage image =
            picture_image(*bigf.view.bitmap(), QRect(0, 0, bigf_width, bigf_height));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(bigf_picture_image)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vlt::bench

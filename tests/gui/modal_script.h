#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace vlt::testing {

// Answers the modal windows that code under test opens and waits in: each modal window that
// comes up is handed to the next step of the script, which inspects it and closes it. A modal
// window beyond the script is counted and rejected, so that a test never hangs.
class ModalScript {
public:
    using Step = std::function<void(QWidget&)>;

    explicit ModalScript(std::deque<Step> steps = {}) : steps_(std::move(steps)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

    void add(Step step) { steps_.push_back(std::move(step)); }
    int shown() const { return shown_; }
    int unexpected() const { return unexpected_; }
    bool done() const { return steps_.empty(); }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || handled(modal)) {
            return;
        }
        // A window stays on the list while it lives: a dialog that comes back to the top after
        // a nested box closes is not a new one.
        seen_.emplace_back(modal);
        ++shown_;
        if (steps_.empty()) {
            ++unexpected_;
            QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
            return;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step(*modal);
    }

    bool handled(QWidget* modal) const {
        return std::any_of(seen_.begin(), seen_.end(),
                           [modal](const QPointer<QWidget>& seen) { return seen == modal; });
    }

    std::deque<Step> steps_;
    QTimer timer_;
    std::vector<QPointer<QWidget>> seen_;
    int shown_ = 0;
    int unexpected_ = 0;
};

}  // namespace vlt::testing

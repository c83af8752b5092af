#pragma once

#include <QWidget>
#include <functional>

#include "pictures/view.h"

namespace vlt {

// Shows one view's picture at its own size from the top-left corner, clipped to the widget,
// over the window's background; a view without a picture, or with the empty one, shows only
// the background.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    PictureWidget(View& view, QWidget* parent);

    View& view() const { return view_; }
    // What a double click with the left button does (the window opens the inspector).
    void set_double_click_action(std::function<void()> action) {
        double_click_ = std::move(action);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    View& view_;
    std::function<void()> double_click_;
};

}  // namespace vlt

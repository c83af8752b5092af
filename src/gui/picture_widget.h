#pragma once

#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    View& view_;
};

}  // namespace vlt

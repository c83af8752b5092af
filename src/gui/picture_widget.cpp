#include "gui/picture_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "gui/picture_image.h"

namespace vlt {

PictureWidget::PictureWidget(View& view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName(QString::fromStdString(view.name()));
    setFixedSize(view.width(), view.height());
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (double_click_ && event->button() == Qt::LeftButton) {
        double_click_();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    const Bitmap* picture = view_.bitmap();
    if (picture == nullptr) {
        return;
    }
    // Only the part that needs painting is converted: scrolling exposes a strip at a time.
    const QRect area = event->rect().intersected(rect());
    const QImage image = picture_image(*picture, area);
    if (image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(area.topLeft(), image);
}

}  // namespace vlt

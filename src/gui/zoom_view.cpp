#include "gui/zoom_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>

namespace vlt {
namespace {

// Whole numbers only, so that every texel is a block of the same size.
constexpr std::array<int, 8> zoom_steps{1, 2, 3, 4, 6, 8, 12, 16};
constexpr int wheel_notch = 120;

}  // namespace

ZoomView::ZoomView(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

int ZoomView::zoom_in_from(int zoom) {
    const auto* next = std::upper_bound(zoom_steps.begin(), zoom_steps.end(), zoom);
    return next == zoom_steps.end() ? max_zoom : *next;
}

int ZoomView::zoom_out_from(int zoom) {
    const auto* at = std::lower_bound(zoom_steps.begin(), zoom_steps.end(), zoom);
    return at == zoom_steps.begin() ? min_zoom : *(at - 1);
}

void ZoomView::set_image(QImage image) {
    const bool resized = image.size() != image_.size();
    image_ = std::move(image);
    if (resized) {
        update_scroll_bars();
    }
    viewport()->update();
}

void ZoomView::set_outlined(std::vector<bool> texels) {
    outlined_ = std::move(texels);
    viewport()->update();
}

QSize ZoomView::content_size() const {
    const int tiles = tiled_ ? 2 : 1;
    return image_.size() * tiles * zoom_;
}

QPoint ZoomView::scroll_offset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void ZoomView::update_scroll_bars() {
    const QSize content = content_size();
    const QSize shown = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - shown.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - shown.height()));
    horizontalScrollBar()->setPageStep(shown.width());
    verticalScrollBar()->setPageStep(shown.height());
    horizontalScrollBar()->setSingleStep(std::max(zoom_ * 4, 16));
    verticalScrollBar()->setSingleStep(std::max(zoom_ * 4, 16));
}

void ZoomView::set_zoom(int zoom, std::optional<QPoint> anchor) {
    zoom = std::clamp(zoom, min_zoom, max_zoom);
    if (zoom == zoom_) {
        return;
    }
    // Without an anchor, the middle of the part of the picture in sight stays in sight.
    const QSize whole = content_size();
    const QSize seen = viewport()->size().boundedTo(whole - QSize(scroll_offset().x(),
                                                                  scroll_offset().y()));
    const QPoint at = anchor.value_or(QRect(QPoint(0, 0), seen).center());
    // The content point under the anchor, in texels, before the change; where the picture
    // ends before the anchor, its nearest point.
    const QPoint content = at + scroll_offset();
    const QPointF texel = QPointF(std::min(content.x(), whole.width()),
                                  std::min(content.y(), whole.height())) /
                          zoom_;
    zoom_ = zoom;
    update_scroll_bars();
    const QPointF kept = texel * zoom_ - QPointF(at);
    horizontalScrollBar()->setValue(static_cast<int>(kept.x()));
    verticalScrollBar()->setValue(static_cast<int>(kept.y()));
    viewport()->update();
    emit zoom_changed(zoom_);
}

void ZoomView::fit() {
    if (image_.isNull()) {
        return;
    }
    const int tiles = tiled_ ? 2 : 1;
    // The scroll bars go once it fits, so the whole area counts.
    const QSize room = size() - QSize(2 * frameWidth(), 2 * frameWidth());
    const int across = room.width() / (image_.width() * tiles);
    const int down = room.height() / (image_.height() * tiles);
    set_zoom(std::clamp(std::min(across, down), min_zoom, max_zoom));
}

void ZoomView::set_grid(bool on) {
    grid_ = on;
    viewport()->update();
}

void ZoomView::set_tiled(bool on) {
    tiled_ = on;
    update_scroll_bars();
    viewport()->update();
}

QPoint ZoomView::texel_at(QPoint viewport_point) const {
    const QPoint content = viewport_point + scroll_offset();
    if (image_.isNull() || content.x() < 0 || content.y() < 0) {
        return {-1, -1};
    }
    const QSize whole = content_size();
    if (content.x() >= whole.width() || content.y() >= whole.height()) {
        return {-1, -1};
    }
    return {(content.x() / zoom_) % image_.width(), (content.y() / zoom_) % image_.height()};
}

void ZoomView::paintEvent(QPaintEvent* event) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(viewport());
    const QPoint scroll = scroll_offset();
    painter.translate(-scroll);
    const QRect area = event->rect().translated(scroll);
    const QSize tile = image_.size() * zoom_;
    const int tiles = tiled_ ? 2 : 1;
    for (int ty = 0; ty < tiles; ++ty) {
        for (int tx = 0; tx < tiles; ++tx) {
            const QPoint origin(tx * tile.width(), ty * tile.height());
            const QRect part = area.intersected(QRect(origin, tile));
            if (part.isEmpty()) {
                continue;
            }
            // Only the texels in the exposed part, each scaled to its block; the painter's
            // default of no smoothing keeps the blocks crisp.
            const QRect texels(QPoint((part.left() - origin.x()) / zoom_,
                                      (part.top() - origin.y()) / zoom_),
                               QPoint((part.right() - origin.x()) / zoom_,
                                      (part.bottom() - origin.y()) / zoom_));
            const QRect target(origin + texels.topLeft() * zoom_, texels.size() * zoom_);
            painter.drawImage(target, image_, texels);
            paint_outlines(painter, texels, origin);
        }
    }
    if (grid_shown()) {
        paint_grid(painter, area.intersected(QRect(QPoint(0, 0), content_size())));
    }
}

void ZoomView::paint_grid(QPainter& painter, const QRect& area) const {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(QColor(128, 128, 128, 160));
    const int first_x = area.left() - area.left() % zoom_;
    for (int x = first_x; x <= area.right(); x += zoom_) {
        painter.drawLine(x, area.top(), x, area.bottom());
    }
    const int first_y = area.top() - area.top() % zoom_;
    for (int y = first_y; y <= area.bottom(); y += zoom_) {
        painter.drawLine(area.left(), y, area.right(), y);
    }
}

// Outlined texels are inverted in colour, so they stand out whatever the texture holds: at small
// zooms the whole block, from 3x its edge.
void ZoomView::paint_outlines(QPainter& painter, const QRect& texels, QPoint origin) const {
    if (outlined_.size() != static_cast<std::size_t>(image_.width() * image_.height())) {
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    for (int y = texels.top(); y <= texels.bottom(); ++y) {
        for (int x = texels.left(); x <= texels.right(); ++x) {
            if (!outlined_[static_cast<std::size_t>(y * image_.width() + x)]) {
                continue;
            }
            const QRect block(origin + QPoint(x, y) * zoom_, QSize(zoom_, zoom_));
            if (zoom_ < 3) {
                painter.fillRect(block, Qt::white);
            } else {
                painter.drawRect(block.adjusted(0, 0, -1, -1));
            }
        }
    }
    painter.restore();
}

void ZoomView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_bars();
}

void ZoomView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int notches = event->angleDelta().y() / wheel_notch;
    int zoom = zoom_;
    for (int i = 0; i < std::abs(notches); ++i) {
        zoom = notches > 0 ? zoom_in_from(zoom) : zoom_out_from(zoom);
    }
    set_zoom(zoom, event->position().toPoint());
    event->accept();
}

void ZoomView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    drag_from_ = event->position().toPoint();
    drag_scroll_ = scroll_offset();
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void ZoomView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_from_) {
        const QPoint moved = drag_scroll_ - (at - *drag_from_);
        horizontalScrollBar()->setValue(moved.x());
        verticalScrollBar()->setValue(moved.y());
    }
    emit hovered(texel_at(at));
    QAbstractScrollArea::mouseMoveEvent(event);
}

void ZoomView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && drag_from_) {
        drag_from_.reset();
        viewport()->unsetCursor();
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void ZoomView::leaveEvent(QEvent* event) {
    emit hovered({-1, -1});
    QAbstractScrollArea::leaveEvent(event);
}

}  // namespace vlt

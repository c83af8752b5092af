#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <optional>
#include <vector>

namespace vlt {

// A texture close up: each texel a crisp square block of zoom x zoom screen pixels, never
// smoothed, with a pixel grid from 8x on when asked for, and optionally the texture four times
// (2 x 2) to show the seams where it repeats. The wheel scrolls, Ctrl+wheel zooms about the
// pointer, dragging with the middle button moves the picture.
class ZoomView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int min_zoom = 1;
    static constexpr int max_zoom = 16;
    static constexpr int grid_from = 8;

    explicit ZoomView(QWidget* parent = nullptr);

    // What is shown: the texture as a picture of the texture's size (null: nothing to show).
    void set_image(QImage image);
    const QImage& image() const { return image_; }
    // Texels to outline, one flag per texel in scan order; empty outlines nothing.
    void set_outlined(std::vector<bool> texels);

    int zoom() const { return zoom_; }
    // The next zoom up or down the steps, and one that lies between them goes to its neighbour.
    static int zoom_in_from(int zoom);
    static int zoom_out_from(int zoom);
    // Keeps the texel under `anchor` (viewport coordinates; the centre when none) in place.
    void set_zoom(int zoom, std::optional<QPoint> anchor = std::nullopt);
    void zoom_in() { set_zoom(zoom_in_from(zoom_)); }
    void zoom_out() { set_zoom(zoom_out_from(zoom_)); }
    // The largest zoom at which the whole picture (tiled or not) fits the viewport, at least 1x.
    void fit();

    bool grid() const { return grid_; }
    bool grid_shown() const { return grid_ && zoom_ >= grid_from; }
    void set_grid(bool on);
    bool tiled() const { return tiled_; }
    void set_tiled(bool on);

    // The texel under a viewport point, wrapped into the texture where tiled; (-1, -1) outside.
    QPoint texel_at(QPoint viewport_point) const;

signals:
    void zoom_changed(int zoom);
    // The texel under the pointer, (-1, -1) when there is none.
    void hovered(QPoint texel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QSize content_size() const;
    void update_scroll_bars();
    QPoint scroll_offset() const;
    void paint_grid(QPainter& painter, const QRect& area) const;
    void paint_outlines(QPainter& painter, const QRect& area, QPoint origin) const;

    QImage image_;
    std::vector<bool> outlined_;
    int zoom_ = 1;
    bool grid_ = true;
    bool tiled_ = false;
    std::optional<QPoint> drag_from_;
    QPoint drag_scroll_;
};

}  // namespace vlt

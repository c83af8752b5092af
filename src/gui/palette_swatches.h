#pragma once

#include <QStringList>
#include <QWidget>

#include "pictures/entry_uses.h"
#include "workspace/workspace.h"

namespace vlt {

// The 256 palette entries as swatches in palette grid order, each with its index, marked in a
// corner when the bigf texture (top right) or the cliff texture (bottom right) uses it; the
// tooltip gives the use counts. Hovering names the entry; double-clicking asks to change it.
class PaletteSwatches : public QWidget {
    Q_OBJECT
public:
    static constexpr int cell = 34;      // a swatch and the gap around it
    static constexpr int swatch = 30;    // well above 16 x 16, room for a three-digit index
    static constexpr int per_row = 16;

    explicit PaletteSwatches(QWidget* parent = nullptr);

    void set_palette(const Palette& colors, const EntryCounts& bigf, const EntryCounts& cliff);
    // The entry whose swatch holds a point, or -1 between and outside the swatches.
    static int entry_at(QPoint point);
    // The swatch of an entry, in widget coordinates.
    static QRect swatch_rect(int entry);
    int hovered_entry() const { return hovered_; }
    // "entry 14 (96, 72, 40): 1,234 bigf pixels, 56 cliff pixels", as the status line says it.
    QString entry_text(int entry) const;

signals:
    // The entry under the pointer; -1 when the pointer leaves the swatches.
    void entry_hovered(int entry);
    void entry_activated(int entry);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paint_swatch(QPainter& painter, int entry) const;
    void hover(int entry);
    // The entry with its colour, its bigf use and its cliff use.
    QStringList entry_facts(int entry) const;

    Palette colors_{};
    EntryCounts bigf_{};
    EntryCounts cliff_{};
    int hovered_ = -1;
};

}  // namespace vlt

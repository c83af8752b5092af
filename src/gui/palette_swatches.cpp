#include "gui/palette_swatches.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "base/count_text.h"

namespace vlt {
namespace {

QColor shown_color(Color color) {
    // Only the low 24 bits are colour; a palette file may fill the top byte.
    return {red_of(color), green_of(color), blue_of(color)};
}

// Black or white, whichever reads better on the colour.
QColor ink_on(Color color) {
    const int lightness = 299 * red_of(color) + 587 * green_of(color) + 114 * blue_of(color);
    return lightness > 128'000 ? Qt::black : Qt::white;
}

constexpr int mark_size = 8;

}  // namespace

PaletteSwatches::PaletteSwatches(QWidget* parent) : QWidget(parent) {
    setFixedSize(per_row * cell, per_row * cell);
    setMouseTracking(true);
}

void PaletteSwatches::set_palette(const Palette& colors, const EntryCounts& bigf,
                                  const EntryCounts& cliff) {
    colors_ = colors;
    bigf_ = bigf;
    cliff_ = cliff;
    update();
}

int PaletteSwatches::entry_at(QPoint point) {
    if (point.x() < 0 || point.y() < 0) {
        return -1;
    }
    const int column = point.x() / cell;
    const int row = point.y() / cell;
    if (column >= per_row || row >= per_row) {
        return -1;
    }
    const int entry = row * per_row + column;
    return swatch_rect(entry).contains(point) ? entry : -1;
}

QRect PaletteSwatches::swatch_rect(int entry) {
    const int gap = (cell - swatch) / 2;
    return {(entry % per_row) * cell + gap, (entry / per_row) * cell + gap, swatch, swatch};
}

QStringList PaletteSwatches::entry_facts(int entry) const {
    const auto i = static_cast<std::size_t>(entry);
    const Color color = colors_[i];
    return {QStringLiteral("entry %1 (%2, %3, %4)")
                .arg(entry)
                .arg(red_of(color))
                .arg(green_of(color))
                .arg(blue_of(color)),
            QString::fromStdString(counted(bigf_[i], "bigf pixel", "bigf pixels")),
            QString::fromStdString(counted(cliff_[i], "cliff pixel", "cliff pixels"))};
}

QString PaletteSwatches::entry_text(int entry) const {
    const QStringList facts = entry_facts(entry);
    return facts[0] + QStringLiteral(": ") + facts[1] + QStringLiteral(", ") + facts[2];
}

void PaletteSwatches::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont small = font();
    small.setPixelSize(10);
    painter.setFont(small);
    for (int entry = 0; entry < palette_size; ++entry) {
        paint_swatch(painter, entry);
    }
    if (hovered_ >= 0) {
        painter.setPen(QPen(palette().highlight(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch_rect(hovered_).adjusted(-1, -1, 1, 1));
    }
}

void PaletteSwatches::paint_swatch(QPainter& painter, int entry) const {
    const auto i = static_cast<std::size_t>(entry);
    const QRect area = swatch_rect(entry);
    painter.fillRect(area, shown_color(colors_[i]));
    const QColor ink = ink_on(colors_[i]);
    painter.setPen(ink);
    painter.drawText(area, Qt::AlignCenter, QString::number(entry));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const QPoint right_top = area.topRight() + QPoint(1, 0);
    const QPoint right_bottom = area.bottomRight() + QPoint(1, 1);
    if (bigf_[i] > 0) {
        painter.drawPolygon(QPolygon({right_top, right_top - QPoint(mark_size, 0),
                                      right_top + QPoint(0, mark_size)}));
    }
    if (cliff_[i] > 0) {
        painter.drawPolygon(QPolygon({right_bottom, right_bottom - QPoint(mark_size, 0),
                                      right_bottom - QPoint(0, mark_size)}));
    }
}

bool PaletteSwatches::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int entry = entry_at(help->pos());
    if (entry < 0) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), entry_facts(entry).join(QLatin1Char('\n')),
                           this, swatch_rect(entry));
    }
    return true;
}

void PaletteSwatches::hover(int entry) {
    if (entry == hovered_) {
        return;
    }
    hovered_ = entry;
    update();
    emit entry_hovered(entry);
}

void PaletteSwatches::mouseMoveEvent(QMouseEvent* event) {
    hover(entry_at(event->position().toPoint()));
}

void PaletteSwatches::mouseDoubleClickEvent(QMouseEvent* event) {
    const int entry = entry_at(event->position().toPoint());
    if (event->button() == Qt::LeftButton && entry >= 0) {
        emit entry_activated(entry);
    }
}

void PaletteSwatches::leaveEvent(QEvent*) {
    hover(-1);
}

}  // namespace vlt

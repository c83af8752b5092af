#include "gui/screen_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vlt {

QRect screen_rect_of(const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace vlt

#include "gui/paint_link.h"

#include <QFile>
#include <QFileInfo>
#include <exception>

#include "pictures/picture_files.h"

namespace vlt {

PaintLink::PaintLink(std::filesystem::path file, WholeTest whole, Timing timing)
    : file_(std::move(file)),
      name_(QString::fromStdU16String(file_.u16string())),
      folder_(QString::fromStdU16String(file_.parent_path().u16string())),
      whole_(std::move(whole)),
      timing_(timing) {
    settle_.setSingleShot(true);
    settle_.setInterval(timing_.settle_ms);
    connect(&settle_, &QTimer::timeout, this, &PaintLink::on_settle);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &PaintLink::on_change);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &PaintLink::on_change);
    known_ = read_bytes();
    last_ = sample();
    watch();
}

QByteArray PaintLink::read_bytes() const {
    QFile file(name_);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

PaintLink::Sample PaintLink::sample() const {
    const QFileInfo info(name_);
    if (!info.exists()) {
        return {};
    }
    return {true, info.size(), info.lastModified()};
}

// A file that was replaced, or removed and written anew, has left the watcher's list.
void PaintLink::watch() {
    if (!watcher_.directories().contains(folder_) && !folder_.isEmpty()) {
        watcher_.addPath(folder_);
    }
    if (!watcher_.files().contains(name_) && QFileInfo::exists(name_)) {
        watcher_.addPath(name_);
    }
}

void PaintLink::on_change() {
    watch();
    // Every change starts the wait anew; the timer then compares with what it sees here.
    last_ = sample();
    settle_.start();
}

void PaintLink::on_settle() {
    watch();
    const Sample now = sample();
    if (now != last_) {
        last_ = now;
        settle_.start();
        return;
    }
    if (!now.exists) {
        return;  // the folder's watch tells when it is back
    }
    const QByteArray bytes = read_bytes();
    if (bytes == known_) {
        unreadable_.invalidate();
        return;
    }
    if (!whole_(file_)) {
        // Perhaps the first part of a save: keep looking until it stays so.
        if (!unreadable_.isValid()) {
            unreadable_.start();
        }
        if (unreadable_.elapsed() < timing_.give_up_ms) {
            settle_.start();
            return;
        }
    }
    unreadable_.invalidate();
    known_ = bytes;
    emit saved();
}

bool reads_as_whole_picture(const std::filesystem::path& file) {
    try {
        const LoadedPicture loaded = read_bitmap_file(file);
        return loaded.has_pixels() && loaded.missing_pixel_bytes == 0;
    } catch (const std::exception&) {
        return false;
    }
}

bool is_true_colour_picture(const std::filesystem::path& file) {
    try {
        const LoadedPicture loaded = read_bitmap_file(file);
        return loaded.has_pixels() &&
               (loaded.bitmap.bits_per_pixel() > 8 || loaded.bitmap.color_table().empty());
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace vlt

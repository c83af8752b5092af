#include "gui/paint_link.h"

#include <QFile>
#include <QFileInfo>
#include <exception>

#include "pictures/picture_files.h"

namespace vlt {

PaintLink::PaintLink(std::filesystem::path file, Inspect inspect, Timing timing)
    : file_(std::move(file)),
      name_(QString::fromStdU16String(file_.u16string())),
      folder_(QString::fromStdU16String(file_.parent_path().u16string())),
      inspect_(std::move(inspect)),
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
    const SavedPicture picture = inspect_(file_);
    if (picture == SavedPicture::incomplete) {
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
    emit saved(picture == SavedPicture::true_colour);
}

SavedPicture inspect_saved_picture(const std::filesystem::path& file) {
    try {
        const LoadedPicture loaded = read_bitmap_file(file);
        if (!loaded.has_pixels() || loaded.missing_pixel_bytes != 0) {
            return SavedPicture::incomplete;
        }
        const Bitmap& picture = loaded.bitmap;
        return picture.bits_per_pixel() > 8 || picture.color_table().empty()
                   ? SavedPicture::true_colour
                   : SavedPicture::indexed;
    } catch (const std::exception&) {
        return SavedPicture::incomplete;
    }
}

}  // namespace vlt

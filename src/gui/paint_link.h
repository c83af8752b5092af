#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>

namespace vlt {

// What a saved file holds, as far as an update needs to know.
enum class SavedPicture {
    incomplete,   // does not read as a whole picture: perhaps still being written
    indexed,      // 8 bits per pixel or fewer, with a colour table
    true_colour,  // more bits per pixel, or no colour table
};

struct PaintLinkTiming {
    int settle_ms = 300;    // the file must keep its size and time this long
    int give_up_ms = 2000;  // a file that stays unreadable this long is taken as it is
};

// Watches one picture file that a paint program saves, and says when a save is complete: the
// file has kept its size and time for a while and reads as a whole picture. Paint programs
// write in place, in several goes, or to another name that then replaces the file; the folder
// is watched too, so that a replaced file is found again, and the file is checked on a timer
// meanwhile, so that a late part of a save is not missed.
class PaintLink : public QObject {
    Q_OBJECT
public:
    // What the file's bytes make; a file that is incomplete may still be being written.
    using Inspect = std::function<SavedPicture(const std::filesystem::path&)>;

    using Timing = PaintLinkTiming;

    // The file's present bytes count as known: only a save that differs from them is told.
    PaintLink(std::filesystem::path file, Inspect inspect, Timing timing = {});

    const std::filesystem::path& file() const { return file_; }
    // Bytes this program wrote itself (its own export), which are not a save to import.
    void set_known_bytes(QByteArray bytes) { known_ = std::move(bytes); }
    // The file's bytes as read now; empty when it does not read.
    QByteArray read_bytes() const;

signals:
    // A save is complete (or has stayed unreadable past the wait): its bytes differ from the
    // last ones known, which they now are. It holds a picture of more than 8 bits per pixel.
    void saved(bool true_colour);

private:
    struct Sample {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;

        bool operator==(const Sample&) const = default;
    };

    Sample sample() const;
    void watch();
    void on_change();
    void on_settle();

    std::filesystem::path file_;
    QString name_;    // the file as Qt names it
    QString folder_;  // its folder, as Qt names it
    Inspect inspect_;
    Timing timing_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    Sample last_;
    QByteArray known_;
    QElapsedTimer unreadable_;  // running while the file stays unreadable
};

// The file read as the imports read it: incomplete unless it is a picture with none of its
// pixels missing.
SavedPicture inspect_saved_picture(const std::filesystem::path& file);

}  // namespace vlt

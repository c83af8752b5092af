#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vlt {

class PaintLinks;

// View > Paint-program links: the live links, each with its texture and file, and buttons to
// stop the one chosen or all. The list follows the links while it is open.
class PaintLinksDialog : public QDialog {
    Q_OBJECT
public:
    PaintLinksDialog(PaintLinks& links, QWidget* owner);

private:
    void fill();

    PaintLinks& links_;
    QListWidget* list_;
    QPushButton* stop_;
    QPushButton* stop_all_;
};

}  // namespace vlt

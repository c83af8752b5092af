#include "gui/paint_links_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/paint_links.h"

namespace vlt {

PaintLinksDialog::PaintLinksDialog(PaintLinks& links, QWidget* owner)
    : QDialog(owner),
      links_(links),
      list_(new QListWidget),
      stop_(new QPushButton(QStringLiteral("&Stop link"))),
      stop_all_(new QPushButton(QStringLiteral("Stop &all"))) {
    setObjectName(QStringLiteral("PaintLinks"));
    setWindowTitle(QStringLiteral("Paint-program links"));
    list_->setObjectName(QStringLiteral("links"));
    stop_->setObjectName(QStringLiteral("stop"));
    stop_all_->setObjectName(QStringLiteral("stop_all"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(stop_, QDialogButtonBox::ActionRole);
    buttons->addButton(stop_all_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = list_->currentItem()) {
            links_.stop(static_cast<PaintTexture>(item->data(Qt::UserRole).toInt()));
        }
    });
    connect(stop_all_, &QPushButton::clicked, this, [this] { links_.stop_all(); });
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { stop_->setEnabled(row >= 0); });
    connect(&links_, &PaintLinks::links_changed, this, &PaintLinksDialog::fill);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(
        "Each file is watched: a save in the paint program updates its texture.")));
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(520, 220);
    fill();
}

void PaintLinksDialog::fill() {
    list_->clear();
    for (const PaintLinks::Link& link : links_.links()) {
        auto* item = new QListWidgetItem(
            texture_name(link.texture) + QStringLiteral(": ") +
                QDir::toNativeSeparators(QString::fromStdU16String(link.file.u16string())),
            list_);
        item->setData(Qt::UserRole, static_cast<int>(link.texture));
    }
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    } else {
        list_->addItem(QStringLiteral("(no live link)"));
        list_->item(0)->setFlags(Qt::NoItemFlags);
    }
    stop_->setEnabled(list_->currentRow() >= 0 && !links_.links().empty());
    stop_all_->setEnabled(!links_.links().empty());
}

}  // namespace vlt

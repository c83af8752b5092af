#include "gui/dither_box.h"

namespace vlt {

DitherBox::DitherBox(QWidget* parent) : QCheckBox(QStringLiteral("Dither reductions"), parent) {
    setObjectName(QStringLiteral("dither"));
    setToolTip(QStringLiteral(
        "Import BMP reducing colours (the bigf view's menu) spreads each pixel's error over its "
        "neighbours"));
}

Command DitherBox::applied_to(Command command) const {
    if (command == Command::import_bigf_reduced && isChecked()) {
        return Command::import_bigf_reduced_dithered;
    }
    return command;
}

}  // namespace vlt

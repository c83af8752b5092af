#pragma once

#include <QCheckBox>

#include "commands/texture_editor.h"

namespace vlt {

// The window's "Dither reductions" check box, off at start: whether the bigf import that reduces
// colours spreads each pixel's error over its neighbours.
class DitherBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DitherBox(QWidget* parent);

    // The command to run for one chosen: the reducing import dithered while the box is ticked.
    Command applied_to(Command command) const;
};

}  // namespace vlt

#pragma once

#include <QImage>
#include <QRect>

#include "pictures/bitmap.h"

namespace vlt {

// The part of a picture within area (in picture pixels, clipped to the picture) as a screen
// image whose pixel (0, 0) is the clipped area's top-left pixel. A picture with a colour table
// shows its table's colours. A null image when nothing of the picture lies in the area.
QImage picture_image(const Bitmap& picture, const QRect& area);

}  // namespace vlt

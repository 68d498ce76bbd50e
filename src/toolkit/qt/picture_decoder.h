#pragma once
// Picture files read by Qt's image readers: PNG, BMP and GIF (the first frame), recognised by
// their content. Needs no QApplication and no display, so the command line uses it as well as the
// Qt toolkit.

#include <cstdint>
#include <span>

#include "model/picture.h"

namespace fontarel {

// The picture in the bytes; false, leaving `out` as it was, when Qt reads none or it has more than
// kPictureMostPixels. Transparency is dropped the way Qt converts to opaque pixels.
bool decode_picture_with_qt(std::span<const uint8_t> bytes, Picture& out);

} // namespace fontarel

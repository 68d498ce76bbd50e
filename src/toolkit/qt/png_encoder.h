#pragma once
// PNG files by Qt's image writer. Needs no QApplication and no display, so the command line uses
// it as well as the Qt toolkit.

#include <cstdint>
#include <vector>

#include "toolkit/raster.h"

namespace fontarel {

// The bytes of a PNG file of the raster (8-bit RGB, no transparency); empty when Qt cannot write
// one.
std::vector<uint8_t> encode_png_with_qt(const Raster& raster);

} // namespace fontarel

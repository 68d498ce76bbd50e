#pragma once
// A decoded picture as the importers take it. Decoding a picture file is the platform's work; the
// model only reads the colour values.

#include <cstdint>
#include <vector>

namespace fontarel {

// Width x height colour values, rows top-down, each red + 256 * green + 65536 * blue (the
// program's colour values). A picture is whole when `pixels` holds exactly width * height values.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<int32_t> pixels;
};

// The most pixels a decoder gives: a charset picture of 32 x 32 picture pixels a glyph pixel
// (4096 x 4096). Larger pictures are refused before their pixels are held.
constexpr int64_t kPictureMostPixels = int64_t{4096} * 4096;

} // namespace fontarel

#pragma once
// How the importers decide which picture pixels are set (see picture_bits), as a rule worked out
// once for a whole picture and then asked pixel by pixel.

#include <cstdint>
#include <string>

#include "model/picture.h"

namespace fontarel {

class PixelRule {
  public:
    PixelRule(const Picture& picture, int32_t clear_colour, int32_t set_colour);

    bool set(int32_t pixel) const {
        if (!by_lightness_)
            return any_set_ && pixel == set_value_;
        const int64_t twice = 2 * lightness(pixel);
        return lighter_set_ ? twice > midpoint_twice_ : twice < midpoint_twice_;
    }
    // Calls `f` with a function object of a pixel that answers as set() does, chosen once, so
    // that a loop over pixels inside `f` tests no part of the rule.
    template <class F> void visit(F&& f) const {
        const int32_t value = set_value_;
        const int64_t midpoint = midpoint_twice_;
        if (!by_lightness_ && !any_set_)
            f([](int32_t) { return false; });
        else if (!by_lightness_)
            f([value](int32_t pixel) { return pixel == value; });
        else if (lighter_set_)
            f([midpoint](int32_t pixel) { return 2 * lightness(pixel) > midpoint; });
        else
            f([midpoint](int32_t pixel) { return 2 * lightness(pixel) < midpoint; });
    }
    // More than two colours in the picture.
    bool reduced() const { return by_lightness_; }

    // 1000 x perceived lightness: 299 R + 587 G + 114 B, 0 to 255000.
    static int64_t lightness(int32_t colour) {
        return 299 * (colour & 0xFF) + 587 * (colour >> 8 & 0xFF) + 114 * (colour >> 16 & 0xFF);
    }

  private:
    bool by_lightness_ = false;
    bool any_set_ = false;  // one or two colours: whether either is set
    int32_t set_value_ = 0; // one or two colours: the one that is set
    bool lighter_set_ = true;
    int64_t midpoint_twice_ = 0; // darkest + lightest lightness
};

// What the importers say when a picture has more than two colours.
inline const std::string kColoursReducedNote =
    "More than two colours: pixels set by their lightness";

// Whether a picture is whole: a positive size, its pixel count within kPictureMostPixels, and
// exactly that many colour values.
bool whole_picture(const Picture& picture);

} // namespace fontarel

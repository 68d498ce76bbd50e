// Picture files read by Qt's readers: a picture drawn by the test comes back pixel for pixel from
// the PNG Qt writes and the BMP the program writes, and bytes of no whole picture leave the
// picture as it was. (GIF: the command line's import test reads one.)

#include <gtest/gtest.h>

#include "toolkit/qt/picture_decoder.h"
#include "toolkit/qt/png_encoder.h"
#include "toolkit/raster.h"

namespace fontarel {
namespace {

TEST(PictureDecoder, ReadsPngAndBmpAndNothingElse) {
    Raster raster(9, 5, 0x102030);
    raster.fill_rect(2, 1, 3, 3, 0xFFFFFF);
    raster.set_pixel(8, 4, 0x0000FF);
    std::vector<uint8_t> png = encode_png_with_qt(raster);
    for (const auto& bytes : {png, encode_bmp(raster)}) {
        Picture picture;
        ASSERT_TRUE(decode_picture_with_qt(bytes, picture));
        EXPECT_EQ(picture.width, 9);
        EXPECT_EQ(picture.pixels, picture_of(raster).pixels);
    }
    png.resize(png.size() / 2);
    for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{'G', 'I', 'F'}, png}) {
        Picture kept{1, 1, {7}};
        EXPECT_FALSE(decode_picture_with_qt(bytes, kept)) << bytes.size() << " bytes";
        EXPECT_EQ(kept.pixels, std::vector<int32_t>{7});
    }
}

} // namespace
} // namespace fontarel

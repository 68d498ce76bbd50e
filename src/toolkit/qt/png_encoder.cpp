#include "toolkit/qt/png_encoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "toolkit/qt/qt_toolkit.h"

namespace fontarel {

std::vector<uint8_t> encode_png_with_qt(const Raster& raster) {
    if (raster.width() <= 0 || raster.height() <= 0)
        return {};
    // The raster's words are RGB32 already: wrap them without copying.
    const QImage image(raster.bytes(), raster.width(), raster.height(), raster.stride(),
                       QImage::Format_RGB32);
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return {reinterpret_cast<const uint8_t*>(data.constData()),
            reinterpret_cast<const uint8_t*>(data.constData()) + data.size()};
}

std::vector<uint8_t> QtToolkit::encode_png(const Raster& raster) {
    return encode_png_with_qt(raster);
}

} // namespace fontarel

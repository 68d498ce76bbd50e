#include "toolkit/qt/picture_decoder.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <climits>

#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/raster.h"

namespace fontarel {

namespace {

bool too_large(QSize size) {
    return int64_t{size.width()} * size.height() > kPictureMostPixels;
}

} // namespace

bool decode_picture_with_qt(std::span<const uint8_t> bytes, Picture& out) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX))
        return false;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    // The image libraries' own words about a broken file ("libpng error: Read Error", some
    // written straight to the standard error) are not the program's to show: the caller says in
    // one line that the file holds no picture. Standard error points nowhere while it is read.
    struct QuietStandardError {
        int saved = ::dup(STDERR_FILENO);
        QuietStandardError() {
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) {
                ::dup2(null, STDERR_FILENO);
                ::close(null);
            }
        }
        ~QuietStandardError() {
            if (saved >= 0) {
                std::fflush(stderr);
                ::dup2(saved, STDERR_FILENO);
                ::close(saved);
            }
        }
    } quiet;
    QImageReader reader(&buffer); // the format from the content
    // Refused by the size in the header where the format gives one, before any pixel is held.
    if (reader.size().isValid() && too_large(reader.size()))
        return false;
    const QImage read = reader.read();
    if (read.isNull() || too_large(read.size()))
        return false;
    const QImage image = read.convertToFormat(QImage::Format_RGB32);
    Picture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            picture.pixels.push_back(to_colour(line[x]));
    }
    out = std::move(picture);
    return true;
}

bool QtToolkit::decode_picture(std::span<const uint8_t> bytes, Picture& out) {
    return decode_picture_with_qt(bytes, out);
}

} // namespace fontarel

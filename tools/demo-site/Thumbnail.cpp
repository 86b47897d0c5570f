#include "Thumbnail.h"

#include <QBuffer>
#include <QImage>

namespace clipnab {

namespace {

constexpr int ThumbnailWidth = 120;
constexpr int ThumbnailHeight = 90;
constexpr int MarkHalfHeight = 14;

} // namespace

QByteArray placeholderThumbnail(const QString &id)
{
    const size_t hash = qHash(id);
    const int hue = static_cast<int>(hash % 360);
    QImage image(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB32);
    for (int y = 0; y < ThumbnailHeight; ++y) {
        const QRgb row = QColor::fromHsv(hue, 160, 220 - y).rgb();
        for (int x = 0; x < ThumbnailWidth; ++x)
            image.setPixel(x, y, row);
    }
    // A right-pointing triangle, one column at a time.
    const int left = ThumbnailWidth / 2 - MarkHalfHeight / 2;
    for (int dx = 0; dx <= MarkHalfHeight; ++dx) {
        const int half = MarkHalfHeight - dx;
        for (int y = ThumbnailHeight / 2 - half; y <= ThumbnailHeight / 2 + half; ++y)
            image.setPixel(left + dx, y, qRgb(255, 255, 255));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace clipnab

#include "Thumbnail.h"

#include <QBuffer>
#include <QImage>

namespace clipnab {

namespace {

constexpr int kThumbnailWidth = 120;
constexpr int kThumbnailHeight = 90;
constexpr int kMarkHalfHeight = 14;

} // namespace

QByteArray placeholderThumbnail(const QString &id)
{
    const size_t hash = qHash(id);
    const int hue = static_cast<int>(hash % 360);
    QImage image(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
    for (int y = 0; y < kThumbnailHeight; ++y) {
        const QRgb row = QColor::fromHsv(hue, 160, 220 - y).rgb();
        for (int x = 0; x < kThumbnailWidth; ++x)
            image.setPixel(x, y, row);
    }
    // A right-pointing triangle, one column at a time.
    const int left = kThumbnailWidth / 2 - kMarkHalfHeight / 2;
    for (int dx = 0; dx <= kMarkHalfHeight; ++dx) {
        const int half = kMarkHalfHeight - dx;
        for (int y = kThumbnailHeight / 2 - half; y <= kThumbnailHeight / 2 + half; ++y)
            image.setPixel(left + dx, y, qRgb(255, 255, 255));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace clipnab

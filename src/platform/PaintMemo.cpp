#include "platform/PaintMemo.h"

#include <cstring>

namespace clipnab {

bool imageHolds(const QImage &image, QPoint at, const QImage &patch)
{
    const std::size_t bytes = static_cast<std::size_t>(patch.width()) * 4;
    for (int y = 0; y < patch.height(); ++y) {
        const uchar *row = image.constScanLine(at.y() + y) + static_cast<qsizetype>(at.x()) * 4;
        if (std::memcmp(row, patch.constScanLine(y), bytes) != 0)
            return false;
    }
    return true;
}

void copyInto(QImage &image, QPoint at, const QImage &patch)
{
    const std::size_t bytes = static_cast<std::size_t>(patch.width()) * 4;
    for (int y = 0; y < patch.height(); ++y)
        std::memcpy(image.scanLine(at.y() + y) + static_cast<qsizetype>(at.x()) * 4,
                    patch.constScanLine(y), bytes);
}

} // namespace clipnab

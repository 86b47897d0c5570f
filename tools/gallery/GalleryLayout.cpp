#include "GalleryLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace clipnab {

namespace {
constexpr int kMargin = 16;
constexpr int kSpacing = 12;
constexpr int kLabelGap = 4;
constexpr int kLabelPixelSize = 11;
constexpr int kTitlePixelSize = 14;
constexpr QRgb kBackground = 0xFFFFFFFF;
constexpr QRgb kInk = 0xFF333333;

QFont galleryFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
} // namespace

QImage composeGallery(const QList<GalleryTile> &tiles, int columns, const QString &title)
{
    columns = std::max(1, std::min(columns, static_cast<int>(tiles.size())));
    QSize cell(1, 1);
    for (const GalleryTile &tile : tiles)
        cell = cell.expandedTo(tile.image.size());

    const QFont labelFont = galleryFont(kLabelPixelSize, false);
    const QFont titleFont = galleryFont(kTitlePixelSize, true);
    const int labelHeight = QFontMetrics(labelFont).height();
    const int titleHeight = title.isEmpty() ? 0 : QFontMetrics(titleFont).height() + kSpacing;
    const int rows = tiles.isEmpty() ? 0 : (static_cast<int>(tiles.size()) + columns - 1) / columns;
    const int cellHeight = cell.height() + kLabelGap + labelHeight;

    const int width = 2 * kMargin + columns * cell.width() + (columns - 1) * kSpacing;
    const int height =
        2 * kMargin + titleHeight + rows * cellHeight + std::max(0, rows - 1) * kSpacing;
    QImage gallery(width, height, QImage::Format_ARGB32);
    gallery.fill(kBackground);

    QPainter painter(&gallery);
    painter.setPen(QColor::fromRgb(kInk));
    if (!title.isEmpty()) {
        painter.setFont(titleFont);
        painter.drawText(QRect(kMargin, kMargin, width - 2 * kMargin, titleHeight),
                         Qt::AlignLeft | Qt::AlignTop, title);
    }
    painter.setFont(labelFont);
    for (int i = 0; i < tiles.size(); ++i) {
        const int x = kMargin + (i % columns) * (cell.width() + kSpacing);
        const int y = kMargin + titleHeight + (i / columns) * (cellHeight + kSpacing);
        painter.drawImage(QPoint(x, y), tiles.at(i).image);
        painter.drawText(QRect(x, y + cell.height() + kLabelGap, cell.width(), labelHeight),
                         Qt::AlignHCenter | Qt::AlignTop, tiles.at(i).label);
    }
    return gallery;
}

} // namespace clipnab

#include "platform/Surface.h"

#include "platform/SystemColors.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace clipnab {

namespace {
// Rows shorter than this are filled pixel by pixel.
constexpr qsizetype kShortRow = 16;
} // namespace

Surface::Surface(const SystemColors &colors) : m_colors(colors) {}

void Surface::resize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == m_image.width() && height == m_image.height())
        return;
    m_image = QImage(width, height, QImage::Format_RGB32);
    m_image.fill(toQRgb(m_backColor));
}

void Surface::setBackColor(Rgb color)
{
    m_backColor = color;
    clear();
}

void Surface::clear()
{
    if (!m_image.isNull())
        m_image.fill(toQRgb(m_backColor));
}

void Surface::setPixel(int x, int y, Rgb color)
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return;
    reinterpret_cast<QRgb *>(m_image.scanLine(y))[x] = toQRgb(color);
}

Rgb Surface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return kInvalidRgb;
    return fromQRgb(reinterpret_cast<const QRgb *>(m_image.constScanLine(y))[x]);
}

void Surface::hline(int x1, int x2, int y, QRgb c)
{
    if (y < 0 || y >= m_image.height())
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_image.width() - 1);
    if (x1 > x2)
        return;
    QRgb *p = reinterpret_cast<QRgb *>(m_image.scanLine(y)) + x1;
    const qsizetype n = x2 - x1 + 1;
    if (n < kShortRow) {
        std::fill(p, p + n, c);
        return;
    }
    // Long rows double a filled prefix with memcpy, which is vectorised.
    std::fill(p, p + kShortRow, c);
    qsizetype done = kShortRow;
    while (done < n) {
        const qsizetype chunk = std::min(done, n - done);
        std::memcpy(p + done, p, static_cast<size_t>(chunk) * sizeof(QRgb));
        done += chunk;
    }
}

void Surface::vline(int x, int y1, int y2, QRgb c)
{
    if (x < 0 || x >= m_image.width())
        return;
    y1 = std::max(y1, 0);
    y2 = std::min(y2, m_image.height() - 1);
    const qsizetype stride = m_image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb *p = reinterpret_cast<QRgb *>(m_image.bits()) + y1 * stride + x;
    for (int y = y1; y <= y2; ++y, p += stride)
        *p = c;
}

void Surface::line(int x1, int y1, int x2, int y2, Rgb color)
{
    if (x1 == x2 && y1 == y2)
        return;
    const QRgb c = toQRgb(color);
    if (y1 == y2) {
        if (x2 > x1)
            hline(x1, x2 - 1, y1, c);
        else
            hline(x2 + 1, x1, y1, c);
        return;
    }
    if (x1 == x2) {
        if (y2 > y1)
            vline(x1, y1, y2 - 1, c);
        else
            vline(x1, y2 + 1, y1, c);
        return;
    }
    // Bresenham; the end point is left out.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        setPixel(x, y, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Surface::fillRect(int left, int top, int right, int bottom, Rgb color)
{
    const QRgb c = toQRgb(color);
    top = std::max(top, 0);
    bottom = std::min(bottom, m_image.height());
    for (int y = top; y < bottom; ++y)
        hline(left, right - 1, y, c);
}

void Surface::ring(int left, int top, int right, int bottom, Rgb topLeft, Rgb bottomRight,
                   unsigned sides)
{
    if (right <= left || bottom <= top)
        return;
    const QRgb tl = toQRgb(topLeft);
    const QRgb br = toQRgb(bottomRight);
    // Top row and left column stop one pixel short, so the bottom/right colour owns the
    // top-right and bottom-left corners.
    if (sides & EdgeSide::kTop)
        hline(left, right - 2, top, tl);
    if (sides & EdgeSide::kLeft)
        vline(left, top, bottom - 2, tl);
    if (sides & EdgeSide::kBottom)
        hline(left, right - 1, bottom - 1, br);
    if (sides & EdgeSide::kRight)
        vline(right - 1, top, bottom - 1, br);
}

void Surface::drawEdge(int left, int top, int right, int bottom, unsigned edge, unsigned sides)
{
    const unsigned outer = edge & 0x3u;
    const unsigned inner = edge & 0xCu;
    bool first = true;
    if (outer) {
        if (outer & Edge::kRaisedOuter)
            ring(left, top, right, bottom, m_colors.color(SysColor::kLight),
                 m_colors.color(SysColor::kDarkShadow), sides);
        else
            ring(left, top, right, bottom, m_colors.color(SysColor::kButtonShadow),
                 m_colors.color(SysColor::kButtonHighlight), sides);
        first = false;
    }
    if (inner) {
        // A lone inner border takes the outermost ring.
        const int d = first ? 0 : 1;
        if (inner & Edge::kRaisedInner)
            ring(left + d, top + d, right - d, bottom - d,
                 m_colors.color(SysColor::kButtonHighlight),
                 m_colors.color(SysColor::kButtonShadow), sides);
        else
            ring(left + d, top + d, right - d, bottom - d, m_colors.color(SysColor::kDarkShadow),
                 m_colors.color(SysColor::kLight), sides);
    }
}

void Surface::drawText(const QString &text, int left, int top, int right, int bottom,
                       unsigned format)
{
    if (m_image.isNull() || text.isEmpty() || right <= left || bottom <= top)
        return;
    int flags = 0;
    if (format & TextFormat::kCenter)
        flags |= Qt::AlignHCenter;
    else if (format & TextFormat::kRight)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & TextFormat::kSingleLine) {
        if (format & TextFormat::kVCenter)
            flags |= Qt::AlignVCenter;
        else if (format & TextFormat::kBottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & TextFormat::kWordBreak)
            flags |= Qt::TextWordWrap;
    }
    if (!(format & TextFormat::kNoPrefix))
        flags |= Qt::TextShowMnemonic;

    QString shown = text;
    if (format & TextFormat::kSingleLine)
        shown.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));

    QPainter p(&m_image);
    const QRect rect(left, top, right - left, bottom - top);
    p.setClipRect(rect);
    p.setFont(m_font);
    p.setPen(QColor::fromRgb(toQRgb(m_foreColor)));
    p.drawText(rect, flags, shown);
}

void Surface::drawPicture(const QImage &picture, int x, int y, int w, int h)
{
    if (m_image.isNull() || picture.isNull() || w <= 0 || h <= 0)
        return;
    QPainter p(&m_image);
    p.drawImage(QRect(x, y, w, h), picture);
}

} // namespace clipnab

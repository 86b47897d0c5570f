#include "platform/Surface.h"

#include "platform/SystemColors.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace clipnab {

namespace {

// Ratios this close above a whole number count as that number.
constexpr qreal kRatioTolerance = 0.01;

} // namespace

Surface::Surface(const SystemColors &colors) : m_colors(colors), m_fill(widestPixelFill()) {}

int Surface::scaleFor(qreal devicePixelRatio)
{
    return std::max(1, static_cast<int>(std::ceil(devicePixelRatio - kRatioTolerance)));
}

void Surface::resize(int width, int height, int scale)
{
    width = std::max(0, width);
    height = std::max(0, height);
    scale = std::max(1, scale);
    if (width == m_width && height == m_height && scale == m_scale && !m_image.isNull())
        return;
    m_image = QImage(width * scale, height * scale, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(scale);
    m_scale = scale;
    // An image with no area is null and reports 0 x 0.
    m_width = m_image.isNull() ? 0 : width;
    m_height = m_image.isNull() ? 0 : height;
    m_image.fill(toQRgb(m_backColor));
}

void Surface::drawOn(QPainter &painter) const
{
    const qreal deviceScale = painter.deviceTransform().m11();
    if (std::abs(deviceScale - m_scale) > kRatioTolerance)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QPoint(0, 0), m_image);
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

Surface::PixelWriter::PixelWriter(Surface &surface)
    : m_fill(surface.m_fill),
      m_bits(surface.m_image.isNull() ? nullptr : reinterpret_cast<QRgb *>(surface.m_image.bits())),
      m_stride(surface.m_image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      m_width(surface.m_width), m_height(surface.m_height), m_scale(surface.m_scale)
{
}

void Surface::PixelWriter::block(int x, int y, int n, QRgb c)
{
    const int k = m_scale;
    QRgb *p = m_bits + static_cast<qsizetype>(y) * k * m_stride + static_cast<qsizetype>(x) * k;
    for (int row = 0; row < k; ++row, p += m_stride)
        fillRow(p, static_cast<qsizetype>(n) * k, c);
}

void Surface::PixelWriter::runs(int y, std::span<const ColorRun> runs)
{
    if (y < 0 || y >= m_height)
        return;
    const int k = m_scale;
    QRgb *row = m_bits + static_cast<qsizetype>(y) * k * m_stride;
    const qsizetype width = static_cast<qsizetype>(m_width) * k;
    for (int copy = 0; copy < k; ++copy, row += m_stride) {
        qsizetype x = 0;
        for (const ColorRun &run : runs) {
            const qsizetype n = std::min(static_cast<qsizetype>(run.length) * k, width - x);
            if (n <= 0)
                continue;
            if (n == 1)
                row[x] = run.color;
            else
                fillRow(row + x, n, run.color);
            x += n;
        }
    }
}

void Surface::PixelWriter::gradedRuns(int y0, std::span<const ColorRun> runs, std::size_t graded,
                                      std::span<const QRgb> colors)
{
    // The runs as device pixels clipped to the row, once for all rows; the graded run first.
    struct Span
    {
        qsizetype x;
        qsizetype n;
        QRgb color;
    };
    std::array<Span, 8> spans{};
    if (runs.size() > spans.size() || graded >= runs.size())
        return;
    const int k = m_scale;
    const qsizetype width = static_cast<qsizetype>(m_width) * k;
    std::size_t count = 1;
    qsizetype x = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const qsizetype n =
            std::clamp(static_cast<qsizetype>(runs[i].length) * k, qsizetype{0}, width - x);
        if (i == graded)
            spans[0] = {x, n, 0};
        else if (n > 0)
            spans[count++] = {x, n, runs[i].color};
        x += n;
    }
    const int first = std::max(y0, 0);
    const int end = std::min(y0 + static_cast<int>(colors.size()), m_height);
    const auto paint = [&](QRgb *row) {
        for (std::size_t i = 0; i < count; ++i) {
            const Span &span = spans[i];
            if (span.n == 1)
                row[span.x] = span.color;
            else
                fillRow(row + span.x, span.n, span.color);
        }
    };
    for (int y = first; y < end; ++y) {
        spans[0].color = colors[static_cast<std::size_t>(y - y0)];
        QRgb *row = m_bits + static_cast<qsizetype>(y) * k * m_stride;
        if (k == 1)
            paint(row);
        else
            for (int copy = 0; copy < k; ++copy, row += m_stride)
                paint(row);
    }
}

void Surface::PixelWriter::slantedLine(int x1, int y1, int x2, int y2, Rgb color)
{
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

void Surface::setPixel(int x, int y, Rgb color)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    PixelWriter(*this).setPixel(x, y, color);
}

Rgb Surface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return kInvalidRgb;
    return fromQRgb(
        reinterpret_cast<const QRgb *>(m_image.constScanLine(y * m_scale))[x * m_scale]);
}

void Surface::line(int x1, int y1, int x2, int y2, Rgb color)
{
    PixelWriter(*this).line(x1, y1, x2, y2, color);
}

void Surface::fillRect(int left, int top, int right, int bottom, Rgb color)
{
    const QRgb c = toQRgb(color);
    top = std::max(top, 0);
    bottom = std::min(bottom, m_height);
    PixelWriter writer(*this);
    for (int y = top; y < bottom; ++y)
        writer.hline(left, right - 1, y, c);
}

void Surface::ring(int left, int top, int right, int bottom, Rgb topLeft, Rgb bottomRight,
                   unsigned sides)
{
    if (right <= left || bottom <= top)
        return;
    const QRgb tl = toQRgb(topLeft);
    const QRgb br = toQRgb(bottomRight);
    PixelWriter writer(*this);
    // Top row and left column stop one pixel short, so the bottom/right colour owns the
    // top-right and bottom-left corners.
    if (sides & EdgeSide::kTop)
        writer.hline(left, right - 2, top, tl);
    if (sides & EdgeSide::kLeft)
        writer.vline(left, top, bottom - 2, tl);
    if (sides & EdgeSide::kBottom)
        writer.hline(left, right - 1, bottom - 1, br);
    if (sides & EdgeSide::kRight)
        writer.vline(right - 1, top, bottom - 1, br);
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
    if (m_scale != 1) {
        drawPictureBlocks(picture, x, y, w, h);
        return;
    }
    QPainter p(&m_image);
    p.drawImage(QRect(x, y, w, h), picture);
}

void Surface::drawPictureBlocks(const QImage &picture, int x, int y, int w, int h)
{
    // First stretched to its logical size exactly as a scale of 1 stretches it, then each
    // logical pixel blown up to a block and blended over the surface as at a scale of 1.
    QImage logical(w, h, QImage::Format_ARGB32_Premultiplied);
    logical.fill(Qt::transparent);
    {
        QPainter p(&logical);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QRect(0, 0, w, h), picture);
    }
    QPainter p(&m_image);
    p.drawImage(QRect(x, y, w, h), logical);
}

} // namespace clipnab

#pragma once

#include "platform/Color.h"
#include "platform/PixelFill.h"

#include <QFont>
#include <QImage>

#include <algorithm>
#include <span>

class QPainter;
class QString;

namespace clipnab {

// DrawEdge values.
namespace Edge {
constexpr unsigned kRaisedOuter = 1;
constexpr unsigned kSunkenOuter = 2;
constexpr unsigned kRaisedInner = 4;
constexpr unsigned kSunkenInner = 8;
constexpr unsigned kRaised = kRaisedOuter | kRaisedInner;
constexpr unsigned kSunken = kSunkenOuter | kSunkenInner;
} // namespace Edge

namespace EdgeSide {
constexpr unsigned kLeft = 1;
constexpr unsigned kTop = 2;
constexpr unsigned kRight = 4;
constexpr unsigned kBottom = 8;
constexpr unsigned kRect = 15;
} // namespace EdgeSide

// DrawText format flags.
namespace TextFormat {
constexpr unsigned kCenter = 0x1;
constexpr unsigned kRight = 0x2;
constexpr unsigned kVCenter = 0x4;
constexpr unsigned kBottom = 0x8;
constexpr unsigned kWordBreak = 0x10;
constexpr unsigned kSingleLine = 0x20;
constexpr unsigned kNoPrefix = 0x800;
} // namespace TextFormat

class SystemColors;

// A stretch of one colour along a row.
struct ColorRun
{
    int length = 0;
    QRgb color = 0;
};

// A GDI-like drawing surface over an RGB32 image: one-pixel lines without their end point,
// fills with exclusive right and bottom edges, the classic 3-D edge and text. No antialiasing
// except inside glyphs. Colours are plain 0x00BBGGRR values.
// Every call takes logical pixels. On a high-density screen the image holds `scale` device
// pixels per logical pixel each way: lines, fills, edges and pictures paint whole scale x scale
// blocks, while text is laid out in logical pixels and drawn at device resolution.
class Surface
{
public:
    explicit Surface(const SystemColors &colors);

    // The scale for a device pixel ratio: the ratio rounded up to a whole number, so that every
    // line stays whole and even; a fractional ratio is scaled down smoothly when shown.
    static int scaleFor(qreal devicePixelRatio);

    void resize(int width, int height, int scale = 1);
    int width() const { return m_width; }
    int height() const { return m_height; }
    int scale() const { return m_scale; }
    // The device pixels; the image's device pixel ratio is the scale.
    const QImage &image() const { return m_image; }
    // For painters that draw into the image itself (the theme) in logical coordinates; they
    // must keep its size.
    QImage &paintDevice() { return m_image; }
    // Shows the image at the painter's origin in its logical size: pixel for pixel on a device
    // of the surface's scale, scaled smoothly on any other.
    void drawOn(QPainter &painter) const;

    // Setting the background colour fills the whole client area with it.
    void setBackColor(Rgb color);
    Rgb backColor() const { return m_backColor; }
    void clear();

    void setForeColor(Rgb color) { m_foreColor = color; }
    Rgb foreColor() const { return m_foreColor; }
    void setFont(const QFont &font) { m_font = font; }
    const QFont &font() const { return m_font; }

    // Writes many pixels and lines in one drawing call: the image is made writable once for
    // all of them instead of once per line. Keep it for that call only; no copy of the image
    // may be taken while it lives.
    class PixelWriter
    {
    public:
        explicit PixelWriter(Surface &surface);

        void setPixel(int x, int y, Rgb color)
        {
            if (x < 0 || y < 0 || x >= m_width || y >= m_height)
                return;
            if (m_scale == 1)
                m_bits[y * m_stride + x] = toQRgb(color);
            else
                block(x, y, 1, toQRgb(color));
        }
        // MoveTo (x1, y1), LineTo (x2, y2): the end point is not painted.
        void line(int x1, int y1, int x2, int y2, Rgb color)
        {
            if (y1 == y2) {
                if (x2 > x1)
                    hline(x1, x2 - 1, y1, toQRgb(color));
                else if (x2 < x1)
                    hline(x2 + 1, x1, y1, toQRgb(color));
            } else if (x1 == x2) {
                if (y2 > y1)
                    vline(x1, y1, y2 - 1, toQRgb(color));
                else
                    vline(x1, y2 + 1, y1, toQRgb(color));
            } else {
                slantedLine(x1, y1, x2, y2, color);
            }
        }
        void hline(int x1, int x2, int y, QRgb c) // x1 <= x2, both inclusive
        {
            if (y < 0 || y >= m_height)
                return;
            x1 = std::max(x1, 0);
            x2 = std::min(x2, m_width - 1);
            const int n = x2 - x1 + 1;
            if (n <= 0)
                return;
            if (m_scale != 1) {
                block(x1, y, n, c);
                return;
            }
            fillRow(m_bits + y * m_stride + x1, n, c);
        }
        void vline(int x, int y1, int y2, QRgb c) // y1 <= y2, both inclusive
        {
            if (x < 0 || x >= m_width)
                return;
            y1 = std::max(y1, 0);
            y2 = std::min(y2, m_height - 1);
            if (y1 > y2)
                return;
            if (m_scale != 1) {
                for (int y = y1; y <= y2; ++y)
                    block(x, y, 1, c);
                return;
            }
            QRgb *p = m_bits + y1 * m_stride + x;
            for (int y = y1; y <= y2; ++y, p += m_stride)
                *p = c;
        }

        // Row y from x = 0 on as consecutive runs; what lies beyond the surface is left out.
        void runs(int y, std::span<const ColorRun> runs);
        // Rows y0, y0 + 1, ... as the same runs, one row for each of `colors`: run `graded`
        // takes the row's colour, the others keep theirs.
        void gradedRuns(int y0, std::span<const ColorRun> runs, std::size_t graded,
                        std::span<const QRgb> colors);

    private:
        // Rows up to this long are filled pixel by pixel; longer ones with vector stores.
        static constexpr int kShortRow = 8;
        void fillRow(QRgb *p, qsizetype n, QRgb c) const
        {
            if (n > kShortRow)
                m_fill(p, n, c);
            else
                for (qsizetype i = 0; i < n; ++i)
                    p[i] = c;
        }
        void slantedLine(int x1, int y1, int x2, int y2, Rgb color);
        // The device pixels of n logical pixels from (x, y) along the row; inside the surface.
        void block(int x, int y, int n, QRgb c);

        PixelFill m_fill;
        QRgb *m_bits;
        qsizetype m_stride;
        int m_width;
        int m_height;
        int m_scale;
    };
    PixelWriter pixelWriter() { return PixelWriter(*this); }

    void setPixel(int x, int y, Rgb color);
    // GetPixel: -1 (CLR_INVALID) outside the surface.
    Rgb pixel(int x, int y) const;

    // MoveTo (x1, y1), LineTo (x2, y2): the end point is not painted.
    void line(int x1, int y1, int x2, int y2, Rgb color);
    // FillRect: left and top inclusive, right and bottom exclusive.
    void fillRect(int left, int top, int right, int bottom, Rgb color);
    // DrawEdge from the system colours (outer ring, then inner ring one pixel inside).
    void drawEdge(int left, int top, int right, int bottom, unsigned edge, unsigned sides);
    // DrawText in the surface's font and foreground colour with a transparent background.
    void drawText(const QString &text, int left, int top, int right, int bottom, unsigned format);
    // PaintPicture: the picture stretched to w x h at (x, y).
    void drawPicture(const QImage &picture, int x, int y, int w, int h);

private:
    // The picture stretched to w x h logical pixels, each shown as a scale x scale block.
    void drawPictureBlocks(const QImage &picture, int x, int y, int w, int h);

    void ring(int left, int top, int right, int bottom, Rgb topLeft, Rgb bottomRight,
              unsigned sides);

    const SystemColors &m_colors;
    PixelFill m_fill;
    QImage m_image;
    // The logical size, kept here so per-pixel bounds checks need no call into the image.
    int m_width = 0;
    int m_height = 0;
    int m_scale = 1;
    Rgb m_backColor = 0;
    Rgb m_foreColor = 0;
    QFont m_font;
};

} // namespace clipnab

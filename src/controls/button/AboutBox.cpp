#include "controls/button/AboutBox.h"

#include "controls/button/Primitives.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace clipnab {

namespace {

using namespace AboutMetrics;

constexpr unsigned kBandFormat = TextFormat::kSingleLine | TextFormat::kVCenter;
constexpr int kBandHeight = 20;
constexpr int kFaceShift = 15;
constexpr Rgb kCloseTextColor = makeRgb(0, 0, 255);

const char *const kFirstCredit = "The Clipnab push button";
const char *const kSecondCredit = "Drawn line by line with Qt 6";

} // namespace

AboutBox::AboutBox(const SystemColors &colors, const QString &version, QWidget *parent)
    : QWidget(parent), m_colors(colors), m_version(version),
      m_surface(std::make_unique<Surface>(colors))
{
    setObjectName(QStringLiteral("m_About"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface->setFont(QFont(QStringLiteral("Verdana")));
    resize(kWidth, kHeight);
    hide();
}

AboutBox::~AboutBox() = default;

const QImage &AboutBox::surfaceImage() const
{
    return m_surface->image();
}

void AboutBox::showAsWindow(const QString &title)
{
    setParent(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(title);
    show();
    raise();
}

void AboutBox::setFontSize(int points)
{
    QFont font = m_surface->font();
    font.setPointSize(points);
    m_surface->setFont(font);
}

void AboutBox::paintBox()
{
    m_surface->resize(width(), height(), Surface::scaleFor(devicePixelRatio()));
    m_surface->setBackColor(m_colors.color(SysColor::kButtonFace));
    m_surface->setForeColor(m_colors.color(SysColor::kButtonText));
    QFont font = m_surface->font();
    font.setUnderline(false);
    font.setPointSize(18);
    m_surface->setFont(font);
    m_surface->drawText(QStringLiteral("deRurara"), 20, 10, 220, 40, kBandFormat);

    setFontSize(10);
    m_surface->drawText(QStringLiteral("Version ") + m_version, 160, 70, kCloseLeft,
                        70 + kBandHeight, kBandFormat);
    font = m_surface->font();
    font.setBold(true);
    m_surface->setFont(font);
    m_surface->drawText(QString::fromLatin1(kFirstCredit), 20, 110, kCloseRight, 110 + kBandHeight,
                        kBandFormat);
    font.setBold(false);
    m_surface->setFont(font);
    m_surface->drawText(QString::fromLatin1(kSecondCredit), 20, 140, kCloseRight, 140 + kBandHeight,
                        kBandFormat);
    paintCloseButton(false);
}

void AboutBox::paintCloseButton(bool pressed)
{
    constexpr int l = kCloseLeft;
    constexpr int t = kCloseTop;
    constexpr int r = kCloseRight;
    constexpr int b = kCloseBottom;
    Surface &dc = *m_surface;
    const Rgb face = m_colors.color(SysColor::kButtonFace);
    const Rgb light = shiftColor(face, kFaceShift);
    const Rgb dark = shiftColor(face, -kFaceShift);
    gradientRowsOn(dc, pressed ? dark : light, pressed ? light : dark, l, t, r, b - t);

    // A rounded outline: the diagonals cut the corners, and no line paints its end point.
    const Rgb shadow = m_colors.color(SysColor::kButtonShadow);
    drawLineOn(dc, l + 2, t, r - 2, t, shadow);
    drawLineOn(dc, l + 2, t, l, t + 2, shadow);
    drawLineOn(dc, r - 2, t, r, t + 2, shadow);
    drawLineOn(dc, l, t + 2, l, b - 2, shadow);
    drawLineOn(dc, r, t + 2, r, b, shadow);
    drawLineOn(dc, l, b - 2, l + 2, b, shadow);
    drawLineOn(dc, r, b - 2, r - 3, b + 1, shadow);
    drawLineOn(dc, l + 2, b, r - 2, b, shadow);

    // Each corner pixel and its two neighbours along the edges go back to the face.
    for (const auto &[x, y, dx, dy] : {std::array{l, t, 1, 1}, std::array{r, t, -1, 1},
                                       std::array{l, b, 1, -1}, std::array{r, b, -1, -1}}) {
        dc.setPixel(x, y, face);
        dc.setPixel(x + dx, y, face);
        dc.setPixel(x, y + dy, face);
    }

    setFontSize(8);
    dc.setForeColor(kCloseTextColor);
    QFont font = dc.font();
    font.setUnderline(true);
    dc.setFont(font);
    dc.drawText(QStringLiteral("Close"), l, t, r, b,
                TextFormat::kSingleLine | TextFormat::kVCenter | TextFormat::kCenter);
    update();
}

void AboutBox::paintEvent(QPaintEvent *)
{
    // A window moved to a screen of another density shows it first here.
    if (m_surface->scale() != Surface::scaleFor(devicePixelRatio()))
        paintBox();
    QPainter painter(this);
    m_surface->drawOn(painter);
}

void AboutBox::resizeEvent(QResizeEvent *)
{
    paintBox();
}

void AboutBox::showEvent(QShowEvent *)
{
    paintBox();
}

void AboutBox::mousePressEvent(QMouseEvent *event)
{
    m_pressedButton = event->button();
    paintCloseButton(true);
    event->accept();
}

void AboutBox::mouseReleaseEvent(QMouseEvent *event)
{
    // A click: the button pressed in the box is released over it.
    const bool click =
        event->button() == m_pressedButton && rect().contains(event->position().toPoint());
    m_pressedButton = Qt::NoButton;
    event->accept();
    if (click)
        hide();
}

} // namespace clipnab

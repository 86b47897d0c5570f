#include "controls/button/ButtonGeometry.h"

#include "controls/button/styles/GlossyImage.h"
#include "platform/Rounding.h"
#include "platform/Surface.h"

#include <QPolygon>
#include <QRegion>

namespace clipnab {

namespace {

QRegion octagon(const std::initializer_list<QPoint> &points)
{
    return QRegion(QPolygon(QList<QPoint>(points)), Qt::OddEvenFill);
}

} // namespace

GdiRect captionRectFor(int width, int height)
{
    using ButtonMetrics::kCaptionInset;
    return {kCaptionInset, kCaptionInset, width - kCaptionInset, height - kCaptionInset};
}

unsigned captionFormatFor(ButtonAlign captionAlign, unsigned current)
{
    using namespace TextFormat;
    switch (captionAlign) {
    case ButtonAlign::Center:
        return kSingleLine | kVCenter | kCenter;
    case ButtonAlign::Left:
        return kSingleLine | kVCenter;
    case ButtonAlign::Right:
        return kSingleLine | kVCenter | kRight;
    case ButtonAlign::Top:
        return kSingleLine | kCenter;
    case ButtonAlign::Bottom:
        return kSingleLine | kBottom | kCenter;
    }
    return current;
}

QRegion regionSmallCorners(int w, int h)
{
    return octagon(
        {{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}});
}

QRegion regionLargeCorners(int w, int h)
{
    return octagon(
        {{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}});
}

QRegion shapeForStyle(ButtonStyle style, int width, int height)
{
    switch (style) {
    case ButtonStyle::RingedGradient:
    case ButtonStyle::SoftGradient:
        return regionSmallCorners(width, height);
    case ButtonStyle::ReliefGradient:
    case ButtonStyle::Capsule:
        return regionLargeCorners(width, height);
    case ButtonStyle::GlossyImage:
        return glossyShape(width, height);
    default:
        return QRegion(0, 0, width, height);
    }
}

int iconMarginFor(ButtonStyle style)
{
    switch (style) {
    case ButtonStyle::RingedGradient:
    case ButtonStyle::SoftGradient:
        return ButtonMetrics::kGradientIconMargin;
    case ButtonStyle::Capsule:
    case ButtonStyle::GlossyImage:
        return ButtonMetrics::kRoundIconMargin;
    default:
        return ButtonMetrics::kDefaultIconMargin;
    }
}

QPoint iconPosition(ButtonAlign iconAlign, int width, int height, int size, int margin)
{
    const double centreX = (width - size) / 2.0;
    const double centreY = (height - size) / 2.0;
    switch (iconAlign) {
    case ButtonAlign::Center:
        return {roundHalfEven(centreX), roundHalfEven(centreY)};
    case ButtonAlign::Left:
        return {margin, roundHalfEven(centreY)};
    case ButtonAlign::Right:
        return {width - size - margin, roundHalfEven(centreY)};
    case ButtonAlign::Top:
        return {roundHalfEven(centreX), margin};
    case ButtonAlign::Bottom:
        return {roundHalfEven(centreX), height - size - margin};
    }
    return {0, 0};
}

} // namespace clipnab

#include "app/WindowGeometry.h"

#include "platform/Rounding.h"

namespace clipnab::WindowGeometry {

int pixels(int twips)
{
    return roundHalfEven(static_cast<double>(twips) / kTwipsPerPixel);
}

QRect pixels(const TwipRect &rect)
{
    return {pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height)};
}

int stripWidthTwips(float value, float max)
{
    if (!(max > 0))
        return -1;
    return roundHalfEven(value / max * static_cast<float>(kStripWidthTwips));
}

int sweepOffsetTwips(int tick)
{
    constexpr int kTravel = kStripWidthTwips - kSweepBlockTwips;
    const int position =
        static_cast<int>((static_cast<qint64>(tick) * kSweepStepTwips) % (2 * kTravel));
    return position <= kTravel ? position : 2 * kTravel - position;
}

} // namespace clipnab::WindowGeometry

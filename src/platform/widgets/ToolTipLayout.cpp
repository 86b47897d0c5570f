#include "platform/widgets/ToolTipLayout.h"

#include <algorithm>

namespace clipnab {

namespace {

using namespace ToolTipMetrics;

// The start of a run of `length` pixels moved into [low, high); a run longer than the range
// starts at `low`.
int clampStart(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

ToolTipShape finish(ToolTipShape shape, QRect body, int paddingX, int paddingY)
{
    const QPoint origin = shape.geometry.topLeft();
    shape.body = body.translated(-origin);
    shape.stem.translate(-origin);
    shape.content = shape.body.adjusted(paddingX, paddingY, -paddingX, -paddingY);
    return shape;
}

ToolTipShape layoutRectangle(QSize content, QPoint pointer, const QRect &available)
{
    const int w = content.width() + 2 * kRectanglePaddingX;
    const int h = content.height() + 2 * kRectanglePaddingY;
    const int right = available.x() + available.width();
    const int bottom = available.y() + available.height();
    ToolTipShape shape;
    int top = pointer.y() + kPointerOffsetY;
    if (top + h > bottom && pointer.y() - h >= available.top()) {
        top = pointer.y() - h;
        shape.above = true;
    }
    const QRect body(clampStart(pointer.x() + kPointerOffsetX, w, available.left(), right),
                     clampStart(top, h, available.top(), bottom), w, h);
    shape.geometry = body;
    return finish(shape, body, kRectanglePaddingX, kRectanglePaddingY);
}

ToolTipShape layoutBalloon(QSize content, QPoint pointer, const QRect &available)
{
    constexpr int kMinimumWidth = 2 * kCornerRadius + kStemBase + 2;
    const int w = std::max(kMinimumWidth, content.width() + 2 * kBalloonPaddingX);
    const int h = content.height() + 2 * kBalloonPaddingY;
    const int full = h + kStemHeight;
    const int right = available.x() + available.width();
    const int bottom = available.y() + available.height();

    ToolTipShape shape;
    shape.above = pointer.y() + full > bottom && pointer.y() - full + 1 >= available.top();
    const int blockTop = clampStart(shape.above ? pointer.y() - full + 1 : pointer.y(), full,
                                    available.top(), bottom);
    const int bodyTop = shape.above ? blockTop : blockTop + kStemHeight;

    // The body runs to the right of the stem unless only the other side keeps it on screen.
    const bool toRight =
        pointer.x() - kStemInset + w <= right || pointer.x() + kStemInset - w < available.left();
    const int left = clampStart(toRight ? pointer.x() - kStemInset : pointer.x() + kStemInset - w,
                                w, available.left(), right);
    const QRect body(left, bodyTop, w, h);

    // The stem's base stays on the straight part of the edge; its tip stays at the pointer.
    const int baseStart = std::max(body.left() + kCornerRadius,
                                   std::min(toRight ? pointer.x() : pointer.x() - kStemBase,
                                            body.right() - kCornerRadius - kStemBase));
    const int baseY = shape.above ? body.bottom() : body.top();
    const int tipX = std::clamp(pointer.x(), available.left(), right - 1);
    const int tipY = shape.above ? body.bottom() + kStemHeight : body.top() - kStemHeight;
    shape.stem = QPolygon(
        {QPoint(tipX, tipY), QPoint(baseStart, baseY), QPoint(baseStart + kStemBase, baseY)});
    shape.geometry = body.united(shape.stem.boundingRect());
    return finish(shape, body, kBalloonPaddingX, kBalloonPaddingY);
}

} // namespace

ToolTipShape layoutToolTip(ToolTipForm form, QSize content, QPoint pointer, const QRect &available)
{
    return form == ToolTipForm::Balloon ? layoutBalloon(content, pointer, available)
                                        : layoutRectangle(content, pointer, available);
}

} // namespace clipnab

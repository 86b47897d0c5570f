#include "controls/button/PlainStyles.h"

#include "controls/button/ButtonGeometry.h"
#include "controls/button/Primitives.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

namespace clipnab {

namespace {

using enum ButtonState;

constexpr int kBoxLightenRest = 32;
constexpr int kBoxLightenHot = 176;
constexpr int kBoxLightenPressed = 128;

void raisedEdge(Surface &s, const ButtonView &v, ButtonState state)
{
    s.setBackColor(state == Normal ? faceColor(v) : hotFaceColor(v));
    drawEdgeBox(s, 0, 0, static_cast<float>(v.width), static_cast<float>(v.height),
                state == Pressed ? Edge::kSunken : Edge::kRaised, EdgeSide::kRect);
}

// Thin edge and flat hover differ only in whether the resting button shows its edge.
void thinOutline(Surface &s, const ButtonView &v, ButtonState state, bool edgeAtRest)
{
    const bool hotFace = state == Hot || state == Pressed;
    const Rgb back = hotFace ? hotFaceColor(v) : faceColor(v);
    s.setBackColor(back);
    const auto w = static_cast<float>(v.width);
    const auto h = static_cast<float>(v.height);
    if (state == Pressed)
        drawEdgeBox(s, 0, 0, w, h, Edge::kSunkenOuter, EdgeSide::kRect);
    else if (state == Hot || (state == Normal && edgeAtRest))
        drawEdgeBox(s, 0, 0, w, h, Edge::kRaisedInner, EdgeSide::kRect);
    else
        drawBox(s, 0, 0, v.width - 1, v.height - 1, back);
}

void etchedFrame(Surface &s, const ButtonView &v, ButtonState state)
{
    const SystemColors &c = v.colors;
    s.setBackColor(faceColor(v));
    Rgb fill = faceColor(v);
    if (state == Hot)
        fill = v.useCustomColors
                   ? mixColors(v.highlightColor, v.backColor)
                   : mixColors(c.color(SysColor::kButtonShadow), c.color(SysColor::kButtonFace));
    else if (state == Pressed)
        fill = v.useCustomColors ? v.highlightColor : c.color(SysColor::kButtonShadow);
    const GdiRect r = captionRectFor(v.width, v.height);
    fillRectColor(s, r.left, r.top, r.right, r.bottom, fill);
    drawSoftFrame(s, 0, 0, v.width - 1, v.height - 1, c.color(SysColor::kButtonShadow),
                  c.color(SysColor::kWindow), fill);
}

void highlightBox(Surface &s, const ButtonView &v, ButtonState state)
{
    const Rgb accent = v.useCustomColors ? v.highlightColor : v.colors.color(SysColor::kHighlight);
    if (state == Hot || state == Pressed) {
        const int amount = state == Hot ? kBoxLightenHot : kBoxLightenPressed;
        fillBox(s, 0, 0, v.width - 1, v.height - 1, lightenColor(accent, amount));
        drawBox(s, 0, 0, v.width - 1, v.height - 1, accent);
    } else if (state == Normal || state == Disabled) {
        fillBox(s, 0, 0, v.width, v.height, lightenColor(faceColor(v), kBoxLightenRest));
    }
}

} // namespace

Rgb faceColor(const ButtonView &view)
{
    return view.useCustomColors ? view.backColor : view.colors.color(SysColor::kButtonFace);
}

Rgb hotFaceColor(const ButtonView &view)
{
    return view.useCustomColors ? view.highlightColor : view.colors.color(SysColor::kButtonFace);
}

bool isPlainStyle(ButtonStyle style)
{
    return style >= ButtonStyle::RaisedEdge && style <= ButtonStyle::HighlightBox;
}

void paintPlainStyle(ButtonStyle style, Surface &surface, const ButtonView &view, ButtonState state)
{
    switch (style) {
    case ButtonStyle::RaisedEdge:
        raisedEdge(surface, view, state);
        break;
    case ButtonStyle::ThinEdge:
        thinOutline(surface, view, state, true);
        break;
    case ButtonStyle::FlatHover:
        thinOutline(surface, view, state, false);
        break;
    case ButtonStyle::EtchedFrame:
        etchedFrame(surface, view, state);
        break;
    case ButtonStyle::HighlightBox:
        highlightBox(surface, view, state);
        break;
    default:
        break;
    }
}

} // namespace clipnab

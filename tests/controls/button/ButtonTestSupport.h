#pragma once

#include "controls/button/deRurara.h"
#include "platform/Color.h"
#include "platform/SystemColors.h"
#include "platform/widgets/PlatformContext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QMouseEvent>
#include <QPair>
#include <QPoint>
#include <QtDebug>

#include <memory>

namespace clipnab::test {

// Mouse and pointer events sent straight to a widget, as the window system would deliver them.
inline void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, QPoint at = {5, 5})
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

inline void sendMove(QWidget *w, QPoint at = {5, 5})
{
    sendMouse(w, QEvent::MouseMove, Qt::NoButton, at);
}

inline void sendLeave(QWidget *w)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w, &leave);
}

// Classic system colours pinned so that pixel tests do not depend on the desktop palette.
inline void pinClassicColors(SystemColors &colors)
{
    colors.setOverride(5, makeRgb(255, 255, 255));
    colors.setOverride(13, makeRgb(49, 106, 197));
    colors.setOverride(15, makeRgb(236, 233, 216));
    colors.setOverride(16, makeRgb(172, 168, 153));
    colors.setOverride(17, makeRgb(172, 168, 153));
    colors.setOverride(18, makeRgb(0, 0, 0));
    colors.setOverride(20, makeRgb(255, 255, 255));
    colors.setOverride(21, makeRgb(113, 111, 100));
    colors.setOverride(22, makeRgb(241, 239, 226));
    colors.setOverride(23, makeRgb(0, 0, 0));
    colors.setOverride(24, makeRgb(255, 255, 225));
}

// A new instance (no caption) of the given client size, not shown.
inline std::unique_ptr<deRurara> makeButton(PlatformContext &context, int w = 75, int h = 23)
{
    auto button = std::make_unique<deRurara>(context);
    button->initProperties();
    button->resize(w, h);
    return button;
}

inline Rgb pixelAt(const deRurara &button, int x, int y)
{
    return fromQRgb(button.surfaceImage().pixel(x, y));
}

// A pixel of the button and the colour it should have.
using Probe = QPair<QPoint, Rgb>;

// True when every probed pixel has its colour; each one that has not is reported.
inline bool probesMatch(const deRurara &button, const QList<Probe> &probes)
{
    bool ok = true;
    for (const Probe &probe : probes) {
        const Rgb got = pixelAt(button, probe.first.x(), probe.first.y());
        if (got != probe.second) {
            qWarning("pixel %d,%d is %06x, wanted %06x", probe.first.x(), probe.first.y(),
                     unsigned(got), unsigned(probe.second));
            ok = false;
        }
    }
    return ok;
}

} // namespace clipnab::test

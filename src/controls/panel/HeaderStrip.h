#pragma once

#include "platform/Surface.h"

#include <QWidget>

namespace clipnab {

// The panel's header strip: a child window that shows its part of the panel's surface, where
// the panel draws the strip's gradient, so it shows its gradient again whenever it is uncovered
// and meets the panel without a seam at any screen density.
class HeaderStrip : public QWidget
{
    Q_OBJECT

public:
    // `panelSurface` belongs to the parent panel and outlives the strip.
    HeaderStrip(const Surface &panelSurface, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Surface &m_panelSurface;
};

} // namespace clipnab

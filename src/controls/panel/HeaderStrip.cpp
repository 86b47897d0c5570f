#include "controls/panel/HeaderStrip.h"

#include <QPainter>

namespace clipnab {

HeaderStrip::HeaderStrip(const Surface &panelSurface, QWidget *parent)
    : QWidget(parent), m_panelSurface(panelSurface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HeaderStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.translate(-pos());
    m_panelSurface.drawOn(painter);
}

} // namespace clipnab

#include "controls/panel/HeaderStrip.h"

#include <QPainter>
#include <QPaintEvent>

namespace clipnab {

HeaderStrip::HeaderStrip(const SystemColors &colors, QWidget *parent)
    : QWidget(parent), m_surface(colors)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HeaderStrip::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface.image(), event->rect());
}

} // namespace clipnab

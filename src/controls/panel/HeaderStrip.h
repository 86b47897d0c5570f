#pragma once

#include "platform/Surface.h"

#include <QWidget>

namespace clipnab {

class SystemColors;

// The panel's header strip: a child window that keeps its drawing in its own surface, so it
// shows its gradient again whenever it is uncovered.
class HeaderStrip : public QWidget
{
    Q_OBJECT

public:
    HeaderStrip(const SystemColors &colors, QWidget *parent);

    Surface &surface() { return m_surface; }
    const Surface &surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Surface m_surface;
};

} // namespace clipnab

#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace clipnab {

// With CLIPNAB_TRACE_STALLS set, measures how long the event loop went without turning while
// it lives (a 5 ms timer that notes the longest gap between its ticks) and writes the longest to
// standard error at its end; the queue benchmark reads it.
class StallTrace final
{
public:
    StallTrace();
    ~StallTrace();
    Q_DISABLE_COPY_MOVE(StallTrace)

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longestNs = 0;
};

} // namespace clipnab

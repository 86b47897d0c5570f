#include "app/StallTrace.h"

#include <algorithm>
#include <cstdio>

namespace clipnab {

namespace {
constexpr int kTickMs = 5;
}

StallTrace::StallTrace()
{
    if (!qEnvironmentVariableIsSet("CLIPNAB_TRACE_STALLS"))
        return;
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        m_longestNs = std::max(m_longestNs, m_sinceTick.nsecsElapsed());
        m_sinceTick.start();
    });
    m_sinceTick.start();
    m_timer.start();
}

StallTrace::~StallTrace()
{
    if (m_timer.isActive())
        std::fprintf(stderr, "clipnab: longest event-loop stall %.1f ms\n",
                     static_cast<double>(m_longestNs) / 1e6);
}

} // namespace clipnab

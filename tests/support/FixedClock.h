#pragma once

#include "platform/Clock.h"

#include <QDateTime>

#include <utility>

namespace clipnab {

// 7 December, 01:05:09: videos saved then are named 12_7_1_5_9.flv.
inline QDateTime fixedTestTime()
{
    return QDateTime(QDate(2026, 12, 7), QTime(1, 5, 9));
}

// A clock that stands still at the time the test gives it.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime when = fixedTestTime()) : m_when(std::move(when)) {}
    QDateTime now() const override { return m_when; }
    void setNow(const QDateTime &when) { m_when = when; }

private:
    QDateTime m_when;
};

} // namespace clipnab

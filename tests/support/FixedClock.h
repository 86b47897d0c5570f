#pragma once

#include "platform/Clock.h"

#include <QDateTime>

#include <memory>

namespace clipnab {

// A clock that stands still at the time the test gives it.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime when) : when(std::make_shared<QDateTime>(std::move(when))) {}
    QDateTime now() const override { return *when; }
    // Shared with the test, which may move the time after handing the clock over.
    std::shared_ptr<QDateTime> when;
};

// 7 December, 01:05:09: videos saved then are named 12_7_1_5_9.flv.
inline QDateTime fixedTestTime()
{
    return QDateTime(QDate(2026, 12, 7), QTime(1, 5, 9));
}

} // namespace clipnab

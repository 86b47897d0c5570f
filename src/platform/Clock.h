#pragma once

class QDateTime;

namespace clipnab {

// Local date and time.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
};

} // namespace clipnab

#include "platform/Clock.h"

#include <QDateTime>

namespace clipnab {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace clipnab

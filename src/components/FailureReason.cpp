#include "components/FailureReason.h"

namespace clipnab::FailureReason {

QString fromSystemText(const QString &text)
{
    QString reason = text.trimmed();
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    if (reason.size() > 1 && reason[0].isUpper() && !reason[1].isUpper())
        reason[0] = reason[0].toLower();
    return reason;
}

} // namespace clipnab::FailureReason

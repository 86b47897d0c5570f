#include "components/FailureReason.h"

#include <cerrno>

namespace clipnab::FailureReason {

namespace {
const QString kDiskFull = QStringLiteral("no space left on the device");
}

QString fromSystemText(const QString &text)
{
    QString reason = text.trimmed();
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    // The system's words for a full disk read oddly after a sentence; ours say the same.
    if (reason == qt_error_string(ENOSPC))
        return kDiskFull;
    if (reason.size() > 1 && reason[0].isUpper() && !reason[1].isUpper())
        reason[0] = reason[0].toLower();
    return reason;
}

bool meansDiskFull(const QString &reason)
{
    return reason.endsWith(kDiskFull) ||
           reason.endsWith(fromSystemText(qt_error_string(EDQUOT)), Qt::CaseInsensitive);
}

} // namespace clipnab::FailureReason

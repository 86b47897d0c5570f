#include "app/ProgressCaption.h"

namespace clipnab::ProgressCaption {

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

QString withAmount(const QString &caption, qint64 received, qint64 total)
{
    if (total <= 0)
        return caption + QLatin1Char(' ') + megabytes(received);
    // Whole percents, rounded down: 100% only once everything is there.
    const qint64 percent = received >= total ? 100 : received * 100 / total;
    return QStringLiteral("%1 %2% of %3").arg(caption).arg(percent).arg(megabytes(total));
}

} // namespace clipnab::ProgressCaption

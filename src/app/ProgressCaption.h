#pragma once

#include <QString>

namespace clipnab {

// The status caption of a running transfer with its amount: "Downloading... 45% of 27.3 MB", or
// "Downloading... 27.3 MB" when no length was announced. The window uses it only where its
// status label is wide enough.
namespace ProgressCaption {

// Bytes in MB (2^20 bytes) with one decimal.
QString megabytes(qint64 bytes);
QString withAmount(const QString &caption, qint64 received, qint64 total);

} // namespace ProgressCaption

} // namespace clipnab

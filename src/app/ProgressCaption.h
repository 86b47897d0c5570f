#pragma once

#include <QString>

namespace clipnab {

// The captions of a download under way, shared by the window's status label and the save
// without a window: the phase captions, and the status caption of a running transfer with its
// amount, "Downloading... 45% of 27.3 MB", or "Downloading... 27.3 MB" when no length was
// announced. The window shows the amount only where its status label is wide enough.
namespace ProgressCaption {

inline const QString kAnalysing = QStringLiteral("Analysing URL...");
inline const QString kDownloading = QStringLiteral("Downloading...");

// Bytes in MB (2^20 bytes) with one decimal.
QString megabytes(qint64 bytes);
QString withAmount(const QString &caption, qint64 received, qint64 total);

} // namespace ProgressCaption

} // namespace clipnab

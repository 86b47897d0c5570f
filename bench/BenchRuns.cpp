#include "BenchRuns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

namespace BenchRuns {

double wallSeconds(QProcess &process, const QString &program, const QStringList &arguments,
                   int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    const bool ended = process.waitForFinished(limitMs);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
               ? seconds
               : -1;
}

QStringList folderContents(const QString &folder)
{
    QStringList sums;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(QDir(folder).filePath(name));
        QCryptographicHash hash(QCryptographicHash::Sha1);
        if (name.endsWith(QLatin1String(".part")) || !file.open(QIODevice::ReadOnly) ||
            !hash.addData(&file))
            return {};
        sums << QString::number(file.size()) + QLatin1Char(' ') +
                    QString::fromLatin1(hash.result().toHex());
    }
    sums.sort();
    return sums;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace BenchRuns

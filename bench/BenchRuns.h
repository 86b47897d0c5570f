#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

// What the benchmarks that run programs share: timing a run, and checking what it saved.
namespace BenchRuns {

// Wall seconds of `program` started on `process` and run to its end; negative when it failed or
// took longer than `limitMs`.
double wallSeconds(QProcess &process, const QString &program, const QStringList &arguments,
                   int limitMs);

// Size and SHA-1 of each file in `folder`, sorted; empty when a part file is left or a file
// cannot be read, so that a missing or unfinished video shows.
QStringList folderContents(const QString &folder);

// The middle of the values measured; -1 when there are none.
double median(std::vector<double> values);

} // namespace BenchRuns

#pragma once

#include <QString>

#include <optional>

namespace clipnab {

// A running download's numbers as words, shared by the window (the strip's tooltip and
// accessible description, the window title) and the save without a window (its progress line):
//
//   42%: 12.3 MB of 29.0 MB at 1.5 MB/s, 12 s left
//   3.1 MB at 800.0 KB/s                     (no length announced)
//
// The speed and the time left appear once they are known.
class ProgressText
{
public:
    ProgressText(qint64 received, qint64 total, std::optional<double> bytesPerSecond = {},
                 std::optional<qint64> secondsLeft = {});

    // Whole percents, rounded down (100 only once everything is there); nothing without a total.
    std::optional<int> percent() const;
    QString line() const;
    // "42% - Clipnab V2"; "12.3 MB - Clipnab V2" without a total.
    QString windowTitle(const QString &title) const;

    // "512 bytes", "1.5 KB", "12.3 MB", "1.25 GB", in units of 1024.
    static QString size(qint64 bytes);
    // "1.5 MB/s".
    static QString speed(double bytesPerSecond);
    // "45 s", "2 min 05 s", "1 h 02 min".
    static QString duration(qint64 seconds);

private:
    qint64 m_received;
    qint64 m_total;
    std::optional<double> m_bytesPerSecond;
    std::optional<qint64> m_secondsLeft;
};

} // namespace clipnab

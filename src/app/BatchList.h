#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace clipnab {

// The addresses of a batch file, one a line, read a line at a time so that a file of any length
// needs little memory: a line longer than kMaxLineBytes is reported as refused and skipped to its
// end, never kept whole. Blank lines and lines whose first character (after blanks) is "#" are
// not addresses; blanks around an address and a carriage return before the line feed go.
class BatchList
{
public:
    static constexpr qint64 kMaxLineBytes = 8 * 1024;

    struct Line
    {
        int number = 0;       // from 1
        QString address{};    // empty for a refused line
        bool tooLong = false; // refused: longer than kMaxLineBytes
    };

    // `fileName` is a file, or "-" for standard input. False, with errorString(), when it cannot
    // be read.
    bool open(const QString &fileName);
    // The next address line; nothing at the end of the input or after a read error.
    std::optional<Line> next();
    // Why open() or a read failed; empty when nothing did.
    QString errorString() const { return m_error; }
    // The file's name as given ("-" for standard input).
    QString fileName() const { return m_fileName; }

private:
    QFile m_file;
    QString m_fileName;
    QString m_error;
    QByteArray m_buffer;
    int m_lineNumber = 0;
};

} // namespace clipnab

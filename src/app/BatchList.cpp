#include "app/BatchList.h"

#include <QFileInfo>

#include <cstdio>

namespace clipnab {

bool BatchList::open(const QString &fileName)
{
    m_fileName = fileName;
    m_error.clear();
    m_lineNumber = 0;
    if (fileName == QLatin1String("-")) {
        if (m_file.open(stdin, QIODevice::ReadOnly))
            return true;
    } else if (QFileInfo(fileName).isDir()) {
        m_error = QStringLiteral("it is a folder");
        return false;
    } else {
        m_file.setFileName(fileName);
        if (m_file.open(QIODevice::ReadOnly))
            return true;
    }
    m_error = m_file.errorString();
    return false;
}

std::optional<BatchList::Line> BatchList::next()
{
    // Room for the longest line taken, its line feed, one byte that tells a longer line and the
    // terminating zero readLine() writes.
    m_buffer.resize(kMaxLineBytes + 3);
    while (m_file.isOpen()) {
        const qint64 read = m_file.readLine(m_buffer.data(), m_buffer.size());
        if (read <= 0) {
            if (m_file.error() != QFileDevice::NoError)
                m_error = m_file.errorString();
            m_file.close();
            break;
        }
        ++m_lineNumber;
        QByteArrayView bytes(m_buffer.constData(), read);
        bool complete = bytes.endsWith('\n');
        if (!complete && read > kMaxLineBytes) {
            // The rest of the long line is read and dropped in pieces of the buffer's size.
            while (!complete) {
                const qint64 more = m_file.readLine(m_buffer.data(), m_buffer.size());
                if (more <= 0)
                    break;
                complete = m_buffer.at(more - 1) == '\n';
            }
            return Line{.number = m_lineNumber, .tooLong = true};
        }
        if (complete)
            bytes.chop(bytes.endsWith("\r\n") ? 2 : 1);
        if (bytes.size() > kMaxLineBytes)
            return Line{.number = m_lineNumber, .tooLong = true};
        const QString text = QString::fromUtf8(bytes).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        return Line{.number = m_lineNumber, .address = text};
    }
    return std::nullopt;
}

} // namespace clipnab

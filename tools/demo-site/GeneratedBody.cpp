#include "GeneratedBody.h"

#include <QByteArray>

namespace clipnab {

GeneratedBody::GeneratedBody(qint64 size, QObject *parent) : QIODevice(parent), m_size(size) {}

QByteArray GeneratedBody::bytes(qint64 offset, qint64 length)
{
    QByteArray result(length, Qt::Uninitialized);
    for (qint64 i = 0; i < length; ++i)
        result[i] = byteAt(offset + i);
    return result;
}

qint64 GeneratedBody::readData(char *data, qint64 maxSize)
{
    const qint64 offset = pos();
    const qint64 count = qMin(maxSize, m_size - offset);
    if (count <= 0)
        return 0;
    for (qint64 i = 0; i < count; ++i)
        data[i] = byteAt(offset + i);
    return count;
}

qint64 GeneratedBody::writeData(const char *, qint64)
{
    return -1;
}

} // namespace clipnab

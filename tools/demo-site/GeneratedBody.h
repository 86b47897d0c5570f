#pragma once

#include <QIODevice>

namespace clipnab {

// A read-only device of any size whose bytes are computed from their offsets, so a large
// download can be served and checked without holding it in memory.
class GeneratedBody : public QIODevice
{
    Q_OBJECT

public:
    explicit GeneratedBody(qint64 size, QObject *parent = nullptr);

    // The byte at an offset: a multiplicative hash, so shifted or reordered pieces never match.
    static char byteAt(qint64 offset)
    {
        return static_cast<char>((static_cast<quint64>(offset) * 0x9E3779B97F4A7C15ULL) >> 56);
    }
    // The bytes from offset to offset + length.
    static QByteArray bytes(qint64 offset, qint64 length);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    qint64 m_size;
};

} // namespace clipnab

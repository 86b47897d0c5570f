#pragma once

#include "components/TransferComponent.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QStringList>

namespace clipnab {

// A scripted transfer for tests: Execute("Get") only records the address; complete() and fail()
// raise the states a real transfer would, and the body and headers are whatever the test set.
// Like the real one it writes the body into its destination file (reporting progress every 1024
// bytes) and deletes that file when it fails or is told to quit.
class FakeTransfer : public TransferComponent
{
    Q_OBJECT

public:
    using TransferComponent::TransferComponent;

    void setURL(const QString &url) override { m_url = url; }
    QString URL() const override { return m_url; }
    void setDestination(const QString &partPath) override { m_destination = partPath; }
    QString destination() const override { return m_destination; }
    bool writeFailed() const override { return m_writeFailed; }

    bool Execute(const QString &operation) override
    {
        const QString name = operation.trimmed().toUpper();
        operations.append(name);
        if (name == QLatin1String("QUIT")) {
            if (m_running)
                removeDestination();
            m_partPath.clear();
            m_running = false;
            m_offset = m_body.size();
            return true;
        }
        if (name != QLatin1String("GET") || m_running || refuseGets)
            return false;
        requestedUrls.append(m_url);
        destinations.append(m_destination);
        m_partPath = m_destination;
        m_writeFailed = false;
        m_running = true;
        m_offset = 0;
        return true;
    }

    QString GetHeader(const QString &name) const override
    {
        for (const auto &[key, value] : m_headers) {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        }
        return {};
    }

    QByteArray GetChunk(int size) override
    {
        chunkRequests.append(size);
        if (size <= 0 || m_offset >= m_body.size())
            return {};
        const QByteArray chunk = m_body.mid(m_offset, size);
        m_offset += chunk.size();
        return chunk;
    }

    // The body to serve; also sets Content-Length unless withLength is false.
    void setBody(const QByteArray &body, bool withLength = true)
    {
        m_body = body;
        m_offset = 0;
        if (withLength)
            setHeader(QStringLiteral("Content-Length"), QString::number(body.size()));
    }

    void setHeader(const QString &name, const QString &value)
    {
        for (auto &header : m_headers) {
            if (header.first.compare(name, Qt::CaseInsensitive) == 0) {
                header.second = value;
                return;
            }
        }
        m_headers.append({name, value});
    }

    void clearHeaders() { m_headers.clear(); }

    bool isRunning() const { return m_running; }

    // Finishes the running request: states 7, then the body into the destination, then 8 and
    // 12; or the error state once failAtOffset bytes are written.
    void complete()
    {
        m_offset = 0;
        Q_EMIT StateChanged(static_cast<int>(State::ReceivingResponse));
        const qint64 total = GetHeader(QStringLiteral("Content-Length")).isEmpty()
                                 ? -1
                                 : GetHeader(QStringLiteral("Content-Length")).toLongLong();
        QFile part(m_partPath);
        const bool toFile = !m_partPath.isEmpty() && part.open(QIODevice::WriteOnly);
        for (qsizetype written = 0; written < m_body.size();) {
            if (failAtOffset >= 0 && written >= failAtOffset) {
                failAtOffset = -1;
                part.close();
                fail();
                return;
            }
            const QByteArray piece = m_body.mid(written, 1024);
            if (toFile)
                part.write(piece);
            written += piece.size();
            Q_EMIT bodyProgress(written, total);
        }
        part.close();
        m_running = false;
        for (const State state : {State::ResponseReceived, State::ResponseCompleted})
            Q_EMIT StateChanged(static_cast<int>(state));
    }

    // Ends the running request in the error state; its file goes.
    void fail(bool writeFailed = false)
    {
        removeDestination();
        m_partPath.clear();
        m_running = false;
        m_writeFailed = writeFailed;
        Q_EMIT StateChanged(static_cast<int>(State::Error));
    }

    QStringList operations;
    QStringList requestedUrls;
    QStringList destinations;
    QList<int> chunkRequests;
    bool refuseGets = false;
    // complete() fails once this many bytes have been written; -1 never.
    qsizetype failAtOffset = -1;

private:
    void removeDestination()
    {
        if (!m_partPath.isEmpty() && QFileInfo(m_partPath).isFile())
            QFile::remove(m_partPath);
    }

    QString m_url;
    QString m_destination;
    QString m_partPath;
    bool m_writeFailed = false;
    QByteArray m_body;
    qsizetype m_offset = 0;
    QList<QPair<QString, QString>> m_headers;
    bool m_running = false;
};

} // namespace clipnab

#pragma once

#include "components/TransferComponent.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace clipnab {

// A scripted transfer for tests: Execute("Get") only records the address; complete() and fail()
// raise the states a real transfer would, and the body and headers are whatever the test set.
class FakeTransfer : public TransferComponent
{
    Q_OBJECT

public:
    using TransferComponent::TransferComponent;

    void setURL(const QString &url) override { m_url = url; }
    QString URL() const override { return m_url; }

    bool Execute(const QString &operation) override
    {
        const QString name = operation.trimmed().toUpper();
        operations.append(name);
        if (name == QLatin1String("QUIT")) {
            m_running = false;
            m_offset = m_body.size();
            return true;
        }
        if (name != QLatin1String("GET") || m_running || refuseGets)
            return false;
        requestedUrls.append(m_url);
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
        if (failAtOffset >= 0 && m_offset >= failAtOffset) {
            // The body cannot be read back: the error state is raised inside the call.
            failAtOffset = -1;
            m_offset = m_body.size();
            Q_EMIT StateChanged(static_cast<int>(State::Error));
            return {};
        }
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

    // Finishes the running request successfully: states 7, 8 and 12.
    void complete()
    {
        m_running = false;
        m_offset = 0;
        for (const State state :
             {State::ReceivingResponse, State::ResponseReceived, State::ResponseCompleted})
            Q_EMIT StateChanged(static_cast<int>(state));
    }

    // Ends the running request in the error state.
    void fail()
    {
        m_running = false;
        Q_EMIT StateChanged(static_cast<int>(State::Error));
    }

    QStringList operations;
    QStringList requestedUrls;
    QList<int> chunkRequests;
    bool refuseGets = false;
    // GetChunk fails once this many bytes have been read; -1 never.
    qsizetype failAtOffset = -1;

private:
    QString m_url;
    QByteArray m_body;
    qsizetype m_offset = 0;
    QList<QPair<QString, QString>> m_headers;
    bool m_running = false;
};

} // namespace clipnab

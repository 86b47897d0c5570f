#pragma once

#include "components/TransferComponent.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QStringList>

#include <utility>

namespace clipnab {

// A scripted transfer for tests: start() only records the request; complete() and fail() report
// what a real transfer would, and the body and headers are whatever the test set. Like the real
// one it writes the body into the part file it was given (reporting progress every 1024 bytes),
// fails when that file is missing, and never creates, renames or deletes a file.
class FakeTransfer : public TransferComponent
{
    Q_OBJECT

public:
    using TransferComponent::TransferComponent;

    std::optional<QString> start(const TransferRequest &request) override
    {
        if (m_running)
            return QStringLiteral("a get is running already");
        if (refuseGets)
            return QStringLiteral("the test refuses gets");
        requestedUrls.append(request.url);
        destinations.append(request.partPath);
        requests.append(request);
        m_partPath = request.partPath;
        m_running = true;
        return std::nullopt;
    }

    void abort() override
    {
        if (m_running)
            ++aborts;
        m_running = false;
    }

    QString destination() const override { return m_partPath; }

    QString GetHeader(const QString &name) const override
    {
        for (const auto &[key, value] : m_headers) {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        }
        return {};
    }

    // The body to serve; also sets Content-Length unless withLength is false.
    void setBody(const QByteArray &body, bool withLength = true)
    {
        m_body = body;
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

    // Ends the running get: the body into its part file with progress, then finished(); or
    // failed() once failAtOffset bytes are written. Without a running get it only reports, as a
    // late report of an ended one would.
    void complete()
    {
        const bool running = std::exchange(m_running, false);
        const QString length = GetHeader(QStringLiteral("Content-Length"));
        const qint64 total = length.isEmpty() ? -1 : length.toLongLong();
        QFile part(m_partPath);
        if (running && !part.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
            Q_EMIT failed(TransferFailure::Write, QStringLiteral("the part file is missing"));
            return;
        }
        part.resize(0);
        for (qsizetype written = 0; written < m_body.size();) {
            if (failAtOffset >= 0 && written >= failAtOffset) {
                failAtOffset = -1;
                part.close();
                Q_EMIT failed(
                    TransferFailure::Length,
                    QStringLiteral("the server closed the connection after %1 of %2 bytes")
                        .arg(written)
                        .arg(m_body.size()));
                return;
            }
            const QByteArray piece = m_body.mid(written, 1024);
            if (running)
                part.write(piece);
            written += piece.size();
            Q_EMIT progress(written, total);
        }
        part.close();
        Q_EMIT finished();
    }

    // Ends the running get in failure; its part file stays as it is.
    void
    fail(TransferFailure kind = TransferFailure::Http,
         const QString &reason = QStringLiteral("the server answered 500 Internal Server Error"))
    {
        m_running = false;
        Q_EMIT failed(kind, reason);
    }

    QStringList requestedUrls;
    QStringList destinations;
    QList<TransferRequest> requests;
    // Gets ended by abort().
    int aborts = 0;
    bool refuseGets = false;
    // complete() fails once this many bytes have been written; -1 never.
    qsizetype failAtOffset = -1;

private:
    QString m_partPath;
    QByteArray m_body;
    QList<QPair<QString, QString>> m_headers;
    bool m_running = false;
};

} // namespace clipnab

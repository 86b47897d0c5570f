#include "support/FreePort.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <csignal>

using clipnab::freePort;

namespace {

constexpr int StartLimitMs = 20000;

const QRegularExpression
    listeningLine(QStringLiteral("^listening on http://127\\.0\\.0\\.1:(\\d+)\\n$"));

} // namespace

// The demo site as a separate program: one announcement line, a working site, a clean stop.
class DemoSiteProgramTest : public QObject
{
    Q_OBJECT

private:
    // Starts the program and returns its announced port, 0 when it announced none.
    quint16 start(QProcess &process, const QStringList &arguments)
    {
        process.start(QStringLiteral(CLIPNAB_DEMO_SITE_PROGRAM), arguments);
        if (!process.waitForStarted(StartLimitMs))
            return 0;
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(StartLimitMs))
                return 0;
        }
        const QRegularExpressionMatch match =
            listeningLine.match(QString::fromLatin1(process.readLine()));
        return match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
    }

    int homePageStatus(quint16 port)
    {
        QNetworkAccessManager manager;
        QNetworkReply *reply =
            manager.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port))));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            finished.wait(StartLimitMs);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        delete reply;
        return status;
    }

private Q_SLOTS:
    void servesUntilAskedToStop_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("choosePort");
        QTest::newRow("terminate, free port") << int(SIGTERM) << false;
        QTest::newRow("interrupt, given port") << int(SIGINT) << true;
    }
    void servesUntilAskedToStop()
    {
        QFETCH(int, signal);
        QFETCH(bool, choosePort);
        const quint16 wanted = choosePort ? freePort() : 0;
        QProcess process;
        const quint16 port = start(
            process, choosePort ? QStringList{QStringLiteral("--port"), QString::number(wanted)}
                                : QStringList{});
        QVERIFY(port != 0);
        if (choosePort)
            QCOMPARE(port, wanted);
        QCOMPARE(homePageStatus(port), 200);

        QVERIFY(::kill(pid_t(process.processId()), signal) == 0);
        QVERIFY(process.waitForFinished(StartLimitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    void badPortIsRejected_data()
    {
        QTest::addColumn<QString>("port");
        QTest::newRow("not a number") << "http";
        QTest::newRow("too large") << "70000";
        QTest::newRow("negative") << "-1";
    }
    void badPortIsRejected()
    {
        QFETCH(QString, port);
        QProcess process;
        process.start(QStringLiteral(CLIPNAB_DEMO_SITE_PROGRAM), {QStringLiteral("--port"), port});
        QVERIFY(process.waitForFinished(StartLimitMs));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(!process.readAllStandardError().isEmpty());
    }

    void portInUseIsAFailure()
    {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
        QProcess process;
        process.start(QStringLiteral(CLIPNAB_DEMO_SITE_PROGRAM),
                      {QStringLiteral("--port"), QString::number(holder.serverPort())});
        QVERIFY(process.waitForFinished(StartLimitMs));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(DemoSiteProgramTest)
#include "tst_demositeprogram.moc"

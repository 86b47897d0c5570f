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

constexpr int kStartLimitMs = 20000;

const QRegularExpression
    kListeningLine(QStringLiteral("^listening on http://127\\.0\\.0\\.1:(\\d+)\\n$"));

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
        if (!process.waitForStarted(kStartLimitMs))
            return 0;
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(kStartLimitMs))
                return 0;
        }
        const QRegularExpressionMatch match =
            kListeningLine.match(QString::fromLatin1(process.readLine()));
        return match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
    }

    int homePageStatus(quint16 port)
    {
        QNetworkAccessManager manager;
        QNetworkReply *reply =
            manager.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port))));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            finished.wait(kStartLimitMs);
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
        QVERIFY(process.waitForFinished(kStartLimitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    void badArgumentsAreRejected_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QString port = QStringLiteral("--port");
        QTest::newRow("not a number") << QStringList{port, QStringLiteral("http")};
        QTest::newRow("too large") << QStringList{port, QStringLiteral("70000")};
        QTest::newRow("negative") << QStringList{port, QStringLiteral("-1")};
        QTest::newRow("port without value") << QStringList{port};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--colour")};
        QTest::newRow("unexpected argument") << QStringList{QStringLiteral("8080")};
        QTest::newRow("unknown redirect")
            << QStringList{QStringLiteral("--redirect-file"), QStringLiteral("sideways")};
    }
    void badArgumentsAreRejected()
    {
        QFETCH(QStringList, arguments);
        QProcess process;
        process.start(QStringLiteral(CLIPNAB_DEMO_SITE_PROGRAM), arguments);
        QVERIFY(process.waitForFinished(kStartLimitMs));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QCOMPARE(process.readAllStandardError().count('\n'), 1);
    }

    void portInUseIsAFailure()
    {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
        QProcess process;
        process.start(QStringLiteral(CLIPNAB_DEMO_SITE_PROGRAM),
                      {QStringLiteral("--port"), QString::number(holder.serverPort())});
        QVERIFY(process.waitForFinished(kStartLimitMs));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(DemoSiteProgramTest)
#include "tst_demositeprogram.moc"

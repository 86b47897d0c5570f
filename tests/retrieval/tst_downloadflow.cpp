#include "support/FakeBrowser.h"
#include "support/FakeTransfer.h"
#include "support/FixedClock.h"

#include "retrieval/DownloadFlow.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

using Kind = DownloadOutcome::Kind;
using Phase = DownloadFlow::Phase;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:1");

// One flow with fakes around it and a scratch download folder; it keeps every outcome, with
// whether the flow was still busy when it reported it.
struct Rig
{
    Rig()
    {
        folder = dir.filePath(QStringLiteral("download"));
        flow = std::make_unique<DownloadFlow>(clock, browser, transfer,
                                              DownloadFlow::Settings{kSite, folder});
        QObject::connect(flow.get(), &DownloadFlow::finished, flow.get(),
                         [this](const DownloadOutcome &outcome) {
                             outcomes.append(outcome);
                             busyAtReport.append(flow->downloading());
                             reportedAtOutcome.append(reported.size());
                         });
        QObject::connect(flow.get(), &DownloadFlow::phaseChanged, flow.get(),
                         [this](Phase phase) { phases.append(phase); });
        QObject::connect(flow.get(), &DownloadFlow::progressChanged, flow.get(),
                         [this](qint64 received, qint64 total) {
                             reported.append(received);
                             totals.append(total);
                         });
    }

    // Address -> locator -> landed page -> completed transfer of `body`.
    void download(const QByteArray &body, bool withLength = true)
    {
        flow->start(kSite + QStringLiteral("/watch?v=abc&feature=x"));
        browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok&fmt=1"));
        transfer.setBody(body, withLength);
        transfer.complete();
    }

    QStringList files() const { return QDir(folder).entryList(QDir::Files); }

    // The texts of the failures reported so far.
    QStringList messages() const
    {
        QStringList texts;
        for (const DownloadOutcome &outcome : outcomes) {
            if (outcome.kind != Kind::Saved)
                texts.append(outcome.message);
        }
        return texts;
    }

    QTemporaryDir dir;
    QString folder;
    FixedClock clock{fixedTestTime()};
    FakeBrowser browser;
    FakeTransfer transfer;
    std::unique_ptr<DownloadFlow> flow;
    QList<DownloadOutcome> outcomes;
    QList<bool> busyAtReport;
    // How many progress reports had come when each outcome came.
    QList<qsizetype> reportedAtOutcome;
    QList<Phase> phases;
    QList<qint64> reported;
    QList<qint64> totals;
};

} // namespace

class DownloadFlowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void validationFailureChangesNothing();
    void locatorAddresses();
    void savesBody_data();
    void savesBody();
    void noTokenReturnsToIdle();
    void lateDocumentsIgnored();
    void transferErrorSavesNothing();
    void shortBodyIsDiscarded();
    void failureMidBodyEndsOnce_data();
    void failureMidBodyEndsOnce();
    void unwritableFolder();
    void sameSecondTwice();
    void endsCleanly_data();
    void endsCleanly();
    void destroyedWhileTransferringKeepsNothing();
    void reasonReachesTheOutcome_data();
    void reasonReachesTheOutcome();
};

void DownloadFlowTest::validationFailureChangesNothing()
{
    Rig rig;
    rig.flow->start(QStringLiteral("ftp://x/watch?v=a"));
    QCOMPARE(rig.messages(), QStringList{QStringLiteral("URL must be based on HTTP Socket")});
    QCOMPARE(rig.outcomes.first().kind, Kind::Invalid);
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.browser.navigations.isEmpty());
    QVERIFY(rig.phases.isEmpty());
    QCOMPARE(rig.flow->phase(), Phase::Idle);
}

void DownloadFlowTest::locatorAddresses()
{
    Rig rig;
    QSignalSpy changed(rig.flow.get(), &DownloadFlow::downloadingChanged);
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc&feature=x"));
    QCOMPARE(rig.flow->videoId(), QStringLiteral("abc"));
    QVERIFY(rig.flow->downloading());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rig.browser.navigations, QStringList{kSite + QStringLiteral("/v/abc")});
    QCOMPARE(rig.phases, QList<Phase>{Phase::Analysing});

    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok=1&fmt=1"));
    QCOMPARE(rig.transfer.requestedUrls,
             QStringList{kSite + QStringLiteral("/get_video?video_id=abc&t=tok")});
    QCOMPARE(rig.phases, (QList<Phase>{Phase::Analysing, Phase::Transferring}));
    QVERIFY(rig.outcomes.isEmpty());
}

void DownloadFlowTest::savesBody_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("withLength");
    // The bytes received as the transfer reported them (every 1024 here).
    QTest::addColumn<QList<qint64>>("reported");
    QTest::newRow("0 bytes") << 0 << true << QList<qint64>{};
    QTest::newRow("1 byte") << 1 << true << QList<qint64>{1};
    QTest::newRow("1024 bytes") << 1024 << true << QList<qint64>{1024};
    QTest::newRow("1025 bytes") << 1025 << true << QList<qint64>{1024, 1025};
    QTest::newRow("3000 bytes") << 3000 << true << QList<qint64>{1024, 2048, 3000};
    QTest::newRow("3000 bytes, no length") << 3000 << false << QList<qint64>{1024, 2048, 3000};
}

void DownloadFlowTest::savesBody()
{
    QFETCH(int, size);
    QFETCH(bool, withLength);
    QFETCH(QList<qint64>, reported);
    Rig rig;
    QByteArray body(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        body[i] = static_cast<char>(i % 251);
    rig.download(body, withLength);

    QCOMPARE(rig.files(), QStringList{QStringLiteral("12_7_1_5_9.flv")});
    // The transfer wrote the body beside its final name; the save only renamed it.
    QCOMPARE(rig.transfer.destinations,
             QStringList{QDir(rig.folder).filePath(QStringLiteral("12_7_1_5_9.flv.part"))});
    QFile file(QDir(rig.folder).filePath(QStringLiteral("12_7_1_5_9.flv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), body);
    QCOMPARE(rig.outcomes.size(), 1);
    QCOMPARE(rig.outcomes.first().kind, Kind::Saved);
    QCOMPARE(rig.outcomes.first().savedPath, file.fileName());
    QCOMPARE(rig.reported, reported);
    QCOMPARE(rig.totals, QList<qint64>(reported.size(), withLength ? size : 0));
    // Back to idle before the report.
    QCOMPARE(rig.busyAtReport, QList<bool>{false});
    QVERIFY(!rig.flow->downloading());
    QCOMPARE(rig.phases, (QList<Phase>{Phase::Analysing, Phase::Transferring, Phase::Idle}));
}

void DownloadFlowTest::noTokenReturnsToIdle()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"));
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t="));
    QCOMPARE(rig.messages(),
             QStringList{QStringLiteral("Can not get the video file from this URL")});
    QCOMPARE(rig.outcomes.first().kind, Kind::NoToken);
    // Reported while the lookup still runs; idle only afterwards.
    QCOMPARE(rig.busyAtReport, QList<bool>{true});
    QVERIFY(!rig.flow->downloading());
    QCOMPARE(rig.flow->phase(), Phase::Idle);
    QVERIFY(rig.transfer.requestedUrls.isEmpty());
}

void DownloadFlowTest::lateDocumentsIgnored()
{
    Rig rig;
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    QVERIFY(rig.transfer.requestedUrls.isEmpty());
    QVERIFY(rig.outcomes.isEmpty());
}

void DownloadFlowTest::transferErrorSavesNothing()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"));
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    rig.transfer.fail();
    QCOMPARE(rig.messages(), QStringList{QStringLiteral("Can not download the video file")});
    QCOMPARE(rig.outcomes.first().kind, Kind::DownloadFailed);
    QCOMPARE(rig.busyAtReport, QList<bool>{false});
    QVERIFY(!rig.flow->downloading());
    QCOMPARE(rig.flow->phase(), Phase::Idle);
    QVERIFY(rig.files().isEmpty());
}

void DownloadFlowTest::shortBodyIsDiscarded()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"));
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    rig.transfer.setBody(QByteArray(500, 'x'));
    rig.transfer.setHeader(QStringLiteral("Content-Length"), QStringLiteral("1000"));
    rig.transfer.complete();
    QCOMPARE(rig.messages(), QStringList{QStringLiteral("Can not download the video file")});
    QVERIFY(rig.files().isEmpty());
    QVERIFY(!rig.flow->downloading());
}

void DownloadFlowTest::failureMidBodyEndsOnce_data()
{
    QTest::addColumn<bool>("withLength");
    QTest::newRow("length announced") << true;
    QTest::newRow("no length") << false;
}

void DownloadFlowTest::failureMidBodyEndsOnce()
{
    QFETCH(bool, withLength);
    Rig rig;
    rig.transfer.failAtOffset = 2048;
    QSignalSpy changed(rig.flow.get(), &DownloadFlow::downloadingChanged);
    rig.download(QByteArray(5000, 'v'), withLength);
    QCOMPARE(rig.messages(), QStringList{QStringLiteral("Can not download the video file")});
    QVERIFY(QDir(rig.folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(rig.outcomes.size(), 1);
    QCOMPARE(rig.outcomes.first().kind, Kind::DownloadFailed);
    QCOMPARE(changed.count(), 2); // on at the start, off once at the end
    QVERIFY(!rig.flow->downloading());
    QCOMPARE(rig.phases, (QList<Phase>{Phase::Analysing, Phase::Transferring, Phase::Idle}));
}

void DownloadFlowTest::unwritableFolder()
{
    Rig rig;
    // A plain file where the folder should be: neither the folder nor the video can be made.
    QFile blocker(rig.folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    rig.download(QByteArray(3000, 'v'));
    QCOMPARE(rig.messages(), QStringList{QStringLiteral("Can not save the video file")});
    QCOMPARE(rig.outcomes.first().kind, Kind::SaveFailed);
    QVERIFY2(rig.outcomes.first().reason.endsWith(QLatin1String(": not a directory")),
             qPrintable(rig.outcomes.first().reason));
    QVERIFY(!rig.flow->downloading());
    QCOMPARE(rig.flow->phase(), Phase::Idle);
    QVERIFY(QFileInfo(rig.folder).isFile());
}

void DownloadFlowTest::sameSecondTwice()
{
    Rig rig;
    rig.download(QByteArray("first"));
    rig.download(QByteArray("second"));
    QCOMPARE(rig.files(),
             (QStringList{QStringLiteral("12_7_1_5_9 (2).flv"), QStringLiteral("12_7_1_5_9.flv")}));
    QFile first(QDir(rig.folder).filePath(QStringLiteral("12_7_1_5_9.flv")));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("first"));
}

void DownloadFlowTest::endsCleanly_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    const QString cannotDownload = QStringLiteral("Can not download the video file");
    QTest::newRow("refused Get") << "refused" << int(Kind::DownloadFailed) << cannotDownload;
    QTest::newRow("document without token while transferring")
        << "late" << int(Kind::NoToken)
        << QStringLiteral("Can not get the video file from this URL");
    QTest::newRow("disk full mid-body")
        << "diskfull" << int(Kind::SaveFailed) << QStringLiteral("Can not save the video file");
    QTest::newRow("stopped while transferring") << "stop" << int(Kind::Stopped) << QString();
    QTest::newRow("stopped while analysing") << "stopEarly" << int(Kind::Stopped) << QString();
}

void DownloadFlowTest::endsCleanly()
{
    // One outcome, idle, the transfer not left running and no file left behind.
    QFETCH(QString, how);
    QFETCH(int, kind);
    QFETCH(QString, message);
    Rig rig;
    rig.transfer.refuseGets = how == QLatin1String("refused");
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"));
    if (how == QLatin1String("stopEarly")) {
        rig.flow->stop();
        rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    } else {
        rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    }
    if (how == QLatin1String("late")) {
        rig.browser.finish(kSite + QStringLiteral("/frame.html"));
    } else if (how == QLatin1String("stop")) {
        rig.flow->stop();
        rig.flow->stop();
    } else if (how == QLatin1String("diskfull")) {
        rig.transfer.fail(TransferFailure::Write, QStringLiteral("no space left on device"));
    }
    // Whatever the transfer might still report is ignored.
    rig.transfer.setBody(QByteArray(3000, 'v'));
    rig.transfer.complete();

    QCOMPARE(rig.outcomes.size(), 1);
    QCOMPARE(rig.reported.size(), rig.reportedAtOutcome.first());
    QCOMPARE(int(rig.outcomes.first().kind), kind);
    QCOMPARE(rig.outcomes.first().message, message);
    QVERIFY(!rig.flow->downloading());
    QCOMPARE(rig.flow->phase(), Phase::Idle);
    QVERIFY(!rig.transfer.isRunning());
    QVERIFY(QDir(rig.folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    // The next download works.
    rig.transfer.refuseGets = false;
    rig.download(QByteArray("next"));
    QCOMPARE(rig.outcomes.last().kind, Kind::Saved);
    QCOMPARE(rig.files().size(), 1);
}

void DownloadFlowTest::destroyedWhileTransferringKeepsNothing()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"));
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    QCOMPARE(rig.files(), QStringList{QStringLiteral("12_7_1_5_9.flv.part")});
    rig.flow.reset();
    QCOMPARE(rig.transfer.aborts, 1);
    QVERIFY(rig.files().isEmpty());
    QVERIFY(rig.outcomes.isEmpty());
}

void DownloadFlowTest::reasonReachesTheOutcome_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reason");
    QTest::newRow("error status") << "http" << int(Kind::DownloadFailed)
                                  << QStringLiteral("Can not download the video file")
                                  << QStringLiteral("the server answered 404 Not Found");
    QTest::newRow("closed early")
        << "length" << int(Kind::DownloadFailed)
        << QStringLiteral("Can not download the video file")
        << QStringLiteral("the server closed the connection after 2048 of 5000 bytes");
    QTest::newRow("no token") << "notoken" << int(Kind::NoToken)
                              << QStringLiteral("Can not get the video file from this URL")
                              << QStringLiteral("no video token on the page");
    QTest::newRow("site unreachable") << "unreachable" << int(Kind::NoToken)
                                      << QStringLiteral("Can not get the video file from this URL")
                                      << QStringLiteral("the site could not be reached");
}

void DownloadFlowTest::reasonReachesTheOutcome()
{
    // The user's sentence stays fixed; the reason says what went wrong.
    QFETCH(QString, how);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, reason);
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"));
    if (how == QLatin1String("notoken")) {
        rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc"));
    } else if (how == QLatin1String("unreachable")) {
        rig.browser.finish(kSite + QStringLiteral("/v/abc"), reason);
    } else {
        rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
        if (how == QLatin1String("http")) {
            rig.transfer.fail(TransferFailure::Http, reason);
        } else {
            rig.transfer.failAtOffset = 2048;
            rig.transfer.setBody(QByteArray(5000, 'v'));
            rig.transfer.complete();
        }
    }
    QCOMPARE(rig.outcomes.size(), 1);
    QCOMPARE(int(rig.outcomes.first().kind), kind);
    QCOMPARE(rig.outcomes.first().message, message);
    QCOMPARE(rig.outcomes.first().reason, reason);
}

QTEST_GUILESS_MAIN(DownloadFlowTest)
#include "tst_downloadflow.moc"

#include "../app/FakeTransfer.h"
#include "../support/FakeBrowser.h"
#include "../support/FakeServices.h"

#include "platform/widgets/PlatformContext.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/DownloadView.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:1");

struct RecordingView final : DownloadView
{
    void setDownloadControlsEnabled(bool e) override { controlsEnabled = e; }
    void setStatusCaption(const QString &c) override { caption = c; }
    void setStatusVisible(bool v) override { statusVisible = v; }
    void setProgressVisible(bool v) override { progressVisible = v; }
    void setProgressWidthTwips(int t) override { widths.append(t); }
    QWidget *dialogParent() override { return nullptr; }

    bool controlsEnabled = true;
    QString caption = QStringLiteral("Analysing URL...");
    bool statusVisible = false;
    bool progressVisible = false;
    QList<int> widths;
};

// One flow with fakes around it and a scratch download folder.
struct Rig
{
    Rig()
    {
        folder = dir.filePath(QStringLiteral("download"));
        flow = std::make_unique<DownloadFlow>(context, browser, transfer, view,
                                              DownloadFlow::Settings{kSite, folder});
    }

    // Address -> locator -> landed page -> completed transfer of `body`.
    void download(const QByteArray &body, bool withLength = true)
    {
        flow->start(kSite + QStringLiteral("/watch?v=abc&feature=x"), false);
        browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok&fmt=1"));
        transfer.setBody(body, withLength);
        transfer.complete();
    }

    QStringList files() const { return QDir(folder).entryList(QDir::Files); }

    QTemporaryDir dir;
    QString folder;
    PlatformContext context;
    FakeBrowser browser;
    FakeTransfer transfer;
    RecordingView view;
    FakeServiceSet fakes{context};
    std::shared_ptr<QStringList> &warnings = fakes.warnings;
    std::shared_ptr<QStringList> &opened = fakes.opened;
    std::unique_ptr<DownloadFlow> flow;
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
    void failureWhileDrainingEndsOnce_data();
    void failureWhileDrainingEndsOnce();
    void unwritableFolder();
    void sameSecondTwice();
};

void DownloadFlowTest::validationFailureChangesNothing()
{
    Rig rig;
    rig.flow->start(QStringLiteral("ftp://x/watch?v=a"), false);
    QCOMPARE(*rig.warnings, QStringList{QStringLiteral("URL must be based on HTTP Socket")});
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.browser.navigations.isEmpty());
    QVERIFY(rig.view.controlsEnabled);
}

void DownloadFlowTest::locatorAddresses()
{
    Rig rig;
    QSignalSpy changed(rig.flow.get(), &DownloadFlow::downloadingChanged);
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc&feature=x"), false);
    QCOMPARE(rig.flow->videoId(), QStringLiteral("abc"));
    QVERIFY(rig.flow->downloading());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rig.browser.navigations, QStringList{kSite + QStringLiteral("/v/abc")});
    QVERIFY(!rig.view.controlsEnabled);
    QCOMPARE(rig.view.caption, QStringLiteral("Analysing URL..."));
    QVERIFY(rig.view.statusVisible);

    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok=1&fmt=1"));
    QCOMPARE(rig.transfer.requestedUrls,
             QStringList{kSite + QStringLiteral("/get_video?video_id=abc&t=tok")});
    QCOMPARE(rig.view.caption, QStringLiteral("Downloading..."));
    QVERIFY(rig.view.progressVisible);
}

void DownloadFlowTest::savesBody_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("withLength");
    QTest::newRow("0 bytes") << 0 << true;
    QTest::newRow("1 byte") << 1 << true;
    QTest::newRow("1024 bytes") << 1024 << true;
    QTest::newRow("1025 bytes") << 1025 << true;
    QTest::newRow("3000 bytes") << 3000 << true;
    QTest::newRow("3000 bytes, no length") << 3000 << false;
}

void DownloadFlowTest::savesBody()
{
    QFETCH(int, size);
    QFETCH(bool, withLength);
    Rig rig;
    QByteArray body(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        body[i] = static_cast<char>(i % 251);
    QSignalSpy saved(rig.flow.get(), &DownloadFlow::saved);
    rig.download(body, withLength);

    QCOMPARE(rig.files(), QStringList{QStringLiteral("12_7_1_5_9.flv")});
    QFile file(QDir(rig.folder).filePath(QStringLiteral("12_7_1_5_9.flv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), body);
    QCOMPARE(saved.count(), 1);
    QVERIFY(rig.warnings->isEmpty());
    // Back to idle, folder opened.
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.view.controlsEnabled);
    QVERIFY(!rig.view.statusVisible);
    QVERIFY(!rig.view.progressVisible);
    QCOMPARE(rig.view.widths.last(), 1);
    QCOMPARE(rig.flow->progress().value, 0.0f);
    QCOMPARE(*rig.opened, QStringList{QDir::toNativeSeparators(rig.folder)});
}

void DownloadFlowTest::noTokenReturnsToIdle()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"), false);
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t="));
    QCOMPARE(*rig.warnings,
             QStringList{QStringLiteral("Can not get the video file from this URL")});
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.view.controlsEnabled);
    QVERIFY(!rig.view.statusVisible);
    QVERIFY(rig.transfer.requestedUrls.isEmpty());
}

void DownloadFlowTest::lateDocumentsIgnored()
{
    Rig rig;
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    QVERIFY(rig.transfer.requestedUrls.isEmpty());
    QVERIFY(rig.warnings->isEmpty());
}

void DownloadFlowTest::transferErrorSavesNothing()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"), false);
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    rig.transfer.fail();
    QCOMPARE(*rig.warnings, QStringList{QStringLiteral("Can not download the video file")});
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.view.controlsEnabled);
    QVERIFY(rig.files().isEmpty());
    QVERIFY(rig.opened->isEmpty());
}

void DownloadFlowTest::shortBodyIsDiscarded()
{
    Rig rig;
    rig.flow->start(kSite + QStringLiteral("/watch?v=abc"), false);
    rig.browser.finish(kSite + QStringLiteral("/player?video_id=abc&t=tok"));
    rig.transfer.setBody(QByteArray(500, 'x'), false);
    rig.transfer.setHeader(QStringLiteral("Content-Length"), QStringLiteral("1000"));
    rig.transfer.complete();
    QCOMPARE(*rig.warnings, QStringList{QStringLiteral("Can not download the video file")});
    QVERIFY(rig.files().isEmpty());
    QVERIFY(!rig.flow->downloading());
}

void DownloadFlowTest::failureWhileDrainingEndsOnce_data()
{
    QTest::addColumn<bool>("withLength");
    QTest::newRow("length announced") << true;
    QTest::newRow("no length") << false;
}

void DownloadFlowTest::failureWhileDrainingEndsOnce()
{
    QFETCH(bool, withLength);
    Rig rig;
    rig.transfer.failAtOffset = 2048;
    QSignalSpy saved(rig.flow.get(), &DownloadFlow::saved);
    QSignalSpy changed(rig.flow.get(), &DownloadFlow::downloadingChanged);
    rig.download(QByteArray(5000, 'v'), withLength);
    QCOMPARE(*rig.warnings, QStringList{QStringLiteral("Can not download the video file")});
    QVERIFY(QDir(rig.folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(rig.opened->isEmpty());
    QCOMPARE(saved.count(), 0);
    QCOMPARE(changed.count(), 2); // on at the start, off once at the end
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.view.controlsEnabled);
    QVERIFY(!rig.view.statusVisible);
}

void DownloadFlowTest::unwritableFolder()
{
    Rig rig;
    // A plain file where the folder should be: neither the folder nor the video can be made.
    QFile blocker(rig.folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    rig.download(QByteArray(3000, 'v'));
    QCOMPARE(*rig.warnings, QStringList{QStringLiteral("Can not save the video file")});
    QVERIFY(!rig.flow->downloading());
    QVERIFY(rig.view.controlsEnabled);
    QVERIFY(QFileInfo(rig.folder).isFile());
    QVERIFY(rig.opened->isEmpty());
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

QTEST_GUILESS_MAIN(DownloadFlowTest)
#include "tst_downloadflow.moc"

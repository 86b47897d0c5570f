#include "app/DownloadNotices.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/DownloadOutcome.h"
#include "support/FakeNotifications.h"
#include "support/FakeServices.h"
#include "support/PrivateBus.h"

#include <QTest>

using namespace clipnab;
using Kind = DownloadOutcome::Kind;

Q_DECLARE_METATYPE(DownloadOutcome::Kind)

// Which ends of the window's download reach the notification service, and where a saved
// video's actions lead.
class DownloadNoticesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void notifies_data();
    void notifies();

private:
    PrivateBus m_bus;
    int m_round = 0;
};

void DownloadNoticesTest::initTestCase()
{
    if (!m_bus.start())
        QSKIP(qPrintable(m_bus.error()));
}

void DownloadNoticesTest::notifies_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("notice"); // "summary|body", "" for none
    const char *title = "Bars - ClipTube";
    QTest::newRow("saved, behind")
        << Kind::Saved << false << title << "Video saved|Bars - ClipTube";
    QTest::newRow("saved, active") << Kind::Saved << true << title << "";
    QTest::newRow("failed, behind") << Kind::DownloadFailed << false << title
                                    << "Download failed|Bars - ClipTube\nCan not download the "
                                       "video file: the server answered 404 Not Found";
    QTest::newRow("failed, active") << Kind::DownloadFailed << true << title << "";
    QTest::newRow("no title") << Kind::Saved << false << ""
                              << "Video saved|abc";
    QTest::newRow("stopped") << Kind::Stopped << false << title << "";
    QTest::newRow("refused") << Kind::Invalid << false << title << "";
}

void DownloadNoticesTest::notifies()
{
    QFETCH(Kind, kind);
    QFETCH(bool, active);
    QFETCH(QString, title);
    QFETCH(QString, notice);
    FakeNotifications service;
    QVERIFY(service.serve(m_bus.connect(QStringLiteral("service%1").arg(++m_round))));
    PlatformContext context;
    DownloadNotices notices(context, m_bus.connect(QStringLiteral("client%1").arg(m_round)));
    // Put in after the notices were made: the actions reach the shell the context has then.
    FakeServices fakes(context);

    DownloadOutcome outcome{.kind = kind, .savedPath = QStringLiteral("/v/1.flv")};
    if (kind == Kind::DownloadFailed) {
        outcome.message = QStringLiteral("Can not download the video file");
        outcome.reason = QStringLiteral("the server answered 404 Not Found");
    }
    notices.downloadEnded(outcome, title, QStringLiteral("abc"), active);
    // A saved download behind the window comes after it: what the row sent is there by then.
    notices.downloadEnded({.kind = Kind::Saved, .savedPath = QStringLiteral("/v/2.flv")},
                          QStringLiteral("last"), QStringLiteral("x"), false);
    QTRY_VERIFY(!service.calls.isEmpty() && service.calls.last().body == u"last");
    QStringList sent;
    for (const FakeNotifications::Call &call : service.calls.mid(0, service.calls.size() - 1))
        sent << call.summary + u'|' + call.body;
    QCOMPARE(sent, notice.isEmpty() ? QStringList{} : QStringList{notice});

    // Open and Show in folder of the last one go through the shell.
    const uint last = static_cast<uint>(service.calls.size()) + 100;
    service.invokeAction(last, QStringLiteral("open"));
    service.invokeAction(last, QStringLiteral("show-in-folder"));
    QTRY_COMPARE(fakes.shell->opened,
                 (QStringList{QStringLiteral("/v/2.flv"), QStringLiteral("/v")}));
}

QTEST_MAIN(DownloadNoticesTest)
#include "tst_downloadnotices.moc"

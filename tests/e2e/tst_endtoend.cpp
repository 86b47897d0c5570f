#include "app/DeferredBrowser.h"
#include "app/DesktopComponents.h"
#include "app/Form1.h"
#include "components/BrowserComponent.h"
#include "controls/button/deRurara.h"
#include "DemoSite.h"
#include "downloads/DownloadQueue.h"
#include "downloads/HistoryStore.h"
#include "platform/widgets/PlatformContext.h"
#include "support/FakeNotifications.h"
#include "support/PrivateBus.h"
#include "support/WindowRig.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace clipnab;

namespace {

constexpr int kTimeout = 30000;
const QString kSavedName = QStringLiteral("12_7_1_5_9.flv");

// The first accessible link under `root` whose name holds `text`, breadth first. The page's
// accessible objects come from Chromium, built without run-time type information, which the
// undefined behaviour sanitizer's check of dynamic types cannot read.
__attribute__((no_sanitize("vptr"))) QAccessibleInterface *findLink(QAccessibleInterface *root,
                                                                    const QString &text)
{
    QList<QAccessibleInterface *> queue{root};
    for (qsizetype i = 0; i < queue.size() && i < 5000; ++i) {
        QAccessibleInterface *node = queue.at(i);
        if (node->role() == QAccessible::Link && node->text(QAccessible::Name).contains(text))
            return node;
        for (int c = 0; c < node->childCount(); ++c) {
            if (QAccessibleInterface *child = node->child(c))
                queue.append(child);
        }
    }
    return nullptr;
}

QByteArray patternBody(int size)
{
    QByteArray body(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        body[i] = static_cast<char>((i * 31 + 7) % 256);
    return body;
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void homePageLoadsAtStart();
    void downloadBeforeTheBrowsersAreMade();
    void pageLinksAreAccessible();
    void searchNavigates();
    void openingVideoPageFillsAddress();
    void savesVideo_data();
    void savesVideo();
    void failedDownloadsLeaveNothing_data();
    void failedDownloadsLeaveNothing();
    void missingFolderIsCreated();
    void blockedFolderReportsSaveFailure();
    void twoDownloadsInTheSameSecond();
    void queueSavesEachInTurn();
    void exitDuringDownload_data();
    void exitDuringDownload();
    void escapeStopsADownload();
    void droppedBodyIsResumed();
    void notifiesWhenBehind();

private:
    void download(const QString &id);
    QStringList savedFiles() const;

    DemoSite m_site;
    // The window's session bus, with a notification service on it; none without dbus-daemon.
    PrivateBus m_bus;
    std::unique_ptr<FakeNotifications> m_notifications;
    QTemporaryDir m_dir;
    QString m_folder;
    // The real window against the demo site: WebEngine browsers and the network transfer, with
    // message boxes, shell and clock replaced.
    std::unique_ptr<WindowRig> m_rig;
};

void EndToEndTest::initTestCase()
{
    // The preferences the window reads are the test's, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_site.listen() != 0);
    if (m_bus.start()) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toLocal8Bit());
        m_notifications = std::make_unique<FakeNotifications>();
        QVERIFY(m_notifications->serve(m_bus.connect(QStringLiteral("notifications"))));
    }
    m_folder = m_dir.filePath(QStringLiteral("download"));
    auto components = DesktopComponents::make(m_site.baseUrl(), m_folder);
    components.historyFolder = m_dir.filePath(QStringLiteral("history"));
    m_rig = std::make_unique<WindowRig>(std::move(components));
    QTRY_VERIFY(m_rig->window->history());
}

void EndToEndTest::init()
{
    QDir(m_folder).removeRecursively();
    QFile::remove(m_folder);
    QDir().mkpath(m_folder);
    m_rig->fakes.dialogs->warnings.clear();
    m_rig->fakes.dialogs->informativeTexts.clear();
    m_rig->fakes.dialogs->questions.clear();
    // A video saved by an earlier test is saved again.
    m_rig->fakes.dialogs->yes = true;
}

QStringList EndToEndTest::savedFiles() const
{
    return QDir(m_folder).entryList(QDir::Files);
}

void EndToEndTest::download(const QString &id)
{
    WindowRig &p = *m_rig;
    p.edit("txtURL")->setText(m_site.baseUrl() + QStringLiteral("/watch?v=") + id);
    QCOMPARE(p.label("lblUrl")->text(), QStringLiteral("URL is available"));
    QTest::mouseClick(p.button("cmdDown"), Qt::LeftButton);
    QVERIFY(p.window->downloading());
    QTRY_VERIFY_WITH_TIMEOUT(!p.window->downloading(), kTimeout);
}

void EndToEndTest::homePageLoadsAtStart()
{
    WindowRig &p = *m_rig;
    QTRY_COMPARE_WITH_TIMEOUT(p.label("Label4")->text(), QStringLiteral("Page Loading Finished."),
                              kTimeout);
    QCOMPARE(p.window->searchBrowser().LocationURL(), m_site.baseUrl() + QLatin1Char('/'));
}

void EndToEndTest::downloadBeforeTheBrowsersAreMade()
{
    // A window not shown yet: its search browser waits for the first paint, and a download
    // makes the locator it needs.
    PlatformContext context;
    FakeServices fakes{context};
    Form1 window(context, DesktopComponents::make(m_site.baseUrl(), m_folder));
    auto *search = qobject_cast<DeferredBrowser *>(&window.searchBrowser());
    QVERIFY(search);
    QVERIFY(!search->browser());
    m_site.addVideo(QStringLiteral("early"), QStringLiteral("Early clip"), patternBody(2000));
    window.setAddress(m_site.baseUrl() + QStringLiteral("/watch?v=early"));
    window.findChild<QAction *>(QStringLiteral("menuDown"))->trigger();
    QVERIFY(window.downloading());
    QTRY_VERIFY_WITH_TIMEOUT(!window.downloading(), kTimeout);
    QVERIFY2(fakes.dialogs->warnings.isEmpty(), qPrintable(fakes.dialogs->warnings.join(u'|')));
    QCOMPARE(savedFiles(), QStringList{kSavedName});
    QVERIFY(!search->browser());
    // Shown, the window loads its home page by itself.
    window.show();
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QLabel *>(QStringLiteral("Label4"))->text(),
                              QStringLiteral("Page Loading Finished."), kTimeout);
    QCOMPARE(search->LocationURL(), m_site.baseUrl() + QLatin1Char('/'));
}

void EndToEndTest::pageLinksAreAccessible()
{
    // With assistive technology active, the search browser's page, its video links included,
    // is part of the window's accessibility tree.
    WindowRig &p = *m_rig;
    QWidget *view = p.window->searchBrowser().widget();
    QVERIFY(view);
    QAccessible::setActive(true);
    p.window->searchBrowser().Navigate(m_site.baseUrl() + QLatin1Char('/'));
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(view);
    QVERIFY(root);
    QTRY_VERIFY_WITH_TIMEOUT(findLink(root, QStringLiteral("Classic colour bars")), kTimeout);
    QAccessible::setActive(false);
}

void EndToEndTest::searchNavigates()
{
    WindowRig &p = *m_rig;
    QSignalSpy done(&p.window->searchBrowser(), &BrowserComponent::DocumentComplete);
    QLineEdit *box = p.edit("txtsearch");
    p.window->activateWindow();
    QTest::mouseClick(box, Qt::LeftButton);
    QTRY_VERIFY(box->hasFocus());
    box->setText(QStringLiteral("demo clip"));
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!done.isEmpty(), kTimeout);
    QVERIFY(done.last().first().toString().startsWith(
        m_site.baseUrl() + QStringLiteral("/results?search_query=demo")));
    QVERIFY(m_site.requestLog().contains(QStringLiteral("/results?search_query=demo%20clip")));
}

void EndToEndTest::openingVideoPageFillsAddress()
{
    WindowRig &p = *m_rig;
    p.edit("txtURL")->setText(QStringLiteral("x"));
    const QString id = m_site.videoIds().first();
    const QString page = m_site.baseUrl() + QStringLiteral("/watch?v=") + id;
    p.window->searchBrowser().Navigate(page);
    QTRY_COMPARE_WITH_TIMEOUT(p.edit("txtURL")->text(), page, kTimeout);
    QCOMPARE(p.label("lblUrl")->text(), QStringLiteral("URL is available"));
}

void EndToEndTest::savesVideo_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {0, 1, 1024, 1025, 3000})
        QTest::addRow("%d bytes", size) << size;
}

void EndToEndTest::savesVideo()
{
    QFETCH(int, size);
    const QString id = QStringLiteral("size%1").arg(size);
    const QByteArray body = patternBody(size);
    m_site.addVideo(id, QStringLiteral("Sized clip"), body);
    download(id);
    QVERIFY2(m_rig->fakes.dialogs->warnings.isEmpty(),
             qPrintable(m_rig->fakes.dialogs->warnings.join(u'|')));
    QCOMPARE(savedFiles(), QStringList{kSavedName});
    QFile file(QDir(m_folder).filePath(kSavedName));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), body);
    QVERIFY(m_rig->button("cmdDown")->Enabled());
    QVERIFY(!m_rig->label("Label1")->isVisible());
    QCOMPARE(m_rig->fakes.shell->opened.last(), QDir::toNativeSeparators(m_folder));
}

void EndToEndTest::failedDownloadsLeaveNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reason"); // the start of the box's informative text
    const QString cannotDownload = QStringLiteral("Can not download the video file");
    QTest::newRow("403") << "403" << cannotDownload << "the server answered 403 Forbidden";
    QTest::newRow("404") << "404" << cannotDownload << "the server answered 404 Not Found";
    QTest::newRow("500") << "500" << cannotDownload
                         << "the server answered 500 Internal Server Error";
    QTest::newRow("cut short") << "cut" << cannotDownload
                               << "the server closed the connection after 2000 of 5000 bytes";
    QTest::newRow("no token") << "notoken"
                              << QStringLiteral("Can not get the video file from this URL")
                              << "no video token on the page";
}

void EndToEndTest::failedDownloadsLeaveNothing()
{
    QFETCH(QString, how);
    QFETCH(QString, message);
    QFETCH(QString, reason);
    const QString id = QStringLiteral("bad") + how;
    m_site.addVideo(id, QStringLiteral("Broken clip"), patternBody(5000));
    if (how == QLatin1String("cut"))
        m_site.setCutShort(id, 2000);
    else if (how == QLatin1String("notoken"))
        m_site.setWithoutToken(id, true);
    else
        m_site.setVideoStatus(id, how.toInt());
    download(id);
    QCOMPARE(m_rig->fakes.dialogs->warnings, QStringList{message});
    QCOMPARE(m_rig->fakes.dialogs->informativeTexts, QStringList{reason});
    QCOMPARE(savedFiles(), QStringList{});
    QVERIFY(m_rig->button("cmdDown")->Enabled());
    QVERIFY(!m_rig->edit("txtURL")->isReadOnly());
}

void EndToEndTest::missingFolderIsCreated()
{
    QDir(m_folder).removeRecursively();
    m_site.addVideo(QStringLiteral("nofolder"), QStringLiteral("Clip"), patternBody(2000));
    download(QStringLiteral("nofolder"));
    QVERIFY(m_rig->fakes.dialogs->warnings.isEmpty());
    QCOMPARE(savedFiles(), QStringList{kSavedName});
}

void EndToEndTest::blockedFolderReportsSaveFailure()
{
    // A plain file where the folder belongs: nothing can be written there, even as root.
    QDir(m_folder).removeRecursively();
    QFile blocker(m_folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_site.addVideo(QStringLiteral("blocked"), QStringLiteral("Clip"), patternBody(2000));
    download(QStringLiteral("blocked"));
    QCOMPARE(m_rig->fakes.dialogs->warnings,
             QStringList{QStringLiteral("Can not save the video file")});
    QVERIFY(QFileInfo(m_folder).isFile());
    QVERIFY(m_rig->button("cmdDown")->Enabled());
}

void EndToEndTest::twoDownloadsInTheSameSecond()
{
    m_site.addVideo(QStringLiteral("twiceA"), QStringLiteral("Clip A"), QByteArray("first video"));
    m_site.addVideo(QStringLiteral("twiceB"), QStringLiteral("Clip B"), QByteArray("second one"));
    download(QStringLiteral("twiceA"));
    download(QStringLiteral("twiceB"));
    QCOMPARE(savedFiles(), (QStringList{QStringLiteral("12_7_1_5_9 (2).flv"), kSavedName}));
    QFile first(QDir(m_folder).filePath(kSavedName));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("first video"));
}

void EndToEndTest::queueSavesEachInTurn()
{
    WindowRig &p = *m_rig;
    const QStringList ids{QStringLiteral("qA"), QStringLiteral("qB"), QStringLiteral("qC")};
    for (const QString &id : ids) {
        m_site.addVideo(id, QStringLiteral("Clip ") + id, patternBody(50000 + id.at(1).unicode()));
        p.edit("txtURL")->setText(m_site.baseUrl() + QStringLiteral("/watch?v=") + id);
        QTest::mouseClick(p.button("cmdDown"), Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!p.window->downloading(), kTimeout);
    QVERIFY(p.fakes.dialogs->warnings.isEmpty());
    QCOMPARE(savedFiles().size(), 3);
    for (const QString &id : ids) {
        const auto saved = p.window->history()->latestSaved(id);
        QVERIFY(saved);
        QFile file(saved->filePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), patternBody(50000 + id.at(1).unicode()));
    }

    // Asked before saving one again; No (the default) saves nothing.
    p.fakes.dialogs->yes = false;
    QTest::mouseClick(p.button("cmdDown"), Qt::LeftButton);
    QCOMPARE(p.fakes.dialogs->questions.size(), 1);
    QVERIFY(
        p.fakes.dialogs->questions.constFirst().startsWith(QStringLiteral("Already saved on ")));
    QVERIFY(p.fakes.dialogs->questions.constFirst().endsWith(QStringLiteral(". Save it again?")));
    QVERIFY(!p.window->downloading());
}

void EndToEndTest::exitDuringDownload_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("Cancel keeps the window") << false;
    QTest::newRow("OK ends the program") << true;
}

void EndToEndTest::exitDuringDownload()
{
    QFETCH(bool, confirm);
    // A window of its own: OK ends it for good.
    QTemporaryDir dir;
    auto components = DesktopComponents::make(m_site.baseUrl(), dir.path());
    components.historyFolder = dir.filePath(QStringLiteral("history"));
    WindowRig p(std::move(components));
    m_site.addVideo(QStringLiteral("stall"), QStringLiteral("Stalled clip"), patternBody(100000));
    m_site.setStalled(QStringLiteral("stall"), true);
    p.edit("txtURL")->setText(m_site.baseUrl() + QStringLiteral("/watch?v=stall"));
    QTest::mouseClick(p.button("cmdDown"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(p.label("Label1")->text() == QStringLiteral("Downloading..."),
                             kTimeout);
    const QString part = dir.filePath(kSavedName + QStringLiteral(".part"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(part).size() > 0, kTimeout);
    p.fakes.dialogs->answer = confirm ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel;
    QSignalSpy terminated(p.window.get(), &Form1::terminated);
    QTest::mouseClick(p.button("cmdExit"), Qt::LeftButton);
    QCOMPARE(p.fakes.dialogs->questions,
             QStringList{QStringLiteral("The program is downloading videos, Exit now?")});
    QCOMPARE(p.fakes.dialogs->questionDetails,
             QStringList{QStringLiteral("The downloads can be resumed later.")});
    QCOMPARE(terminated.count(), confirm ? 1 : 0);
    QCOMPARE(p.window->isVisible(), !confirm);
    QCOMPARE(p.window->downloading(), !confirm);
    // Leaving keeps the part file for the next start, paused; staying keeps the download going.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{kSavedName + QStringLiteral(".part")});
    if (!confirm)
        return;

    // The next start lists it as paused; Resume asks for the rest of the same body.
    m_site.setStalled(QStringLiteral("stall"), false);
    auto again = DesktopComponents::make(m_site.baseUrl(), dir.path());
    again.historyFolder = dir.filePath(QStringLiteral("history"));
    WindowRig next(std::move(again));
    QTRY_VERIFY(next.window->history());
    const QList<qint64> ids = next.window->queue().ids();
    QCOMPARE(ids.size(), 1);
    QCOMPARE(next.window->queue().record(ids.constFirst())->state, DownloadState::Paused);
    QSignalSpy served(&m_site, &DemoSite::requestServed);
    next.window->queue().resume(ids.constFirst());
    QTRY_VERIFY_WITH_TIMEOUT(!next.window->downloading(), kTimeout);
    QVERIFY(std::any_of(served.cbegin(), served.cend(), [](const QList<QVariant> &request) {
        return request.at(1).toInt() == 206;
    }));
    QFile saved(dir.filePath(kSavedName));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), patternBody(100000));
}

void EndToEndTest::escapeStopsADownload()
{
    WindowRig &p = *m_rig;
    m_site.addVideo(QStringLiteral("stopme"), QStringLiteral("Stalled clip"), patternBody(100000));
    m_site.setStalled(QStringLiteral("stopme"), true);
    p.edit("txtURL")->setText(m_site.baseUrl() + QStringLiteral("/watch?v=stopme"));
    QTest::mouseClick(p.button("cmdDown"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(p.window->transfer().destination().endsWith(QLatin1String(".part")) &&
                                 QFileInfo(p.window->transfer().destination()).size() > 0,
                             kTimeout);
    const int closedBefore = m_site.closedDownloads();
    p.window->activateWindow();
    QTRY_VERIFY(p.window->isActiveWindow());
    QTest::keyClick(p.window.get(), Qt::Key_Escape);
    QVERIFY(!p.window->downloading());
    QCOMPARE(savedFiles(), QStringList{});
    QTRY_VERIFY_WITH_TIMEOUT(m_site.closedDownloads() > closedBefore, kTimeout);
    QVERIFY(p.fakes.dialogs->warnings.isEmpty());
    QVERIFY(p.button("cmdDown")->Enabled());
    QVERIFY(!p.label("Label1")->isVisible());

    m_site.addVideo(QStringLiteral("afterstop"), QStringLiteral("Clip"), patternBody(3000));
    download(QStringLiteral("afterstop"));
    QVERIFY(p.fakes.dialogs->warnings.isEmpty());
    QCOMPARE(savedFiles(), QStringList{kSavedName});
}

void EndToEndTest::droppedBodyIsResumed()
{
    const QByteArray body = patternBody(300000);
    m_site.addVideo(QStringLiteral("dropped"), QStringLiteral("Dropped clip"), body);
    m_site.setDropOnce(QStringLiteral("dropped"), 100000);
    download(QStringLiteral("dropped"));
    QVERIFY2(m_rig->fakes.dialogs->warnings.isEmpty(),
             qPrintable(m_rig->fakes.dialogs->warnings.join(u'|')));
    QCOMPARE(m_site.rangeLog().last(), QStringLiteral("bytes=100000-"));
    QCOMPARE(savedFiles(), QStringList{kSavedName});
    QFile file(QDir(m_folder).filePath(kSavedName));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == body);
}

void EndToEndTest::notifiesWhenBehind()
{
    // A download that ends with another window in front reaches the notification service.
    if (!m_notifications)
        QSKIP("no dbus-daemon to run a session bus on");
    QWidget front;
    front.show();
    front.activateWindow();
    QTRY_VERIFY(!m_rig->window->isActiveWindow());
    const qsizetype before = m_notifications->calls.size();
    download(m_site.videoIds().first());
    QTRY_COMPARE(m_notifications->calls.size(), before + 1);
    const FakeNotifications::Call &call = m_notifications->calls.last();
    QCOMPARE(call.summary, QStringLiteral("Video saved"));
    QVERIFY2(call.body.endsWith(QLatin1String(" - ClipTube")), qPrintable(call.body));
    QVERIFY(call.actions.contains(QStringLiteral("show-in-folder")));
}

int main(int argc, char *argv[])
{
    DesktopComponents::prepareWebEngine();
    QApplication app(argc, argv);
    EndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endtoend.moc"

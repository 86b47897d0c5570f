#include "app/DownloadsWindow.h"
#include "app/Form1.h"
#include "app/ProgramInfo.h"
#include "app/SavedLayout.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "downloads/DownloadQueue.h"
#include "downloads/DownloadSettings.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/DownloadFlow.h"
#include "support/FakeBrowser.h"
#include "support/FakeTransfer.h"
#include "support/WindowRig.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <functional>

// The window's layout is a resource of its static library.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

using namespace clipnab;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:9");

// Starts a download of the example address through cmdDown.
void startDownload(WindowRig &rig)
{
    Q_EMIT rig.button("cmdDown")->Click();
    QVERIFY(rig.window->downloading());
}

// Message boxes and a shell that note what the window shows at the moment they are called.
struct WindowMoment
{
    QString event;  // the box's text, or "open" plus the target
    QString reason; // the box's informative text
    bool downloading = false;
    bool controlsEnabled = false; // cmdDown, cmdStart and txtURL
    bool statusVisible = false;
    QString status;
    bool stripVisible = false;
};

using Note = std::function<void(const QString &, const QString &)>;

class MomentDialogs final : public Dialogs
{
public:
    explicit MomentDialogs(Note note) : m_note(std::move(note)) {}
    void warning(QWidget *, const QString &text, const QString &informativeText) override
    {
        m_note(text, informativeText);
    }
    Answer confirm(QWidget *, const QString &text, const QString &informativeText) override
    {
        m_note(text, informativeText);
        return Answer::Ok;
    }
    bool ask(QWidget *, const QString &text) override
    {
        m_note(text, QString());
        return false;
    }
    void about(QWidget *, const QString &, const QString &) override {}

private:
    Note m_note;
};

class MomentShell final : public Shell
{
public:
    explicit MomentShell(Note note) : m_note(std::move(note)) {}
    bool open(const QString &target) override
    {
        m_note(QStringLiteral("open ") + target, QString());
        return true;
    }

private:
    Note m_note;
};

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void startUp();
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void fixedSize();
    void menus();
    void liveVerdict_data();
    void liveVerdict();
    void downloadWhileOneRunsQueues_data();
    void downloadWhileOneRunsQueues();
    void exitConfirmation_data();
    void exitConfirmation();
    void enterKey_data();
    void enterKey();
    void websiteOpensHomePage();
    void disabledButtonsDoNothing_data();
    void disabledButtonsDoNothing();
    void layoutHoldsEveryControl_data();
    void layoutHoldsEveryControl();
    void outcomeShowsInOrder_data();
    void outcomeShowsInOrder();
    void progressStripFollowsTheBytes();
    void unknownLengthShowsActivity();
    void stopEndsTheDownload_data();
    void stopEndsTheDownload();
    void droppedLinkFillsAddress_data();
    void droppedLinkFillsAddress();
    void addressGivenAtStartIsChecked();
    void keyboardShortcuts_data();
    void keyboardShortcuts();
    void watchedClipboardFillsAddress();
};

void Form1Test::initTestCase()
{
    initAppResources();
    // Settings the window writes go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
}

void Form1Test::startUp()
{
    WindowRig rig(kSite);
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Clipnab V2"));
    QCOMPARE(rig.search->navigations, QStringList{kSite + QLatin1Char('/')});
    QVERIFY(!rig.window->downloading());
    QVERIFY(!rig.window->searchHasFocus());
    QCOMPARE(rig.edit("txtURL")->text(), kSite + QStringLiteral("/watch?v=5qWsH5lO-ME"));
    QCOMPARE(rig.child<QLabel>("lblUrl")->text(), QStringLiteral("Copy and Paste video URL here"));
    QVERIFY(!rig.child<QLabel>("Label1")->isVisible());
    QVERIFY(!rig.child<QWidget>("imgPB")->isVisible());
    QCOMPARE(rig.child<XPContainer>("XPContainer1")->Caption(), QStringLiteral("Tools"));
    QCOMPARE(rig.child<XPContainer>("XPContainer2")->Caption(), QStringLiteral("Downloader"));
    // The example address is usable without an edit.
    Q_EMIT rig.button("cmdStart")->Click();
    QVERIFY(rig.fakes.dialogs->warnings.isEmpty());
    QCOMPARE(rig.window->videoId(), QStringLiteral("5qWsH5lO-ME"));
    QCOMPARE(rig.locator->navigations, QStringList{kSite + QStringLiteral("/v/5qWsH5lO-ME")});
}

void Form1Test::controlsAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("XPContainer1") << "XPContainer1"
                                  << "client" << QRect(-2, 0, 615, 71) << "";
    QTest::newRow("XPContainer2") << "XPContainer2"
                                  << "client" << QRect(0, 72, 615, 427) << "";
    QTest::newRow("cmdDown") << "cmdDown"
                             << "XPContainer1" << QRect(6, 26, 103, 41) << "Download";
    QTest::newRow("cmdWeb") << "cmdWeb"
                            << "XPContainer1" << QRect(110, 26, 103, 41) << "Website";
    QTest::newRow("cmdExit") << "cmdExit"
                             << "XPContainer1" << QRect(318, 26, 103, 41) << "Exit";
    QTest::newRow("txtsearch") << "txtsearch"
                               << "XPContainer1" << QRect(432, 38, 125, 20) << "";
    QTest::newRow("cmdSearch") << "cmdSearch"
                               << "XPContainer1" << QRect(560, 38, 49, 20) << "Search";
    QTest::newRow("txtURL") << "txtURL"
                            << "XPContainer2" << QRect(6, 34, 541, 23) << "";
    QTest::newRow("cmdStart") << "cmdStart"
                              << "XPContainer2" << QRect(550, 34, 57, 24) << "Start";
    QTest::newRow("wbSearch") << "wbSearch"
                              << "XPContainer2" << QRect(8, 80, 597, 251) << "";
    QTest::newRow("Shape1") << "Shape1"
                            << "XPContainer2" << QRect(108, 362, 369, 19) << "";
}

void Form1Test::controlsAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    WindowRig rig(kSite);
    QWidget *w = rig.window->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->geometry(), geometry);
    if (auto *b = qobject_cast<deRurara *>(w)) {
        QCOMPARE(b->Caption(), caption);
        QCOMPARE(b->Style(), 5);
        QVERIFY(!b->UseCustomColors());
    }
}

void Form1Test::fixedSize()
{
    WindowRig rig(kSite);
    QCOMPARE(rig.window->centralWidget()->size(), QSize(613, 499));
    QCOMPARE(rig.window->minimumSize(), rig.window->maximumSize());
    QVERIFY(!(rig.window->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QSize before = rig.window->size();
    rig.window->resize(before + QSize(100, 80));
    QCOMPARE(rig.window->size(), before);
    rig.window->showMaximized();
    QCOMPARE(rig.window->size(), before);
}

void Form1Test::menus()
{
    WindowRig rig(kSite);
    QStringList titles;
    for (QAction *a : rig.window->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("File(&F)"), QStringLiteral("Search(&S)"),
                                  QStringLiteral("About(&A)")}));
    QCOMPARE(rig.action("menuDown")->text(), QStringLiteral("Download(&D)"));
    QCOMPARE(rig.action("menuExit")->text(), QStringLiteral("Exit(&E)"));
    QCOMPARE(rig.action("menuSS")->text(), QStringLiteral("Search Videos(&S)"));
    QCOMPARE(rig.action("menuWeb")->text(), QStringLiteral("Website(&W)"));
    QCOMPARE(rig.action("menuHelp")->text(), QStringLiteral("Help(&H)"));
    QCOMPARE(rig.action("menuAboutClipnab")->text(), QStringLiteral("About Clipnab(&A)"));
    // Help opens the README's section for a program that is not installed.
    rig.action("menuHelp")->trigger();
    QCOMPARE(rig.fakes.shell->opened, QStringList{ProgramInfo::kHelpAddress});
    rig.action("menuAboutClipnab")->trigger();
    QCOMPARE(rig.fakes.dialogs->abouts.size(), 1);

    rig.edit("txtsearch")->setText(QStringLiteral("cats"));
    rig.action("menuSS")->trigger();
    QCOMPARE(rig.search->navigations.last(), kSite + QStringLiteral("/results?search_query=cats"));
}

void Form1Test::liveVerdict_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("color");
    const QColor red(0xcc, 0, 0);
    QTest::newRow("seven characters") << "http://"
                                      << "URL is not available" << red;
    QTest::newRow("video page") << "http://x/watch?v=abc"
                                << "URL is available" << QColor(Qt::black);
    QTest::newRow("ends with marker") << "http://x/watch?v="
                                      << "URL is not available" << red;
}

void Form1Test::liveVerdict()
{
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(QColor, color);
    WindowRig rig(kSite);
    rig.edit("txtURL")->setText(text);
    auto *label = rig.child<QLabel>("lblUrl");
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->palette().color(QPalette::WindowText), color);
    QCOMPARE(rig.edit("txtURL")->palette().color(QPalette::Text), color);
}

void Form1Test::downloadWhileOneRunsQueues_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("cmdDown") << "cmdDown";
    QTest::newRow("cmdStart") << "cmdStart";
    QTest::newRow("menuDown") << "menuDown";
}

void Form1Test::downloadWhileOneRunsQueues()
{
    QFETCH(QString, trigger);
    WindowRig rig(kSite);
    startDownload(rig);
    QVERIFY(rig.button("cmdDown")->Enabled());
    QVERIFY(!rig.edit("txtURL")->isReadOnly());
    QVERIFY(rig.child<QLabel>("Label1")->isVisible());
    const QString second = kSite + QStringLiteral("/watch?v=secondVideo");
    rig.edit("txtURL")->setText(second);
    if (auto *b = rig.window->findChild<deRurara *>(trigger))
        Q_EMIT b->Click();
    else
        rig.window->findChild<QAction *>(trigger)->trigger();
    // The second waits for the first, and the Downloads window opens to show both.
    QCOMPARE(rig.window->queue().ids().size(), 2);
    QCOMPARE(rig.locator->navigations.size(), 1);
    QVERIFY(rig.window->downloadsWindow() && rig.window->downloadsWindow()->isVisible());
    rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    rig.transfer->setBody(QByteArray(10, 'v'), true);
    rig.transfer->complete();
    QTRY_COMPARE(rig.locator->navigations.size(), 2);
    QVERIFY(rig.locator->navigations.last().contains(QStringLiteral("secondVideo")));
    QVERIFY(rig.fakes.dialogs->warnings.isEmpty());
}

void Form1Test::exitConfirmation_data()
{
    QTest::addColumn<bool>("downloading");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    for (const char *how : {"close box", "cmdExit", "menuExit"}) {
        QTest::addRow("idle, %s", how) << false << int(Dialogs::Answer::Ok) << how << true;
        QTest::addRow("downloading, OK, %s", how)
            << true << int(Dialogs::Answer::Ok) << how << true;
        QTest::addRow("downloading, Cancel, %s", how)
            << true << int(Dialogs::Answer::Cancel) << how << false;
    }
}

void Form1Test::exitConfirmation()
{
    QFETCH(bool, downloading);
    QFETCH(int, answer);
    QFETCH(QString, how);
    QFETCH(bool, closes);
    WindowRig rig(kSite);
    if (downloading)
        startDownload(rig);
    rig.fakes.dialogs->answer = static_cast<Dialogs::Answer>(answer);
    QSignalSpy terminated(rig.window.get(), &Form1::terminated);
    if (how == QLatin1String("close box"))
        rig.window->close();
    else if (how == QLatin1String("cmdExit"))
        Q_EMIT rig.button("cmdExit")->Click();
    else
        rig.action("menuExit")->trigger();

    QCOMPARE(rig.fakes.dialogs->questions.size(), downloading ? 1 : 0);
    if (downloading)
        QCOMPARE(rig.fakes.dialogs->questions.first(),
                 QStringLiteral("The program is downloading videos, Exit now?"));
    QCOMPARE(rig.window->isVisible(), !closes);
    QCOMPARE(terminated.count(), closes ? 1 : 0);
    // Leaving stops the download the way Stop does.
    QCOMPARE(rig.window->downloading(), downloading && !closes);
}

void Form1Test::enterKey_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("searches");
    QTest::addColumn<bool>("downloads");
    const QString example = kSite + QStringLiteral("/watch?v=5qWsH5lO-ME");
    QTest::newRow("search box") << "txtsearch" << example << true << false;
    QTest::newRow("address box, available") << "txtURL" << example << false << true;
    QTest::newRow("address box, not available") << "txtURL"
                                                << "http://x/" << false << false;
}

void Form1Test::enterKey()
{
    QFETCH(QString, box);
    QFETCH(QString, address);
    QFETCH(bool, searches);
    QFETCH(bool, downloads);
    WindowRig rig(kSite);
    rig.window->activateWindow();
    rig.edit("txtURL")->setText(address);
    rig.edit("txtsearch")->setText(QStringLiteral("cats"));
    auto *edit = rig.window->findChild<QLineEdit *>(box);
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(rig.window->searchHasFocus(), box == QLatin1String("txtsearch"));
    const qsizetype before = rig.search->navigations.size();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(rig.search->navigations.size(), before + (searches ? 1 : 0));
    if (searches)
        QCOMPARE(rig.search->navigations.last(),
                 kSite + QStringLiteral("/results?search_query=cats"));
    QCOMPARE(rig.window->downloading(), downloads);
    QVERIFY(rig.fakes.dialogs->warnings.isEmpty());
}

void Form1Test::websiteOpensHomePage()
{
    WindowRig rig(kSite);
    Q_EMIT rig.button("cmdWeb")->Click();
    rig.action("menuWeb")->trigger();
    QCOMPARE(rig.fakes.shell->opened, (QStringList{QString::fromLatin1(Form1::kHomePage),
                                                   QString::fromLatin1(Form1::kHomePage)}));
}

void Form1Test::disabledButtonsDoNothing_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"cmdDown", "cmdStart", "cmdWeb", "cmdExit", "cmdSearch"})
        QTest::newRow(name) << name;
}

void Form1Test::disabledButtonsDoNothing()
{
    QFETCH(QString, name);
    WindowRig rig(kSite);
    rig.edit("txtsearch")->setText(QStringLiteral("cats"));
    deRurara *button = rig.window->findChild<deRurara *>(name);
    button->writeEnabled(false);
    const qsizetype searches = rig.search->navigations.size();
    Q_EMIT button->Click();
    QVERIFY(rig.window->isVisible());
    QVERIFY(!rig.window->downloading());
    QVERIFY(rig.locator->navigations.isEmpty());
    QCOMPARE(rig.search->navigations.size(), searches);
    QVERIFY(rig.fakes.shell->opened.isEmpty());
    QVERIFY(rig.fakes.dialogs->warnings.isEmpty());
}

void Form1Test::layoutHoldsEveryControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("classId");
    QTest::addColumn<QString>("container");
    const QString panel = QStringLiteral("Clipnab.XPContainer");
    const QString button = QStringLiteral("Clipnab.deRurara");
    QTest::newRow("XPContainer1") << "XPContainer1" << panel << "Form1";
    QTest::newRow("XPContainer2") << "XPContainer2" << panel << "Form1";
    QTest::newRow("cmdDown") << "cmdDown" << button << "XPContainer1";
    QTest::newRow("cmdWeb") << "cmdWeb" << button << "XPContainer1";
    QTest::newRow("cmdExit") << "cmdExit" << button << "XPContainer1";
    QTest::newRow("cmdSearch") << "cmdSearch" << button << "XPContainer1";
    QTest::newRow("cmdStart") << "cmdStart" << button << "XPContainer2";
}

void Form1Test::layoutHoldsEveryControl()
{
    QFETCH(QString, name);
    QFETCH(QString, classId);
    QFETCH(QString, container);
    // The window has no stand-ins: each of its panels and buttons must be in the layout.
    QString error;
    const SavedLayout layout = SavedLayout::load(QString::fromLatin1(Form1::kLayoutPath), &error);
    QVERIFY2(!layout.isEmpty(), qPrintable(error));
    const auto record = std::find_if(layout.controls().cbegin(), layout.controls().cend(),
                                     [&](const ControlRecord &r) { return r.name == name; });
    QVERIFY(record != layout.controls().cend());
    QCOMPARE(record->classId, classId);
    QCOMPARE(record->container, container);

    WindowRig rig(kSite);
    QWidget *control = rig.window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(),
             container == QLatin1String("Form1") ? QStringLiteral("client") : container);
    if (classId == QLatin1String(XPContainer::kClassId))
        QVERIFY(qobject_cast<XPContainer *>(control));
    else
        QVERIFY(qobject_cast<deRurara *>(control));
}

void Form1Test::outcomeShowsInOrder_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("event");
    // How the box's informative text starts: the reason under the fixed sentence.
    QTest::addColumn<QString>("reason");
    // The window is still analysing when the box shows; otherwise it is idle already.
    QTest::addColumn<bool>("busy");
    QTest::newRow("empty address") << "empty"
                                   << "Please enter the URL of youtube video"
                                   << "" << false;
    QTest::newRow("no token") << "notoken"
                              << "Can not get the video file from this URL"
                              << "no video token on the page" << true;
    QTest::newRow("site unreachable") << "unreachable"
                                      << "Can not get the video file from this URL"
                                      << "the site could not be reached" << true;
    QTest::newRow("transfer error") << "error"
                                    << "Can not download the video file"
                                    << "the server answered 500 Internal Server Error" << false;
    QTest::newRow("body cut short") << "short"
                                    << "Can not download the video file"
                                    << "3000 bytes arrived of the 4000 announced" << false;
    QTest::newRow("folder blocked") << "blocked"
                                    << "Can not save the video file"
                                    << "can not make the folder" << false;
    QTest::newRow("saved") << "saved"
                           << "open"
                           << "" << false;
}

void Form1Test::outcomeShowsInOrder()
{
    QFETCH(QString, how);
    QFETCH(QString, event);
    QFETCH(QString, reason);
    QFETCH(bool, busy);
    WindowRig rig(kSite);
    QList<WindowMoment> moments;
    const auto note = [&](const QString &what, const QString &why) {
        WindowMoment moment;
        moment.event = what;
        moment.reason = why;
        moment.downloading = rig.window->downloading();
        moment.controlsEnabled = rig.button("cmdDown")->Enabled() &&
                                 rig.button("cmdStart")->Enabled() &&
                                 !rig.edit("txtURL")->isReadOnly();
        moment.statusVisible = rig.child<QLabel>("Label1")->isVisible();
        moment.status = rig.child<QLabel>("Label1")->text();
        moment.stripVisible =
            rig.child<QWidget>("imgPB")->isVisible() || rig.child<QWidget>("Shape1")->isVisible();
        moments.append(moment);
    };
    rig.context.setDialogs(std::make_unique<MomentDialogs>(note));
    rig.context.setShell(std::make_unique<MomentShell>(note));

    if (how == QLatin1String("empty"))
        rig.edit("txtURL")->clear();
    if (how == QLatin1String("blocked")) {
        QFile blocker(rig.folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    Q_EMIT rig.button("cmdDown")->Click();
    if (how == QLatin1String("notoken")) {
        rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t="));
    } else if (how == QLatin1String("unreachable")) {
        rig.locator->finish(kSite + QStringLiteral("/v/5qWsH5lO-ME"), reason);
    } else if (how != QLatin1String("empty")) {
        rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
        if (how == QLatin1String("error")) {
            rig.transfer->fail();
        } else {
            rig.transfer->setBody(QByteArray(3000, 'v'), how != QLatin1String("short"));
            if (how == QLatin1String("short"))
                rig.transfer->setHeader(QStringLiteral("Content-Length"), QStringLiteral("4000"));
            rig.transfer->complete();
        }
    }

    QCOMPARE(moments.size(), 1);
    const WindowMoment &moment = moments.first();
    if (event == QLatin1String("open"))
        QCOMPARE(moment.event, QStringLiteral("open ") + QDir::toNativeSeparators(rig.folder));
    else
        QCOMPARE(moment.event, event);
    QVERIFY2(reason.isEmpty() ? moment.reason.isEmpty() : moment.reason.startsWith(reason),
             qPrintable(moment.reason));
    // The address box and Download stay free while downloads run.
    QVERIFY(moment.controlsEnabled);
    QCOMPARE(moment.statusVisible, busy);
    if (busy)
        QCOMPARE(moment.status, QStringLiteral("Analysing URL..."));
    QVERIFY(!moment.stripVisible);
    // Idle once it is over.
    QVERIFY(!rig.window->downloading());
    QVERIFY(rig.button("cmdDown")->Enabled());
    QVERIFY(!rig.child<QLabel>("Label1")->isVisible());
}

void Form1Test::progressStripFollowsTheBytes()
{
    WindowRig rig(kSite);
    auto *strip = rig.child<QWidget>("imgPB");
    startDownload(rig);
    rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    QVERIFY(strip->isVisible());
    QCOMPARE(strip->width(), 1); // nothing received yet
    QList<int> widths;
    // Connected after the window: each entry is the width the window has just given the strip.
    QObject::connect(&rig.window->downloadFlow(), &DownloadFlow::progressChanged, strip,
                     [&] { widths.append(strip->width()); });
    rig.transfer->setBody(QByteArray(3000, 'v'));
    rig.transfer->complete();
    // 1024, 2048 and 3000 of 3000 bytes: 1869, 3738 and 5475 twips.
    QCOMPARE(widths, (QList<int>{125, 249, 365}));
    QVERIFY(!strip->isVisible());
    QCOMPARE(strip->width(), 1);
    QCOMPARE(rig.child<QLabel>("Label1")->text(), QStringLiteral("Downloading..."));
}

void Form1Test::unknownLengthShowsActivity()
{
    WindowRig rig(kSite);
    auto *strip = rig.child<QWidget>("imgPB");
    // The strip sits in its frame; its place is the one it has in the panel.
    const auto stripLeft = [&] {
        return strip->mapTo(rig.child<QWidget>("XPContainer2"), QPoint()).x();
    };
    startDownload(rig);
    rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    Q_EMIT rig.transfer->progress(5000, -1);
    // A block of a fifth of the strip (1095 twips) that moves: no amount can be read from it.
    QCOMPARE(strip->width(), 73);
    const int left = stripLeft();
    QCOMPARE(left, 110);
    QTRY_VERIFY(stripLeft() > left);
    QVERIFY(stripLeft() + strip->width() <= 110 + 365);
    Q_EMIT rig.transfer->progress(5000, 10000);
    QCOMPARE(stripLeft(), 110);
    QCOMPARE(strip->width(), 183); // 2737.5 twips, to the even neighbour
}

void Form1Test::stopEndsTheDownload_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("transferring");
    QTest::newRow("Escape while transferring") << "escape" << true;
    QTest::newRow("menu while transferring") << "menu" << true;
    QTest::newRow("Escape while analysing") << "escape" << false;
}

void Form1Test::stopEndsTheDownload()
{
    QFETCH(QString, how);
    QFETCH(bool, transferring);
    WindowRig rig(kSite);
    QAction *stop = rig.action("menuStop");
    QCOMPARE(stop->text(), QStringLiteral("Stop download(&T)"));
    QVERIFY(!stop->isEnabled());
    startDownload(rig);
    QVERIFY(stop->isEnabled());
    if (transferring)
        rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    QCOMPARE(QDir(rig.folder).entryList(QDir::Files).size(), transferring ? 1 : 0);

    if (how == QLatin1String("escape")) {
        rig.window->activateWindow();
        QTRY_VERIFY(rig.window->isActiveWindow());
        QTest::keyClick(rig.edit("txtsearch"), Qt::Key_Escape);
    } else {
        stop->trigger();
    }
    QVERIFY(!rig.window->downloading());
    QVERIFY(!stop->isEnabled());
    QVERIFY(rig.fakes.dialogs->warnings.isEmpty());
    QVERIFY(rig.button("cmdDown")->Enabled());
    QVERIFY(!rig.child<QLabel>("Label1")->isVisible());
    QVERIFY(!rig.child<QWidget>("imgPB")->isVisible());
    QCOMPARE(rig.transfer->aborts, transferring ? 1 : 0);
    QCOMPARE(QDir(rig.folder).entryList(QDir::Files), QStringList{});

    // The next download runs to its end.
    startDownload(rig);
    rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    rig.transfer->setBody(QByteArray(10, 'v'));
    rig.transfer->complete();
    QCOMPARE(QDir(rig.folder).entryList(QDir::Files),
             QStringList{QStringLiteral("12_7_1_5_9.flv")});
}

void Form1Test::droppedLinkFillsAddress_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("downloading");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("address"); // what the box holds afterwards
    QTest::addColumn<QString>("verdict");

    const QString example = kSite + QStringLiteral("/watch?v=5qWsH5lO-ME");
    const QUrl first(QStringLiteral("http://x/watch?v=first"));
    const QUrl second(QStringLiteral("http://x/watch?v=second"));
    const QString available = QStringLiteral("URL is available");
    const QString notAvailable = QStringLiteral("URL is not available");
    const QString untouched = QStringLiteral("Copy and Paste video URL here");
    QTest::newRow("link list") << QList<QUrl>{first, second} << "" << false << true
                               << first.toString() << available;
    QTest::newRow("link before text") << QList<QUrl>{second} << "http://x/watch?v=first" << false
                                      << true << second.toString() << available;
    QTest::newRow("text, trimmed") << QList<QUrl>{} << "  http://x/watch?v=abc\n"
                                   << false << true << "http://x/watch?v=abc" << available;
    QTest::newRow("text that is no page")
        << QList<QUrl>{} << "hello" << false << true << "hello" << notAvailable;
    QTest::newRow("blank text") << QList<QUrl>{} << " \n" << false << false << example << untouched;
    QTest::newRow("while downloading")
        << QList<QUrl>{first} << "" << true << true << first.toString() << available;
}

void Form1Test::droppedLinkFillsAddress()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(bool, downloading);
    QFETCH(bool, accepted);
    QFETCH(QString, address);
    QFETCH(QString, verdict);
    WindowRig rig(kSite);
    if (downloading)
        startDownload(rig);
    // A drop on the address box is the window's: it replaces the text, never inserts into it.
    QVERIFY(!rig.edit("txtURL")->acceptDrops());

    QMimeData data;
    if (!urls.isEmpty())
        data.setUrls(urls);
    if (!text.isEmpty())
        data.setText(text);
    const QPoint at = rig.edit("txtURL")->mapTo(rig.window.get(), QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.window.get(), &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.window.get(), &drop);
    QCOMPARE(drop.isAccepted(), accepted);
    QCOMPARE(rig.edit("txtURL")->text(), address);
    QCOMPARE(rig.child<QLabel>("lblUrl")->text(), verdict);
}

void Form1Test::addressGivenAtStartIsChecked()
{
    // The check runs even when the address equals the one the box starts with.
    WindowRig rig(kSite);
    rig.window->setAddress(rig.edit("txtURL")->text());
    QCOMPARE(rig.child<QLabel>("lblUrl")->text(), QStringLiteral("URL is available"));
    rig.window->setAddress(QStringLiteral("http://x/"));
    QCOMPARE(rig.edit("txtURL")->text(), QStringLiteral("http://x/"));
    QCOMPARE(rig.child<QLabel>("lblUrl")->text(), QStringLiteral("URL is not available"));
}

void Form1Test::keyboardShortcuts_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("result"); // the widget with the focus, or the menu shown
    QTest::newRow("Ctrl+L") << QKeyCombination(Qt::CTRL, Qt::Key_L) << "txtURL";
    QTest::newRow("Ctrl+Q, downloading") << QKeyCombination(Qt::CTRL, Qt::Key_Q) << "txtsearch";
    QTest::newRow("Alt+F") << QKeyCombination(Qt::ALT, Qt::Key_F) << "menuFile";
    QTest::newRow("Alt+A") << QKeyCombination(Qt::ALT, Qt::Key_A) << "menuAbout";
    QTest::newRow("Ctrl+J") << QKeyCombination(Qt::CTRL, Qt::Key_J) << "frmDownloads";
}

void Form1Test::keyboardShortcuts()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, result);
    WindowRig rig(kSite);
    rig.window->activateWindow();
    startDownload(rig);
    rig.fakes.dialogs->answer = Dialogs::Answer::Cancel;
    QLineEdit *words = rig.edit("txtsearch");
    words->setFocus();
    QTRY_VERIFY(words->hasFocus());
    QTest::keyClick(words, key.key(), key.keyboardModifiers());
    QWidget *target = rig.window->findChild<QWidget *>(result);
    QVERIFY(target);
    if (auto *menu = qobject_cast<QMenu *>(target)) {
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    } else if (target->isWindow()) {
        QVERIFY(target->isVisible());
    } else {
        QVERIFY(target->hasFocus());
    }
    // Ctrl+Q asks during a download, as Exit does; the answer here is Cancel.
    QCOMPARE(rig.fakes.dialogs->questions.size(), key.key() == Qt::Key_Q ? 1 : 0);
    QVERIFY(rig.window->isVisible());
}

void Form1Test::watchedClipboardFillsAddress()
{
    DownloadSettings().setWatchClipboard(false);
    WindowRig rig(kSite);
    QAction *watch = rig.action("menuWatch");
    QVERIFY(watch->isCheckable());
    QVERIFY(!watch->isChecked());
    const QString address = kSite + QStringLiteral("/watch?v=copied");
    QClipboard *clipboard = QGuiApplication::clipboard();
    // On: a copied address fills the box and shows its verdict; nothing starts.
    watch->trigger();
    QVERIFY(DownloadSettings().watchClipboard());
    clipboard->setText(QStringLiteral("not an address"));
    clipboard->setText(address);
    QCOMPARE(rig.edit("txtURL")->text(), address);
    QCOMPARE(rig.label("lblUrl")->text(), QStringLiteral("URL is available"));
    QVERIFY(!rig.window->downloading());
    QVERIFY(rig.locator->navigations.isEmpty());

    // Off again: kept off, and copies change nothing.
    watch->trigger();
    QVERIFY(!DownloadSettings().watchClipboard());
    clipboard->setText(kSite + QStringLiteral("/watch?v=later"));
    QCOMPARE(rig.edit("txtURL")->text(), address);
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"

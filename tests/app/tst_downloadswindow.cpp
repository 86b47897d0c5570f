#include "app/DownloadsWindow.h"
#include "downloads/DownloadQueue.h"
#include "downloads/DownloadsModel.h"
#include "downloads/HistoryStore.h"
#include "support/FakeServices.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

class DownloadsWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonsFollowTheSelectedRow_data();
    void buttonsFollowTheSelectedRow();
};

void DownloadsWindowTest::buttonsFollowTheSelectedRow_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<bool>("opens"); // a double-click opens the file
    const auto names = [](const char *list) {
        return QString::fromLatin1(list).split(QLatin1Char(' '));
    };
    QTest::newRow("saved") << int(DownloadState::Saved) << true
                           << names("cmdRemove cmdOpenFile cmdOpenFolder") << true;
    QTest::newRow("saved, file gone")
        << int(DownloadState::Saved) << false << names("cmdRemove") << false;
    QTest::newRow("paused") << int(DownloadState::Paused) << false
                            << names("cmdStopDownload cmdResume cmdRemove") << false;
    QTest::newRow("failed") << int(DownloadState::Failed) << false << names("cmdRetry cmdRemove")
                            << false;
    QTest::newRow("stopped") << int(DownloadState::Stopped) << false << names("cmdRetry cmdRemove")
                             << false;
}

void DownloadsWindowTest::buttonsFollowTheSelectedRow()
{
    QFETCH(int, state);
    QFETCH(bool, fileThere);
    QFETCH(QStringList, enabled);
    QFETCH(bool, opens);
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    QVERIFY(store.open());
    DownloadRecord record;
    record.address = QStringLiteral("http://s/watch?v=a");
    record.state = static_cast<DownloadState>(state);
    record.filePath = dir.filePath(QStringLiteral("video.flv"));
    if (fileThere) {
        QFile file(record.filePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(store.add(record) > 0);
    DownloadQueue queue(&store);
    DownloadsModel model(&store, &queue);
    FakeShell shell;
    DownloadsWindow window(model, queue, shell);

    const auto buttons = window.findChildren<QPushButton *>();
    QVERIFY(std::none_of(buttons.cbegin(), buttons.cend(),
                         [](const QPushButton *button) { return button->isEnabled(); }));
    window.view()->selectRow(0);
    for (const QPushButton *button : buttons)
        QVERIFY2(button->isEnabled() == enabled.contains(button->objectName()),
                 qPrintable(button->objectName()));

    Q_EMIT window.view()->doubleClicked(model.index(0, 0));
    QCOMPARE(shell.opened, opens ? QStringList{record.filePath} : QStringList());
}

QTEST_MAIN(DownloadsWindowTest)
#include "tst_downloadswindow.moc"

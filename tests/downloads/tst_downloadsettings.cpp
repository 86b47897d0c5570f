#include "downloads/DownloadSettings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

class DownloadSettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keptBetweenRuns();
    void downloadsAtOnce_data();
    void downloadsAtOnce();
};

void DownloadSettingsTest::keptBetweenRuns()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.ini"));
    {
        DownloadSettings settings(file, QSettings::IniFormat);
        QVERIFY(settings.downloadFolder().isEmpty());
        QCOMPARE(settings.downloadsAtOnce(), 1);
        QVERIFY(!settings.resumeAtStart());
        QVERIFY(settings.askBeforeSavingAgain());
        QVERIFY(!settings.watchClipboard());
        settings.setDownloadFolder(QStringLiteral("/home/u/Videos"));
        settings.setDownloadsAtOnce(3);
        settings.setResumeAtStart(true);
        settings.setAskBeforeSavingAgain(false);
        settings.setWatchClipboard(true);
    }
    const DownloadSettings settings(file, QSettings::IniFormat);
    QCOMPARE(settings.downloadFolder(), QStringLiteral("/home/u/Videos"));
    QCOMPARE(settings.downloadsAtOnce(), 3);
    QVERIFY(settings.resumeAtStart());
    QVERIFY(!settings.askBeforeSavingAgain());
    QVERIFY(settings.watchClipboard());
}

void DownloadSettingsTest::downloadsAtOnce_data()
{
    QTest::addColumn<QVariant>("stored"); // as written by hand into the file
    QTest::addColumn<int>("read");
    QTest::newRow("in range") << QVariant(2) << 2;
    QTest::newRow("four") << QVariant(4) << 4;
    QTest::newRow("too many") << QVariant(9) << 4;
    QTest::newRow("zero") << QVariant(0) << 1;
    QTest::newRow("negative") << QVariant(-3) << 1;
    QTest::newRow("not a number") << QVariant(QStringLiteral("many")) << 1;
}

void DownloadSettingsTest::downloadsAtOnce()
{
    QFETCH(QVariant, stored);
    QFETCH(int, read);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.ini"));
    QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("Downloads/atOnce"), stored);
    DownloadSettings settings(file, QSettings::IniFormat);
    QCOMPARE(settings.downloadsAtOnce(), read);
    // Setting clamps the same way.
    settings.setDownloadsAtOnce(stored.toInt());
    QCOMPARE(DownloadSettings(file, QSettings::IniFormat).downloadsAtOnce(), read);
}

QTEST_GUILESS_MAIN(DownloadSettingsTest)
#include "tst_downloadsettings.moc"

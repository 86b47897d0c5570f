#include "app/FallbackLocator.h"
#include "components/network/RedirectLocator.h"
#include "support/FakeBrowser.h"

#include <QSignalSpy>
#include <QTest>

using namespace clipnab;

class FallbackLocatorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realBrowserOnlyWithoutToken_data();
    void realBrowserOnlyWithoutToken();
    void pageTitle_data();
    void pageTitle();
};

void FallbackLocatorTest::realBrowserOnlyWithoutToken_data()
{
    QTest::addColumn<QString>("quickLanding");
    QTest::addColumn<bool>("fallsBack");
    QTest::newRow("token") << "http://s/player?video_id=a&t=tok" << false;
    QTest::newRow("no token") << "http://s/player?video_id=a" << true;
    QTest::newRow("nothing reached") << "http://s/v/a" << true;
}

void FallbackLocatorTest::realBrowserOnlyWithoutToken()
{
    QFETCH(QString, quickLanding);
    QFETCH(bool, fallsBack);
    auto quickMade = std::make_unique<FakeBrowser>();
    FakeBrowser *quick = quickMade.get();
    FakeBrowser *full = nullptr;
    FallbackLocator locator(std::move(quickMade), [&full] {
        auto made = std::make_unique<FakeBrowser>();
        full = made.get();
        return made;
    });
    QSignalSpy documents(&locator, &BrowserComponent::DocumentComplete);
    locator.Navigate(QStringLiteral("http://s/v/a"));
    quick->finish(quickLanding);
    QCOMPARE(locator.fellBack(), fallsBack);
    QCOMPARE(full != nullptr, fallsBack);
    if (fallsBack) {
        // Only the real browser's document counts, from the same address.
        QCOMPARE(documents.count(), 0);
        QCOMPARE(full->navigations, QStringList{QStringLiteral("http://s/v/a")});
        full->finish(QStringLiteral("http://s/player?video_id=a&t=late"), QStringLiteral("why"));
        QCOMPARE(locator.loadFailure(), QStringLiteral("why"));
    }
    QCOMPARE(documents.count(), 1);
    QCOMPARE(locator.LocationURL(), fallsBack ? full->location : quick->location);
}

void FallbackLocatorTest::pageTitle_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << QByteArray("<html><head><title>Bars</title>") << "Bars";
    QTest::newRow("attributes, case, blanks")
        << QByteArray("<TITLE lang=en>\n  Colour   bars \n</Title >") << "Colour bars";
    QTest::newRow("entities") << QByteArray("<title>A &amp; B &lt;3 &amp;lt;</title>")
                              << "A & B <3 &lt;";
    QTest::newRow("UTF-8") << QByteArray("<title>Caf\xc3\xa9</title>") << QStringLiteral("Café");
    QTest::newRow("unclosed") << QByteArray("<title>cut") << "";
    QTest::newRow("none") << QByteArray("<p>title</p>") << "";
}

void FallbackLocatorTest::pageTitle()
{
    QFETCH(QByteArray, html);
    QFETCH(QString, title);
    QCOMPARE(RedirectLocator::pageTitle(html), title);
}

QTEST_GUILESS_MAIN(FallbackLocatorTest)
#include "tst_fallbacklocator.moc"

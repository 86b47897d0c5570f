#include "support/FakeBrowser.h"

#include "search/SearchPanel.h"
#include "search/SearchRules.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace clipnab;

class SearchTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void placeholder_data();
    void placeholder();
    void searchAddress_data();
    void searchAddress();
    void percentage_data();
    void percentage();
    void searchSkipsPlaceholder();
    void capturesVideoPages();
};

void SearchTest::placeholder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("placeholder");
    QTest::newRow("as designed") << "Youtube Video Search" << true;
    QTest::newRow("upper case") << "YOUTUBE VIDEO SEARCH" << true;
    QTest::newRow("lower case") << "youtube video search" << true;
    QTest::newRow("extra blank") << "Youtube  Video Search" << false;
    QTest::newRow("trailing blank") << "Youtube Video Search " << false;
    QTest::newRow("other words") << "cats" << false;
    QTest::newRow("empty") << "" << false;
}

void SearchTest::placeholder()
{
    QFETCH(QString, text);
    QFETCH(bool, placeholder);
    QCOMPARE(SearchRules::isPlaceholder(text), placeholder);
}

void SearchTest::searchAddress_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << "cats"
                           << "http://s/results?search_query=cats";
    QTest::newRow("outer blanks removed, inner kept")
        << "  funny  cats "
        << "http://s/results?search_query=funny%20%20cats";
    QTest::newRow("empty") << ""
                           << "http://s/results?search_query=";
    QTest::newRow("ampersand and equals") << "a&b=c"
                                          << "http://s/results?search_query=a%26b%3Dc";
    QTest::newRow("plus") << "c++"
                          << "http://s/results?search_query=c%2B%2B";
    QTest::newRow("hash and percent") << "#1 100%"
                                      << "http://s/results?search_query=%231%20100%25";
    QTest::newRow("non-ASCII") << QStringLiteral("caf\u00e9 \u65e5")
                               << "http://s/results?search_query=caf%C3%A9%20%E6%97%A5";
}

void SearchTest::searchAddress()
{
    QFETCH(QString, words);
    QFETCH(QString, address);
    const QString built = SearchRules::searchAddress(QStringLiteral("http://s"), words);
    QCOMPARE(built, address);
    // The site decodes exactly the trimmed words.
    const QUrlQuery query(QUrl(built).query(QUrl::FullyEncoded));
    QCOMPARE(query.queryItemValue(QStringLiteral("search_query"), QUrl::FullyDecoded),
             words.trimmed());
}

void SearchTest::percentage_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("percent"); // -1: nothing shown
    QTest::newRow("45 of 100") << 45 << 100 << 45;
    QTest::newRow("half to even down") << 1 << 40 << 2; // 2.5
    QTest::newRow("half to even up") << 7 << 200 << 4;  // 3.5
    QTest::newRow("complete") << 100 << 100 << 100;
    QTest::newRow("above 100") << 150 << 100 << -1;
    QTest::newRow("max zero") << 5 << 0 << 0;
    QTest::newRow("product beyond 32 bits") << 30000000 << 60000000 << 0;
}

void SearchTest::percentage()
{
    QFETCH(int, progress);
    QFETCH(int, max);
    QFETCH(int, percent);
    const auto result = SearchRules::percentage(progress, max);
    QCOMPARE(result.value_or(-1), percent);
    if (result)
        QCOMPARE(SearchRules::progressCaption(*result),
                 QStringLiteral("Loading page...%1%").arg(percent));
}

namespace {
// The panel with what a window would show of it: the box's text, captions and addresses.
struct PanelRig
{
    PanelRig()
    {
        panel = std::make_unique<SearchPanel>(browser, QStringLiteral("http://s"));
        QObject::connect(panel.get(), &SearchPanel::placeholderCleared, panel.get(),
                         [this] { text = QString(); });
        QObject::connect(panel.get(), &SearchPanel::progressCaptionChanged, panel.get(),
                         [this](const QString &caption) { captions.append(caption); });
        QObject::connect(panel.get(), &SearchPanel::videoPageFound, panel.get(),
                         [this](const QString &address) { addresses.append(address); });
    }
    QString text = QStringLiteral("Youtube Video Search");
    QStringList captions;
    QStringList addresses;
    FakeBrowser browser;
    std::unique_ptr<SearchPanel> panel;
};
} // namespace

void SearchTest::searchSkipsPlaceholder()
{
    PanelRig rig;
    rig.panel->search(rig.text);
    QVERIFY(rig.browser.navigations.isEmpty());
    rig.panel->searchBoxClicked(rig.text);
    QCOMPARE(rig.text, QString());
    rig.panel->search(rig.text);
    QCOMPARE(rig.browser.navigations,
             QStringList{QStringLiteral("http://s/results?search_query=")});
    rig.text = QStringLiteral("dogs");
    rig.panel->searchBoxClicked(rig.text);
    QCOMPARE(rig.text, QStringLiteral("dogs"));
    rig.panel->search(QStringLiteral("yOUTUBE vIDEO sEARCH"));
    QCOMPARE(rig.browser.navigations.size(), 1);
}

void SearchTest::capturesVideoPages()
{
    PanelRig rig;
    rig.browser.location = QStringLiteral("http://s/results?search_query=cats");
    rig.browser.progress(50, 100);
    rig.browser.finish(rig.browser.location);
    QVERIFY(rig.addresses.isEmpty());
    QCOMPARE(rig.captions, (QStringList{QStringLiteral("Loading page...50%"),
                                        QStringLiteral("Page Loading Finished.")}));

    rig.browser.location = QStringLiteral("http://s/watch?v=abc");
    rig.browser.progress(10, 100);
    rig.browser.progress(500, 100); // above 100: nothing at all
    rig.browser.finish(rig.browser.location);
    QCOMPARE(rig.addresses, (QStringList{QStringLiteral("http://s/watch?v=abc"),
                                         QStringLiteral("http://s/watch?v=abc")}));
}

QTEST_GUILESS_MAIN(SearchTest)
#include "tst_search.moc"

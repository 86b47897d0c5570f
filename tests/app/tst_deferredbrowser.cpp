#include "app/DeferredBrowser.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using namespace clipnab;

namespace {

using Start = DeferredBrowser::Start;

// A browser that records navigations and, given a parent for it, has a view.
class ViewBrowser final : public BrowserComponent
{
    Q_OBJECT
public:
    explicit ViewBrowser(QWidget *viewParent)
        : m_view(viewParent ? new QWidget(viewParent) : nullptr)
    {
    }
    ~ViewBrowser() override { delete m_view; }

    void Navigate(const QString &address) override { navigations.append(address); }
    QString LocationURL() const override { return navigations.value(navigations.size() - 1); }
    QString LocationName() const override { return title; }
    QString loadFailure() const override { return failure; }
    QWidget *widget() const override { return m_view; }

    QStringList navigations;
    QString title;
    QString failure;

private:
    QWidget *m_view;
};

DeferredBrowser::Factory recordingFactory(int &made)
{
    return [&made](QWidget *viewParent) {
        ++made;
        return std::make_unique<ViewBrowser>(viewParent);
    };
}

ViewBrowser *real(const DeferredBrowser &browser)
{
    return static_cast<ViewBrowser *>(browser.browser());
}

} // namespace

Q_DECLARE_METATYPE(clipnab::DeferredBrowser::Start)

class DeferredBrowserTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void whenMade_data();
    void whenMade();
    void viewGoesIntoThePlaceholder();
    void speaksForTheRealBrowser();
};

void DeferredBrowserTest::whenMade_data()
{
    QTest::addColumn<Start>("start");
    QTest::addColumn<bool>("withView");
    QTest::addColumn<QStringList>("asked");   // navigations before the browser exists
    QTest::addColumn<bool>("painted");        // the view's window is shown and painted
    QTest::addColumn<bool>("made");           // the real browser exists afterwards
    QTest::addColumn<QStringList>("reached"); // navigations the real browser got
    const QString home = QStringLiteral("http://site/");
    const QString search = QStringLiteral("http://site/results?search_query=cats");
    QTest::newRow("waits for the first paint")
        << Start::AfterFirstPaint << true << QStringList{home} << false << false << QStringList{};
    QTest::newRow("made after the first paint, with the last address asked for")
        << Start::AfterFirstPaint << true << QStringList{home, search} << true << true
        << QStringList{search};
    QTest::newRow("made after the first paint with nothing to load")
        << Start::AfterFirstPaint << true << QStringList{} << true << true << QStringList{};
    QTest::newRow("made by its first navigation")
        << Start::OnFirstUse << false << QStringList{home} << false << true << QStringList{home};
    QTest::newRow("not made while unused")
        << Start::OnFirstUse << false << QStringList{} << false << false << QStringList{};
}

void DeferredBrowserTest::whenMade()
{
    QFETCH(Start, start);
    QFETCH(bool, withView);
    QFETCH(QStringList, asked);
    QFETCH(bool, painted);
    QFETCH(bool, made);
    QFETCH(QStringList, reached);

    // As the window's browser frame holds it.
    QWidget window;
    window.resize(200, 100);
    auto *layout = new QVBoxLayout(&window);
    int makes = 0;
    DeferredBrowser browser(recordingFactory(makes), withView ? &window : nullptr, start);
    if (withView)
        layout->addWidget(browser.widget());
    for (const QString &address : asked)
        browser.Navigate(address);
    if (!made)
        QCOMPARE(browser.LocationURL(), asked.value(asked.size() - 1));
    if (painted) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(browser.browser());
    } else {
        // Whatever the event loop runs meanwhile.
        QTest::qWait(20);
    }
    QCOMPARE(makes, made ? 1 : 0);
    if (made)
        QCOMPARE(real(browser)->navigations, reached);
}

void DeferredBrowserTest::viewGoesIntoThePlaceholder()
{
    QWidget window;
    window.resize(200, 100);
    int makes = 0;
    DeferredBrowser browser(recordingFactory(makes), &window, Start::AfterFirstPaint);
    QWidget *placeholder = browser.widget();
    QVERIFY(placeholder);
    QCOMPARE(placeholder->parentWidget(), &window);
    placeholder->setGeometry(10, 10, 120, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(browser.browser());
    QWidget *view = real(browser)->widget();
    QCOMPARE(view->parentWidget(), placeholder);
    QTRY_VERIFY(view->isVisible());
    QCOMPARE(view->geometry(), placeholder->rect());
    // Made once: a later paint or an explicit make() leaves it alone.
    browser.make();
    placeholder->update();
    QTest::qWait(20);
    QCOMPARE(makes, 1);
}

void DeferredBrowserTest::speaksForTheRealBrowser()
{
    int makes = 0;
    DeferredBrowser browser(recordingFactory(makes), nullptr, Start::OnFirstUse);
    QSignalSpy made(&browser, &DeferredBrowser::made);
    QSignalSpy progress(&browser, &BrowserComponent::ProgressChange);
    QSignalSpy complete(&browser, &BrowserComponent::DocumentComplete);
    browser.Navigate(QStringLiteral("http://site/v/1"));
    QCOMPARE(made.count(), 1);
    Q_EMIT real(browser)->ProgressChange(30, 100);
    Q_EMIT real(browser)->DocumentComplete(QStringLiteral("http://site/v/1"));
    QCOMPARE(progress.takeFirst(), (QVariantList{30, 100}));
    QCOMPARE(complete.takeFirst(), QVariantList{QStringLiteral("http://site/v/1")});
    browser.Navigate(QStringLiteral("http://site/v/2"));
    QCOMPARE(real(browser)->navigations,
             (QStringList{QStringLiteral("http://site/v/1"), QStringLiteral("http://site/v/2")}));
    QCOMPARE(browser.LocationURL(), QStringLiteral("http://site/v/2"));
    real(browser)->title = QStringLiteral("Clip - ClipTube");
    real(browser)->failure = QStringLiteral("the site could not be reached");
    QCOMPARE(browser.LocationName(), real(browser)->title);
    QCOMPARE(browser.loadFailure(), real(browser)->failure);
    QCOMPARE(made.count(), 1);
}

QTEST_MAIN(DeferredBrowserTest)
#include "tst_deferredbrowser.moc"

#include "app/Form1.h"
#include "controls/button/ButtonGeometry.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "support/FakeBrowser.h"
#include "support/WindowRig.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

// The window's layout is a resource of its static library.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

using namespace clipnab;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:9");

} // namespace

// No fixed caption is cut: every label on the panels is as large as its text needs, and every
// button caption fits beside its icon. Run at the default scale and, by CTest, with
// QT_SCALE_FACTOR 1.5 and 2.
class CaptionFitTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void labelsHoldTheirTexts_data();
    void labelsHoldTheirTexts();
    void buttonCaptionsFit_data();
    void buttonCaptionsFit();
};

void CaptionFitTest::initTestCase()
{
    initAppResources();
}

void CaptionFitTest::labelsHoldTheirTexts_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::newRow("verdict at start") << "lblUrl"
                                      << "start"
                                      << "Copy and Paste video URL here";
    QTest::newRow("verdict available") << "lblUrl"
                                       << "available"
                                       << "URL is available";
    QTest::newRow("verdict not available") << "lblUrl"
                                           << "refused"
                                           << "URL is not available";
    QTest::newRow("analysing") << "Label1"
                               << "analysing"
                               << "Analysing URL...";
    QTest::newRow("downloading") << "Label1"
                                 << "downloading"
                                 << "Downloading...";
    QTest::newRow("page loading") << "Label4"
                                  << "loading"
                                  << "Loading page...100%";
    QTest::newRow("page loaded") << "Label4"
                                 << "loaded"
                                 << "Page Loading Finished.";
}

void CaptionFitTest::labelsHoldTheirTexts()
{
    QFETCH(QString, label);
    QFETCH(QString, how);
    QFETCH(QString, text);
    WindowRig rig(kSite);
    const QString site = kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok");
    if (how == QLatin1String("available"))
        rig.edit("txtURL")->setText(QStringLiteral("http://x/watch?v=abc"));
    else if (how == QLatin1String("refused"))
        rig.edit("txtURL")->setText(QStringLiteral("http://"));
    if (how == QLatin1String("analysing") || how == QLatin1String("downloading"))
        Q_EMIT rig.button("cmdDown")->Click();
    if (how == QLatin1String("downloading"))
        rig.locator->finish(site);
    else if (how == QLatin1String("loading"))
        rig.search->progress(100, 100);
    else if (how == QLatin1String("loaded"))
        rig.search->finish(kSite + QLatin1Char('/'));
    QLabel *shown = rig.label(qPrintable(label));
    QCOMPARE(shown->text(), text);
    const QSize needed = shown->sizeHint();
    QVERIFY2(shown->width() >= needed.width() && shown->height() >= needed.height(),
             qPrintable(QStringLiteral("%1x%2 for %3x%4")
                            .arg(shown->width())
                            .arg(shown->height())
                            .arg(needed.width())
                            .arg(needed.height())));
}

void CaptionFitTest::buttonCaptionsFit_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"cmdDown", "cmdWeb", "cmdExit", "cmdSearch", "cmdStart"})
        QTest::newRow(name) << name;
}

void CaptionFitTest::buttonCaptionsFit()
{
    // The caption is centred in its rectangle, which clips it: its letters must fit there, and
    // the icon, drawn after it, must not cover them.
    QFETCH(QString, name);
    WindowRig rig(kSite);
    deRurara *button = rig.button(qPrintable(name));
    const GdiRect area = button->captionRect();
    const QRect caption(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1));
    const QFontMetrics metrics(button->Font());
    const QSize letters(metrics.horizontalAdvance(button->Caption()),
                        metrics.tightBoundingRect(button->Caption()).height());
    const QRect text = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, letters, caption);
    QVERIFY2(caption.contains(text), qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                                    .arg(letters.width())
                                                    .arg(letters.height())
                                                    .arg(caption.width())
                                                    .arg(caption.height())));
    if (button->IconVisible() && !button->Icon().isNull()) {
        const int size = button->IconSize();
        const QRect icon(iconPosition(static_cast<ButtonAlign>(button->IconAlign()),
                                      button->width(), button->height(), size,
                                      iconMarginFor(static_cast<ButtonStyle>(button->Style()))),
                         QSize(size + 1, size + 1));
        QVERIFY(!icon.intersects(text));
    }
}

QTEST_MAIN(CaptionFitTest)
#include "tst_captionfit.moc"

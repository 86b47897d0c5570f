#include "ButtonTestSupport.h"

#include "controls/button/AboutBox.h"

#include <QPointer>
#include <QTest>

using namespace clipnab;
using namespace clipnab::test;

namespace {

QRgb boxPixel(const deRurara &b, QPoint at)
{
    return b.aboutBox()->surfaceImage().pixel(at) & 0xFFFFFFu;
}

constexpr QRgb kFace = 0xECE9D8;
constexpr QRgb kShadow = 0xACA899;

} // namespace

class AboutBoxTest : public QObject
{
    Q_OBJECT
private:
    PlatformContext m_context;

private Q_SLOTS:
    void initTestCase() { pinClassicColors(m_context.systemColors()); }

    void aboutLiftsTheBoxOutAndAClickHidesIt()
    {
        auto b = std::make_unique<deRurara>(m_context);
        QPointer<AboutBox> box = b->aboutBox();
        QCOMPARE(box->parentWidget(), b.get());
        b->show();
        QVERIFY(!box->isVisible());
        for (const QPoint at : {QPoint(320, 90), QPoint(10, 170)}) {
            b->About();
            QVERIFY(box->isWindow() && box->isVisible());
            QCOMPARE(box->windowTitle(), QStringLiteral("About deRurara 3.0"));
            QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(boxPixel(*b, {300, 81}), 0xFAF7E6u);
            sendMouse(box, QEvent::MouseButtonPress, Qt::LeftButton, at);
            sendMouse(box, QEvent::MouseButtonRelease, Qt::LeftButton, at);
            QVERIFY(!box->isVisible());
        }
        b.reset();
        QVERIFY(box.isNull());
    }

    // Classic face (236, 233, 216) and shadow (172, 168, 153); the gradient runs from the face
    // shifted by +15 to the face shifted by -15, or back when pressed.
    void closeButtonAtRestAndPressed_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("rest");
        QTest::addColumn<QRgb>("pressed");
        QTest::newRow("top-left corner back to the face") << QPoint(290, 80) << kFace << kFace;
        QTest::newRow("top-left diagonal") << QPoint(291, 81) << kShadow << kShadow;
        QTest::newRow("first gradient row") << QPoint(300, 81) << 0xFAF7E6u << 0xDEDBCAu;
        QTest::newRow("row 10, last gradient column") << QPoint(359, 90) << 0xEFECDBu << 0xE9E6D5u;
        QTest::newRow("right line outside the gradient") << QPoint(360, 90) << kShadow << kShadow;
        QTest::newRow("bottom-right diagonal") << QPoint(358, 106) << kShadow << kShadow;
        QTest::newRow("bottom-right corner's neighbour") << QPoint(360, 105) << kFace << kFace;
    }
    void closeButtonAtRestAndPressed()
    {
        QFETCH(QPoint, at);
        deRurara b(m_context);
        b.About();
        QTEST(boxPixel(b, at), "rest");
        // A press anywhere in the box, here far from the Close button.
        sendMouse(b.aboutBox(), QEvent::MouseButtonPress, Qt::LeftButton, {10, 170});
        QTEST(boxPixel(b, at), "pressed");
    }
};

QTEST_MAIN(AboutBoxTest)
#include "tst_aboutbox.moc"

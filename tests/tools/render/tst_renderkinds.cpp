#include "ControlRenderer.h"
#include "RenderOptions.h"

#include <QTest>

using namespace clipnab;

class RenderKindsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void looks_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("expected");
        const QStringList ringed{QStringLiteral("button"), QStringLiteral("-o"),
                                 QStringLiteral("x.png"),  QStringLiteral("--size"),
                                 QStringLiteral("75x23"),  QStringLiteral("--set"),
                                 QStringLiteral("Style=5")};
        QTest::newRow("outside the shape is transparent") << ringed << QPoint(0, 0) << 0u;
        QTest::newRow("inside is opaque") << ringed << QPoint(2, 0) << qRgb(0, 60, 116);
        QTest::newRow("no focus ring unless asked")
            << ringed << QPoint(2, 1) << qRgb(191, 199, 202);
        QTest::newRow("focus ring") << ringed + QStringList{QStringLiteral("--focus")}
                                    << QPoint(2, 1) << qRgb(206, 231, 255);
        QTest::newRow("hot ring") << ringed + QStringList{QStringLiteral("--state"),
                                                          QStringLiteral("hot")}
                                  << QPoint(10, 1) << qRgb(255, 240, 207);
        QTest::newRow("disabled") << ringed + QStringList{QStringLiteral("--state"),
                                                          QStringLiteral("disabled")}
                                  << QPoint(10, 10) << qRgb(245, 244, 234);
        QTest::newRow("rectangle style fills the client")
            << QStringList{QStringLiteral("button"),   QStringLiteral("-o"),
                           QStringLiteral("x.png"),    QStringLiteral("--syscolor"),
                           QStringLiteral("15=1,2,3"), QStringLiteral("--set"),
                           QStringLiteral("Style=2")}
            << QPoint(228, 96) << qRgb(1, 2, 3);
    }
    void looks()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QPoint, at);
        QFETCH(QRgb, expected);
        const QImage image = renderControl(parseRenderArguments(arguments));
        QCOMPARE(image.pixel(at), expected);
    }

    void designSizeByDefault()
    {
        const QImage image = renderControl(parseRenderArguments(
            {QStringLiteral("button"), QStringLiteral("-o"), QStringLiteral("x.png")}));
        QCOMPARE(image.size(), QSize(229, 97));
    }
};

QTEST_MAIN(RenderKindsTest)
#include "tst_renderkinds.moc"

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
        // The about box with unusual face (10, 200, 30) and shadow (200, 20, 120) colours.
        const QStringList about{QStringLiteral("about"),        QStringLiteral("-o"),
                                QStringLiteral("x.png"),        QStringLiteral("--syscolor"),
                                QStringLiteral("15=10,200,30"), QStringLiteral("--syscolor"),
                                QStringLiteral("16=200,20,120")};
        const QStringList pressed{QStringLiteral("--state"), QStringLiteral("pressed")};
        QTest::newRow("about: Close gradient at rest")
            << about << QPoint(300, 81) << qRgb(24, 214, 44);
        QTest::newRow("about: Close gradient pressed")
            << about + pressed << QPoint(300, 81) << qRgb(1, 186, 16);
        QTest::newRow("about: outline")
            << about + pressed << QPoint(359, 105) << qRgb(200, 20, 120);
        QTest::newRow("about: corner back to the face")
            << about << QPoint(290, 80) << qRgb(10, 200, 30);
        QTest::newRow("tooltip: transparent beside the stem")
            << QStringList{QStringLiteral("tooltip"), QStringLiteral("-o"), QStringLiteral("x.png"),
                           QStringLiteral("--set"), QStringLiteral("ToolTip=Save")}
            << QPoint(0, 0) << 0u;
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

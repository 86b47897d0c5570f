#include "platform/PaintMemo.h"

#include <QPainter>
#include <QTest>

using namespace clipnab;

class PaintMemoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replaysExactlyWhatItDrew();
};

void PaintMemoTest::replaysExactlyWhatItDrew()
{
    QImage image(16, 16, QImage::Format_RGB32);
    int runs = 0;
    PaintMemo<QRgb> memo(2);
    // A disc of the key's colour, blended at its edge, over a background; the image after it.
    const auto paint = [&](QRgb back, QRgb color) {
        image.fill(back);
        memo.paint(image, QRect(2, 2, 11, 11), color, [&] {
            ++runs;
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(color));
            p.drawEllipse(QRectF(2.5, 2.5, 9, 9));
            return true;
        });
        return image.copy();
    };

    const QImage first = paint(0xFF102030, 0xFFF0E0D0);
    QCOMPARE(paint(0xFF102030, 0xFFF0E0D0), first);
    QCOMPARE(runs, 1);
    // Other pixels under the step, or another key: drawn again, never replayed.
    const QImage otherBack = paint(0xFF405060, 0xFFF0E0D0);
    QCOMPARE(runs, 2);
    QVERIFY(otherBack.pixel(7, 2) != first.pixel(7, 2));
    paint(0xFF405060, 0xFF00FF00);
    QCOMPARE(runs, 3);
    // Two steps are kept: the least recently used one went.
    QCOMPARE(paint(0xFF405060, 0xFFF0E0D0), otherBack);
    QCOMPARE(runs, 3);
    paint(0xFF102030, 0xFFF0E0D0);
    QCOMPARE(runs, 4);

    // A step that did not draw is not remembered.
    image.fill(0xFF000000);
    QVERIFY(!memo.paint(image, QRect(2, 2, 11, 11), 0xFF0000FF, [] { return false; }));
    paint(0xFF000000, 0xFF0000FF);
    QCOMPARE(runs, 5);
}

QTEST_MAIN(PaintMemoTest)
#include "tst_paintmemo.moc"

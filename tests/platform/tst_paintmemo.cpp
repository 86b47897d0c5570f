#include "platform/PaintMemo.h"

#include <QPainter>
#include <QTest>

using namespace clipnab;

namespace {

// A step that paints a disc of a colour, blending at its edge, and counts its runs.
struct Disc
{
    QImage *image;
    int *runs;
    bool operator()(QRgb color) const
    {
        ++*runs;
        QPainter p(image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(color));
        p.drawEllipse(QRectF(2.5, 2.5, 9, 9));
        return true;
    }
};

} // namespace

class PaintMemoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replaysExactlyWhatItDrew();
    void forgetsTheLeastRecentStep();
};

void PaintMemoTest::replaysExactlyWhatItDrew()
{
    QImage image(16, 16, QImage::Format_RGB32);
    int runs = 0;
    const Disc disc{&image, &runs};
    PaintMemo<QRgb> memo(4);
    const QRect rect(2, 2, 11, 11);
    const auto paintOn = [&](QRgb back, QRgb color) {
        image.fill(back);
        memo.paint(image, rect, color, [&] { return disc(color); });
        return image.copy();
    };

    const QImage first = paintOn(0xFF102030, 0xFFF0E0D0);
    QCOMPARE(paintOn(0xFF102030, 0xFFF0E0D0), first);
    QCOMPARE(runs, 1);
    // Other pixels under the step, or another key: drawn again, never replayed.
    const QImage otherBack = paintOn(0xFF405060, 0xFFF0E0D0);
    QCOMPARE(runs, 2);
    QVERIFY(otherBack.pixel(7, 2) != first.pixel(7, 2));
    paintOn(0xFF102030, 0xFF00FF00);
    QCOMPARE(runs, 3);
    QCOMPARE(paintOn(0xFF405060, 0xFFF0E0D0), otherBack);
    QCOMPARE(runs, 3);

    // A step that did not draw is not remembered.
    image.fill(0xFF000000);
    QVERIFY(!memo.paint(image, rect, 0xFF0000FF, [] { return false; }));
    QVERIFY(memo.paint(image, rect, 0xFF0000FF, [&] { return disc(0xFF0000FF); }));
    QCOMPARE(runs, 4);
}

void PaintMemoTest::forgetsTheLeastRecentStep()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(0xFF000000);
    int runs = 0;
    const Disc disc{&image, &runs};
    PaintMemo<QRgb> memo(2);
    const QRect rect(2, 2, 11, 11);
    const auto paint = [&](QRgb color) {
        image.fill(0xFF000000);
        memo.paint(image, rect, color, [&] { return disc(color); });
    };
    paint(0xFFFF0000);
    paint(0xFF00FF00);
    paint(0xFFFF0000); // used again: now the most recent
    paint(0xFF0000FF); // evicts green
    QCOMPARE(runs, 3);
    paint(0xFFFF0000);
    QCOMPARE(runs, 3);
    paint(0xFF00FF00);
    QCOMPARE(runs, 4);
}

QTEST_MAIN(PaintMemoTest)
#include "tst_paintmemo.moc"

#include "platform/widgets/WindowSubclass.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

using namespace clipnab;

namespace {

// A widget that counts what its own handler saw and accepts mouse moves.
class CountingWidget : public QWidget
{
public:
    int moves = 0;
    int paletteChanges = 0;

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        ++moves;
        event->accept();
    }
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            ++paletteChanges;
        QWidget::changeEvent(event);
    }
};

struct Seen
{
    bool before;
    int message;
    long result;
};

void send(QWidget *w, QEvent::Type type)
{
    if (type == QEvent::MouseMove) {
        QMouseEvent move(type, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
        return;
    }
    QEvent event(type);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

class WindowSubclassTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reporting_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("when");
        QTest::addColumn<bool>("swallow");
        QTest::addColumn<int>("ownMoves");
        QTest::addColumn<QList<int>>("calls"); // 1 before, 0 after, per reported move
        QTest::addColumn<long>("afterResult");
        QTest::newRow("after sees the handler's result")
            << 512 << int(WindowSubclass::After) << false << 1 << QList<int>{0} << 1L;
        QTest::newRow("before and after")
            << 512 << int(WindowSubclass::Both) << false << 1 << QList<int>{1, 0} << 1L;
        QTest::newRow("before swallows")
            << 512 << int(WindowSubclass::Both) << true << 0 << QList<int>{1, 0} << 7L;
        QTest::newRow("all messages")
            << -1 << int(WindowSubclass::After) << false << 1 << QList<int>{0} << 1L;
        QTest::newRow("other message only")
            << 21 << int(WindowSubclass::Both) << false << 1 << QList<int>{} << 0L;
    }
    void reporting()
    {
        QFETCH(int, message);
        QFETCH(int, when);
        QFETCH(bool, swallow);
        QFETCH(int, ownMoves);
        QFETCH(QList<int>, calls);
        QFETCH(long, afterResult);
        QList<Seen> seen;
        WindowSubclass subclass([&](SubclassCall &call) {
            if (call.message != WindowMessage::kMouseMove)
                return;
            seen.append({call.before, call.message, call.result});
            if (call.before && swallow) {
                call.handled = true;
                call.result = 7;
            }
        });
        CountingWidget w;
        subclass.start(&w);
        subclass.addMessage(&w, message, WindowSubclass::When(when));
        send(&w, QEvent::MouseMove);
        QCOMPARE(w.moves, ownMoves);
        QCOMPARE(seen.size(), calls.size());
        for (int i = 0; i < calls.size(); ++i)
            QCOMPARE(seen[i].before, calls[i] == 1);
        if (!seen.isEmpty() && !seen.last().before)
            QCOMPARE(seen.last().result, afterResult);
    }

    void registeringTwiceKeepsOneEntry()
    {
        WindowSubclass subclass([](SubclassCall &) {});
        QWidget w;
        subclass.start(&w);
        for (int m : {512, 675, 512, 675})
            subclass.addMessage(&w, m, WindowSubclass::After);
        QCOMPARE(subclass.afterCount(&w), 2);
        QCOMPARE(subclass.beforeCount(&w), 0);
        subclass.addMessage(&w, WindowMessage::kAll, WindowSubclass::Before);
        QCOMPARE(subclass.beforeCount(&w), -1);
    }

    void leaveIsReportedOncePerRequest()
    {
        int leaves = 0;
        WindowSubclass subclass([&](SubclassCall &call) {
            leaves += call.message == WindowMessage::kMouseLeave ? 1 : 0;
        });
        QWidget w;
        subclass.start(&w);
        subclass.addMessage(&w, WindowMessage::kMouseLeave, WindowSubclass::After);
        send(&w, QEvent::Leave);
        QCOMPARE(leaves, 0);
        subclass.trackLeave(&w);
        QVERIFY(subclass.leaveArmed(&w));
        send(&w, QEvent::Leave);
        send(&w, QEvent::Leave);
        QCOMPARE(leaves, 1);
        QVERIFY(!subclass.leaveArmed(&w));
    }

    void stopRestoresOwnHandling()
    {
        int reports = 0;
        WindowSubclass subclass([&](SubclassCall &call) {
            ++reports;
            call.handled = call.before;
        });
        CountingWidget w;
        QVERIFY(!w.hasMouseTracking());
        subclass.start(&w);
        QVERIFY(w.hasMouseTracking());
        subclass.addMessage(&w, WindowMessage::kSysColorChange, WindowSubclass::Before);
        send(&w, QEvent::PaletteChange);
        QCOMPARE(w.paletteChanges, 0);
        subclass.stop(&w);
        QVERIFY(!subclass.isSubclassed(&w));
        QVERIFY(!w.hasMouseTracking());
        send(&w, QEvent::PaletteChange);
        QCOMPARE(w.paletteChanges, 1);
        QCOMPARE(reports, 1);
    }

    void recordsAreReused()
    {
        WindowSubclass subclass([](SubclassCall &) {});
        QWidget a, b, c;
        QCOMPARE(subclass.start(&a), 0);
        QCOMPARE(subclass.start(&b), 1);
        QCOMPARE(subclass.start(&a), 0);
        subclass.stop(&a);
        QCOMPARE(subclass.start(&c), 0);
        subclass.stopAll();
        QVERIFY(!subclass.isSubclassed(&b));
        QVERIFY(!subclass.isSubclassed(&c));
    }

    void destroyedWindowFreesItsRecord()
    {
        WindowSubclass subclass([](SubclassCall &) {});
        auto w = std::make_unique<QWidget>();
        subclass.start(w.get());
        w.reset();
        QWidget other;
        QCOMPARE(subclass.start(&other), 0);
        subclass.stopAll();
    }

    void messageNumbers_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("message");
        QTest::newRow("leave") << int(QEvent::Leave) << 675;
        QTest::newRow("style change") << int(QEvent::StyleChange) << 794;
        QTest::newRow("theme change") << int(QEvent::ThemeChange) << 794;
        QTest::newRow("palette change") << int(QEvent::PaletteChange) << 21;
        QTest::newRow("application palette") << int(QEvent::ApplicationPaletteChange) << 21;
        QTest::newRow("unmapped") << int(QEvent::User) << 0;
    }
    void messageNumbers()
    {
        QFETCH(int, type);
        QFETCH(int, message);
        QEvent event(static_cast<QEvent::Type>(type));
        QCOMPARE(windowMessageFor(&event), message);
    }
};

QTEST_MAIN(WindowSubclassTest)
#include "tst_windowsubclass.moc"

#include "support/FakeTransfer.h"

#include <QSignalSpy>
#include <QTest>

using namespace clipnab;

// The fake stands in for the network transfer in the window's tests, so it must keep the same
// contract: one Get at a time, completion as state 12 last, the body in bounded ordered chunks.
class FakeTransferTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drainsTheBodyLikeTheRealTransfer_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<int>("chunks");
        QTest::newRow("empty") << 0 << 1024 << 0;
        QTest::newRow("one byte") << 1 << 1024 << 1;
        QTest::newRow("one chunk and a byte") << 1025 << 1024 << 2;
        QTest::newRow("three chunks") << 3000 << 1024 << 3;
    }
    void drainsTheBodyLikeTheRealTransfer()
    {
        QFETCH(int, size);
        QFETCH(int, chunkSize);
        QFETCH(int, chunks);
        QByteArray body(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            body[i] = char(i * 7);
        FakeTransfer transfer;
        transfer.setBody(body);
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        transfer.complete();
        QCOMPARE(spy.last().first().toInt(), int(TransferComponent::State::ResponseCompleted));
        QCOMPARE(transfer.GetHeader(QStringLiteral("content-LENGTH")), QString::number(size));

        QByteArray received;
        int count = 0;
        for (QByteArray chunk = transfer.GetChunk(chunkSize); !chunk.isEmpty();
             chunk = transfer.GetChunk(chunkSize), ++count)
            received += chunk;
        QCOMPARE(count, chunks);
        QCOMPARE(received, body);
    }

    void refusesASecondGetUntilTheFirstEnds()
    {
        FakeTransfer transfer;
        transfer.setURL(QStringLiteral("http://127.0.0.1/a"));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        transfer.setURL(QStringLiteral("http://127.0.0.1/b"));
        QVERIFY(!transfer.Execute(QStringLiteral("Get")));
        transfer.fail();
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        QCOMPARE(transfer.requestedUrls, QStringList({QStringLiteral("http://127.0.0.1/a"),
                                                      QStringLiteral("http://127.0.0.1/b")}));
    }
};

QTEST_GUILESS_MAIN(FakeTransferTest)
#include "tst_faketransfer.moc"

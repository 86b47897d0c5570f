#include "components/network/NetworkTransfer.h"

#include "DemoSite.h"
#include "support/FakeTransfer.h"
#include "support/TransferSteps.h"

#include <QHash>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace clipnab;
using State = TransferComponent::State;

namespace {

enum class Kind
{
    Fake,
    Network
};

// One transfer of either kind, with what a case needs around it: addresses to fetch, and a way
// to let the running Get end.
class Subject
{
public:
    virtual ~Subject() = default;
    virtual TransferComponent &transfer() = 0;
    // The address of `body`.
    virtual QString serve(const QString &id, const QByteArray &body) = 0;
    // An address whose Get ends in the error state.
    virtual QString serveFailing(const QString &id) = 0;
    // Lets the running Get end and returns its final state.
    virtual int finish() = 0;
    // The addresses fetched, in order.
    virtual QStringList requested() const = 0;
};

// The fake, scripted the way the window's and the flow's tests script it.
class FakeSubject final : public Subject
{
public:
    TransferComponent &transfer() override { return m_transfer; }
    QString serve(const QString &id, const QByteArray &body) override
    {
        const QString url = address(id);
        m_bodies.insert(url, body);
        return url;
    }
    QString serveFailing(const QString &id) override
    {
        const QString url = address(id);
        m_failing.insert(url);
        return url;
    }
    int finish() override
    {
        // The address of the running Get, whatever URL says now.
        const QString running = m_transfer.requestedUrls.last();
        if (m_failing.contains(running)) {
            m_transfer.fail();
            return int(State::Error);
        }
        m_transfer.setBody(m_bodies.value(running));
        m_transfer.complete();
        return int(State::ResponseCompleted);
    }
    QStringList requested() const override { return m_transfer.requestedUrls; }

private:
    static QString address(const QString &id)
    {
        return QStringLiteral("http://127.0.0.1:1/get_video?video_id=") + id;
    }

    FakeTransfer m_transfer;
    QHash<QString, QByteArray> m_bodies;
    QSet<QString> m_failing;
};

// The network transfer against the demo site in this process.
class NetworkSubject final : public Subject
{
public:
    explicit NetworkSubject(DemoSite &site)
        : m_site(site), m_spy(&m_transfer, &TransferComponent::StateChanged),
          m_logged(site.requestLog().size())
    {
    }
    TransferComponent &transfer() override { return m_transfer; }
    QString serve(const QString &id, const QByteArray &body) override
    {
        m_site.addVideo(id, QStringLiteral("Contract"), body);
        return address(id);
    }
    QString serveFailing(const QString &id) override
    {
        m_site.addVideo(id, QStringLiteral("Failing"), QByteArray("never sent"));
        m_site.setVideoStatus(id, 500);
        return address(id);
    }
    int finish() override
    {
        const int ended = waitForEnd(m_spy);
        m_spy.clear();
        return ended;
    }
    QStringList requested() const override
    {
        QStringList urls;
        for (const QString &target : m_site.requestLog().mid(m_logged))
            urls.append(m_site.baseUrl() + target);
        return urls;
    }

private:
    QString address(const QString &id) const
    {
        return m_site.baseUrl() + QStringLiteral("/get_video?video_id=") + id +
               QStringLiteral("&t=") + m_site.tokenFor(id);
    }

    DemoSite &m_site;
    NetworkTransfer m_transfer;
    QSignalSpy m_spy;
    qsizetype m_logged;
};

} // namespace

Q_DECLARE_METATYPE(Kind)

// The fake stands in for the network transfer in the window's and the flow's tests, so both
// keep one contract, checked here against each: one Get at a time, completion as state 12 last,
// headers found without regard to case, the body in bounded ordered chunks, QUIT ends a Get.
class TransferContractTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Subject> subject(Kind kind)
    {
        if (kind == Kind::Fake)
            return std::make_unique<FakeSubject>();
        return std::make_unique<NetworkSubject>(m_site);
    }
    // A video id no other case has used: the site lives as long as the test.
    QString nextId() { return QStringLiteral("contract%1").arg(++m_ids); }

    static void addKindColumn() { QTest::addColumn<Kind>("kind"); }
    static void addKindRows()
    {
        addKindColumn();
        QTest::newRow("fake") << Kind::Fake;
        QTest::newRow("network") << Kind::Network;
    }

    DemoSite m_site;
    int m_ids = 0;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_site.listen() != 0); }

    void drainsTheBody_data()
    {
        addKindColumn();
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<int>("chunks");
        for (const auto &[kind, name] :
             {std::pair{Kind::Fake, "fake"}, std::pair{Kind::Network, "network"}}) {
            QTest::addRow("%s, empty", name) << kind << 0 << 1024 << 0;
            QTest::addRow("%s, one byte", name) << kind << 1 << 1024 << 1;
            QTest::addRow("%s, one chunk and a byte", name) << kind << 1025 << 1024 << 2;
            QTest::addRow("%s, three chunks", name) << kind << 3000 << 1024 << 3;
        }
    }
    void drainsTheBody()
    {
        QFETCH(Kind, kind);
        QFETCH(int, size);
        QFETCH(int, chunkSize);
        QFETCH(int, chunks);
        QByteArray body(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            body[i] = char(i * 7);
        const auto s = subject(kind);
        TransferComponent &transfer = s->transfer();
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(s->serve(nextId(), body));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        QCOMPARE(s->finish(), int(State::ResponseCompleted));
        QCOMPARE(spy.last().first().toInt(), int(State::ResponseCompleted));
        QCOMPARE(statesOf(spy).count(int(State::ResponseCompleted)), 1);
        QCOMPARE(transfer.GetHeader(QStringLiteral("content-LENGTH")), QString::number(size));

        QByteArray received;
        int count = 0;
        for (QByteArray chunk = transfer.GetChunk(chunkSize); !chunk.isEmpty();
             chunk = transfer.GetChunk(chunkSize), ++count)
            received += chunk;
        QCOMPARE(count, chunks);
        QCOMPARE(received, body);
    }

    void refusesASecondGetUntilTheFirstEnds_data() { addKindRows(); }
    void refusesASecondGetUntilTheFirstEnds()
    {
        QFETCH(Kind, kind);
        const auto s = subject(kind);
        TransferComponent &transfer = s->transfer();
        const QString first = s->serveFailing(nextId());
        const QString second = s->serve(nextId(), QByteArray("second"));
        transfer.setURL(first);
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        transfer.setURL(second);
        QVERIFY(!transfer.Execute(QStringLiteral("Get")));
        QCOMPARE(s->finish(), int(State::Error));
        QVERIFY(transfer.GetChunk(1024).isEmpty());
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        QCOMPARE(s->finish(), int(State::ResponseCompleted));
        QCOMPARE(drain(transfer, 1024), QByteArray("second"));
        QCOMPARE(s->requested(), (QStringList{first, second}));
    }

    void quitEndsARunningGet_data() { addKindRows(); }
    void quitEndsARunningGet()
    {
        QFETCH(Kind, kind);
        const auto s = subject(kind);
        TransferComponent &transfer = s->transfer();
        transfer.setURL(s->serve(nextId(), QByteArray(3000, 'q')));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        QVERIFY(transfer.Execute(QStringLiteral("QUIT")));
        QVERIFY(transfer.GetChunk(1024).isEmpty());

        // A new Get runs, and nothing of the stopped one is reported.
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(s->serve(nextId(), QByteArray("after")));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        QCOMPARE(s->finish(), int(State::ResponseCompleted));
        QVERIFY(!statesOf(spy).contains(int(State::Error)));
        QCOMPARE(drain(transfer, 1024), QByteArray("after"));
    }
};

QTEST_GUILESS_MAIN(TransferContractTest)
#include "tst_transfercontract.moc"

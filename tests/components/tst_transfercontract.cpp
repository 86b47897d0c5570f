#include "components/network/NetworkTransfer.h"

#include "DemoSite.h"
#include "support/FakeTransfer.h"
#include "support/TransferSteps.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace clipnab;

namespace {

enum class Kind
{
    Fake,
    Network
};

// One transfer of either kind, with what a case needs around it: addresses to fetch, and a way
// to let the running get end.
class Subject
{
public:
    virtual ~Subject() = default;
    virtual TransferComponent &transfer() = 0;
    // The address of `body`.
    virtual QString serve(const QString &id, const QByteArray &body) = 0;
    // An address whose get fails.
    virtual QString serveFailing(const QString &id) = 0;
    // Lets the running get end and tells how it ended.
    virtual GetEnd finish() = 0;
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
    GetEnd finish() override
    {
        // The address of the running get.
        const QString running = m_transfer.requestedUrls.last();
        if (m_failing.contains(running)) {
            m_transfer.fail();
            return GetEnd::Failed;
        }
        m_transfer.setBody(m_bodies.value(running));
        m_transfer.complete();
        return GetEnd::Finished;
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
        : m_site(site), m_spy(m_transfer), m_logged(site.requestLog().size())
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
    GetEnd finish() override
    {
        const GetEnd ended = m_spy.waitForEnd();
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
    TransferSpy m_spy;
    qsizetype m_logged;
};

} // namespace

Q_DECLARE_METATYPE(Kind)

// The fake stands in for the network transfer in the window's and the flow's tests, so both
// keep one contract, checked here against each: one get at a time, finished() once at the end
// with the body in the part file, headers found without regard to case, abort() ends a get, and
// the part file is only ever written, never deleted.
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
    // An empty part file of its own for each get.
    QString newPart()
    {
        const QString path = m_dir.filePath(QStringLiteral("%1.flv.part").arg(++m_parts));
        return makeEmptyFile(path) ? path : QString();
    }

    static void addKindColumn() { QTest::addColumn<Kind>("kind"); }
    static void addKindRows()
    {
        addKindColumn();
        QTest::newRow("fake") << Kind::Fake;
        QTest::newRow("network") << Kind::Network;
    }

    QTemporaryDir m_dir;
    DemoSite m_site;
    int m_ids = 0;
    int m_parts = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_site.listen() != 0);
    }

    void writesTheBodyIntoThePartFile_data()
    {
        addKindColumn();
        QTest::addColumn<int>("size");
        for (const auto &[kind, name] :
             {std::pair{Kind::Fake, "fake"}, std::pair{Kind::Network, "network"}}) {
            QTest::addRow("%s, empty", name) << kind << 0;
            QTest::addRow("%s, one byte", name) << kind << 1;
            QTest::addRow("%s, 1025 bytes", name) << kind << 1025;
            QTest::addRow("%s, 3000 bytes", name) << kind << 3000;
        }
    }
    void writesTheBodyIntoThePartFile()
    {
        QFETCH(Kind, kind);
        QFETCH(int, size);
        QByteArray body(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            body[i] = char(i * 7);
        const auto s = subject(kind);
        TransferComponent &transfer = s->transfer();
        TransferSpy spy(transfer);
        const QString part = newPart();
        QVERIFY(!transfer.start({.url = s->serve(nextId(), body), .partPath = part}));
        QCOMPARE(transfer.destination(), part);
        QCOMPARE(s->finish(), GetEnd::Finished);
        QCOMPARE(spy.finished.count(), 1);
        QVERIFY(spy.failed.isEmpty());
        QCOMPARE(transfer.GetHeader(QStringLiteral("content-LENGTH")), QString::number(size));
        QCOMPARE(contentsOf(part), body);
        // Progress, when there is any, ends at the whole body.
        if (!spy.progress.isEmpty())
            QCOMPARE(spy.progress.last(), (QList<QVariant>{qint64(size), qint64(size)}));
    }

    void refusesASecondGetUntilTheFirstEnds_data() { addKindRows(); }
    void refusesASecondGetUntilTheFirstEnds()
    {
        QFETCH(Kind, kind);
        const auto s = subject(kind);
        TransferComponent &transfer = s->transfer();
        const QString first = s->serveFailing(nextId());
        const QString second = s->serve(nextId(), QByteArray("second"));
        const QString firstPart = newPart();
        const QString secondPart = newPart();
        QVERIFY(!transfer.start({.url = first, .partPath = firstPart}));
        QVERIFY(transfer.start({.url = second, .partPath = secondPart}).has_value());
        QCOMPARE(s->finish(), GetEnd::Failed);
        // The failed get's part file is its owner's to delete.
        QVERIFY(QFileInfo::exists(firstPart));
        QVERIFY(!transfer.start({.url = second, .partPath = secondPart}));
        QCOMPARE(s->finish(), GetEnd::Finished);
        QCOMPARE(contentsOf(secondPart), QByteArray("second"));
        QCOMPARE(s->requested(), (QStringList{first, second}));
    }

    void abortEndsARunningGet_data() { addKindRows(); }
    void abortEndsARunningGet()
    {
        QFETCH(Kind, kind);
        const auto s = subject(kind);
        TransferComponent &transfer = s->transfer();
        const QString stopped = newPart();
        QVERIFY(!transfer.start(
            {.url = s->serve(nextId(), QByteArray(3000, 'q')), .partPath = stopped}));
        transfer.abort();
        transfer.abort();
        QVERIFY(QFileInfo::exists(stopped));

        // A new get runs, and nothing of the aborted one is reported.
        TransferSpy spy(transfer);
        const QString part = newPart();
        QVERIFY(
            !transfer.start({.url = s->serve(nextId(), QByteArray("after")), .partPath = part}));
        QCOMPARE(s->finish(), GetEnd::Finished);
        QCOMPARE(spy.finished.count(), 1);
        QVERIFY(spy.failed.isEmpty());
        QCOMPARE(contentsOf(part), QByteArray("after"));
    }
};

QTEST_GUILESS_MAIN(TransferContractTest)
#include "tst_transfercontract.moc"

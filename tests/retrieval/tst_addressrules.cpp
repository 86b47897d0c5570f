#include "retrieval/AddressCheck.h"
#include "retrieval/SaveFile.h"
#include "retrieval/VideoAddress.h"

#include <QDateTime>
#include <QTest>

using namespace clipnab;

class AddressRulesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void liveVerdict_data();
    void liveVerdict();
    void validation_data();
    void validation();
    void videoId_data();
    void videoId();
    void tValue_data();
    void tValue();
    void fileName_data();
    void fileName();
    void contentLength_data();
    void contentLength();
};

void AddressRulesTest::liveVerdict_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("available");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("seven characters") << QStringLiteral("watch?v") << false;
    QTest::newRow("marker alone") << QStringLiteral("watch?v=") << false;
    QTest::newRow("ends with marker") << QStringLiteral("http://h/watch?v=") << false;
    QTest::newRow("one character after") << QStringLiteral("http://h/watch?v=a") << true;
    QTest::newRow("case differs") << QStringLiteral("http://h/Watch?V=abc") << false;
    QTest::newRow("marker at start") << QStringLiteral("watch?v=x") << true;
    QTest::newRow("full address") << QStringLiteral("http://site/watch?v=5qWsH5lO-ME") << true;
}

void AddressRulesTest::liveVerdict()
{
    QFETCH(QString, text);
    QFETCH(bool, available);
    QCOMPARE(AddressCheck::isAvailable(text), available);
}

void AddressRulesTest::validation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("notAvailable");
    QTest::addColumn<QString>("message");
    const QString ok;
    QTest::newRow("empty, verdict black")
        << QString() << false << "Please enter the URL of youtube video";
    QTest::newRow("empty, verdict red")
        << QString() << true << "Please enter the URL of youtube video";
    QTest::newRow("mixed-case scheme") << "hTtP://h/watch?v=abc" << false << ok;
    QTest::newRow("blank before scheme")
        << " http://h/watch?v=abc" << false << "URL must be based on HTTP Socket";
    QTest::newRow("short non-http") << "ftp" << false << "URL must be based on HTTP Socket";
    QTest::newRow("verdict red") << "http://h/watch?v=" << true << "URL is not available";
    QTest::newRow("no marker, verdict black")
        << "http://h/index" << false << "Can not find this video file";
    QTest::newRow("marker at the very end")
        << "http://h/watch?v=" << false << "Can not find this video file";
    QTest::newRow("example address") << "http://www.youtube.com/watch?v=5qWsH5lO-ME" << false << ok;
}

void AddressRulesTest::validation()
{
    QFETCH(QString, text);
    QFETCH(bool, notAvailable);
    QFETCH(QString, message);
    const auto result = AddressCheck::validate(text, notAvailable);
    QCOMPARE(result.value_or(QString()), message);
}

void AddressRulesTest::videoId_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("id");
    QTest::newRow("ends with id") << "http://h/watch?v=abc"
                                  << "abc";
    QTest::newRow("ampersand ends id") << "http://h/watch?v=abc&feature=x"
                                       << "abc";
    QTest::newRow("equals ends id") << "http://h/watch?v=abc=d"
                                    << "abc";
    QTest::newRow("empty id") << "http://h/watch?v=&x=1"
                              << "";
    QTest::newRow("first marker wins") << "http://h/watch?v=one&watch?v=two"
                                       << "one";
}

void AddressRulesTest::videoId()
{
    QFETCH(QString, text);
    QFETCH(QString, id);
    QCOMPARE(AddressCheck::cutVideoId(text), id);
}

void AddressRulesTest::tValue_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");
    QTest::newRow("followed by more") << "http://h/p?video_id=x&t=abc&fmt=1" << true << "abc";
    QTest::newRow("at the end") << "http://h/p?video_id=x&t=abc" << true << "abc";
    QTest::newRow("nothing after") << "http://h/p?video_id=x&t=" << false << "";
    QTest::newRow("absent") << "http://h/p?video_id=x" << false << "";
    QTest::newRow("t first parameter") << "http://h/p?t=abc" << false << "";
    QTest::newRow("stops at equals") << "http://h/p?a=1&t=ab=c" << true << "ab";
    QTest::newRow("empty before ampersand") << "http://h/p?a=1&t=&b=2" << true << "";
}

void AddressRulesTest::tValue()
{
    QFETCH(QString, url);
    QFETCH(bool, found);
    QFETCH(QString, value);
    const auto t = VideoAddress::tValue(url);
    QCOMPARE(t.has_value(), found);
    if (found)
        QCOMPARE(*t, value);
}

void AddressRulesTest::fileName_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("name");
    QTest::newRow("no leading zeros")
        << QDateTime(QDate(2026, 12, 7), QTime(1, 5, 9)) << "12_7_1_5_9.flv";
    QTest::newRow("midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)) << "1_1_0_0_0.flv";
    QTest::newRow("end of year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
                                 << "12_31_23_59_59.flv";
}

void AddressRulesTest::fileName()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, name);
    QCOMPARE(SaveFile::videoFileName(when), name);
}

void AddressRulesTest::contentLength_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("announced");
    QTest::newRow("plain") << "3000" << 3000.0 << true;
    QTest::newRow("trailing text") << "12abc" << 12.0 << true;
    QTest::newRow("absent") << "" << 0.0 << false;
    QTest::newRow("no digits") << "abc" << 0.0 << false;
    QTest::newRow("leading blank") << " 42" << 42.0 << true;
    QTest::newRow("beyond 32 bits") << "1073741824000" << 1073741824000.0 << true;
}

void AddressRulesTest::contentLength()
{
    QFETCH(QString, header);
    QFETCH(double, value);
    QFETCH(bool, announced);
    QCOMPARE(SaveFile::leadingNumber(header), value);
    QCOMPARE(SaveFile::announcesLength(header), announced);
}

QTEST_GUILESS_MAIN(AddressRulesTest)
#include "tst_addressrules.moc"

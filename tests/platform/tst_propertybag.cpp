#include "platform/PropertyBag.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QTest>

using namespace clipnab;

namespace {

QImage samplePicture()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 255));
    image.setPixel(1, 1, qRgba(200, 100, 50, 128));
    return image;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The PNG of the sample picture with `chunk` put in before its closing IEND chunk.
QByteArray pngWithChunkBeforeEnd(const QByteArray &chunk)
{
    QByteArray png = pngOf(samplePicture());
    png.insert(png.size() - 12, chunk);
    return png;
}

QFont sampleFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);
    return font;
}

} // namespace

class PropertyBagTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysIgnoreLetterCase_data();
    void keysIgnoreLetterCase();
    void valueEqualToDefaultIsNotStored();
    void missingKeyYieldsDefault();
    void jsonRoundTripKeepsEveryType();
    void conversionErrorsThrow_data();
    void conversionErrorsThrow();
    void numbersBeyond64Bits_data();
    void numbersBeyond64Bits();
    void picturesClaimingMoreThanTheyHold_data();
    void picturesClaimingMoreThanTheyHold();
};

void PropertyBagTest::keysIgnoreLetterCase_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    QTest::newRow("as written") << QStringLiteral("BackColor") << QStringLiteral("BackColor");
    QTest::newRow("lower") << QStringLiteral("BackColor") << QStringLiteral("backcolor");
    QTest::newRow("odd mix") << QStringLiteral("USeCustomColors")
                             << QStringLiteral("useCUSTOMcolors");
}

void PropertyBagTest::keysIgnoreLetterCase()
{
    QFETCH(QString, written);
    QFETCH(QString, read);
    PropertyBag bag;
    bag.writeInt(written, 7, 0);
    QVERIFY(bag.contains(read));
    QCOMPARE(bag.readInt(read, 0), 7);
    QCOMPARE(bag.keys(), QStringList{written.toLower()});

    bag.writeInt(read.toUpper(), 9, 0);
    QCOMPARE(bag.size(), 1);
    QCOMPARE(bag.readInt(written, 0), 9);
}

void PropertyBagTest::valueEqualToDefaultIsNotStored()
{
    PropertyBag bag;
    bag.writeInt(QStringLiteral("a"), 5, 5);
    bag.writeBool(QStringLiteral("b"), true, true);
    bag.writeText(QStringLiteral("c"), QStringLiteral("x"), QStringLiteral("x"));
    bag.writeColor(QStringLiteral("d"), 0x8000000F, 0x8000000F);
    QVERIFY(bag.isEmpty());

    // Writing the default over a stored value removes the entry.
    bag.writeInt(QStringLiteral("a"), 6, 5);
    QVERIFY(bag.contains(QStringLiteral("a")));
    bag.writeInt(QStringLiteral("A"), 5, 5);
    QVERIFY(bag.isEmpty());
}

void PropertyBagTest::missingKeyYieldsDefault()
{
    const PropertyBag bag;
    QCOMPARE(bag.readInt(QStringLiteral("n"), -4), -4);
    QCOMPARE(bag.readBool(QStringLiteral("n"), true), true);
    QCOMPARE(bag.readText(QStringLiteral("n"), QStringLiteral("t")), QStringLiteral("t"));
    QCOMPARE(bag.readColor(QStringLiteral("n"), 0x80000012u), 0x80000012u);
    QCOMPARE(bag.readFont(QStringLiteral("n"), sampleFont()), sampleFont());
    QCOMPARE(bag.readPicture(QStringLiteral("n"), samplePicture()), samplePicture());
}

void PropertyBagTest::jsonRoundTripKeepsEveryType()
{
    PropertyBag bag;
    bag.writeInt(QStringLiteral("Style"), -5, 0);
    bag.writeInt(QStringLiteral("Big"), 2147483647, 0);
    bag.writeBool(QStringLiteral("Enabled"), false, true);
    bag.writeText(QStringLiteral("Caption"), QStringLiteral("Tools & more \u00e9"), QString());
    bag.writeColor(QStringLiteral("BackColor"), 0x8000000Fu, 0);
    bag.writeColor(QStringLiteral("ForeColor"), 0x00FFFFFFu, 0);
    bag.writeFont(QStringLiteral("Font"), sampleFont());
    bag.writePicture(QStringLiteral("Picture"), samplePicture());

    const PropertyBag loaded = PropertyBag::fromJson(bag.toJson());
    QCOMPARE(loaded.size(), bag.size());
    QCOMPARE(loaded.readInt(QStringLiteral("style"), 0), -5);
    QCOMPARE(loaded.readInt(QStringLiteral("big"), 0), 2147483647);
    QCOMPARE(loaded.readBool(QStringLiteral("enabled"), true), false);
    QCOMPARE(loaded.readText(QStringLiteral("caption"), QString()),
             QStringLiteral("Tools & more \u00e9"));
    QCOMPARE(loaded.readColor(QStringLiteral("backcolor"), 0), 0x8000000Fu);
    QCOMPARE(loaded.readColor(QStringLiteral("forecolor"), 0), 0x00FFFFFFu);

    const QFont font = loaded.readFont(QStringLiteral("font"), QFont());
    QCOMPARE(font.family(), sampleFont().family());
    QCOMPARE(font.pointSizeF(), 9.75);
    QCOMPARE(font.weight(), QFont::Bold);
    QVERIFY(font.italic());
    QVERIFY(font.underline());

    const QImage picture = loaded.readPicture(QStringLiteral("picture"), QImage());
    QCOMPARE(picture.size(), samplePicture().size());
    QCOMPARE(picture.pixel(0, 0), samplePicture().pixel(0, 0));
    QCOMPARE(picture.pixel(1, 1), samplePicture().pixel(1, 1));
}

void PropertyBagTest::conversionErrorsThrow_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("readAs");

    QTest::newRow("text as integer") << QVariant(QStringLiteral("wide")) << "int";
    QTest::newRow("integer beyond 32 bits") << QVariant::fromValue<qint64>(1LL << 40) << "int";
    QTest::newRow("integer beyond 16 bits") << QVariant(32768) << "int16";
    QTest::newRow("integer below 16 bits") << QVariant(-32769) << "int16";
    QTest::newRow("Boolean as colour") << QVariant(true) << "color";
    QTest::newRow("colour beyond 32 bits") << QVariant::fromValue<qint64>(1LL << 33) << "color";
    QTest::newRow("text as Boolean") << QVariant(QStringLiteral("maybe")) << "bool";
    QTest::newRow("integer as font") << QVariant(3) << "font";
    QTest::newRow("text as picture") << QVariant(QStringLiteral("x.png")) << "picture";
    QTest::newRow("font as text") << QVariant(sampleFont()) << "text";
}

void PropertyBagTest::conversionErrorsThrow()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, readAs);
    PropertyBag bag;
    bag.setRawValue(QStringLiteral("Key"), stored);
    const QString key = QStringLiteral("key");
    if (readAs == QLatin1String("int"))
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readInt(key, 0));
    else if (readAs == QLatin1String("int16"))
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readInt16(key, 0));
    else if (readAs == QLatin1String("color"))
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readColor(key, 0));
    else if (readAs == QLatin1String("bool"))
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readBool(key, false));
    else if (readAs == QLatin1String("font"))
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readFont(key, QFont()));
    else if (readAs == QLatin1String("picture"))
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readPicture(key, QImage()));
    else
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readText(key, QString()));
}

void PropertyBagTest::numbersBeyond64Bits_data()
{
    QTest::addColumn<double>("number");
    QTest::newRow("1e300") << 1e300;
    QTest::newRow("-1e300") << -1e300;
    QTest::newRow("2 to the 63") << 9223372036854775808.0;
    QTest::newRow("-2 to the 63") << -9223372036854775808.0;
    QTest::newRow("1.22222e49") << 1.22222e49;
}

void PropertyBagTest::numbersBeyond64Bits()
{
    QFETCH(double, number);
    const PropertyBag bag = PropertyBag::fromJson(QJsonObject{{QStringLiteral("n"), number}});
    QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readInt(QStringLiteral("n"), 0));
    QVERIFY_THROWS_EXCEPTION(PropertyBagError, bag.readColor(QStringLiteral("n"), 0));
    QVERIFY(bag.readBool(QStringLiteral("n"), false));
    QCOMPARE(bag.toJson().value(QStringLiteral("n")).toDouble(), number);
}

void PropertyBagTest::picturesClaimingMoreThanTheyHold_data()
{
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<bool>("loads");
    // A text chunk that claims 2 GB, from a layout the fuzzer made.
    QTest::newRow("chunk claims 2 GB")
        << pngWithChunkBeforeEnd(QByteArray::fromHex("78ffff25") +
                                 QByteArrayLiteral("tEXtdate:modify"))
        << false;
    QTest::newRow("whole text chunk")
        << pngWithChunkBeforeEnd(QByteArray::fromHex("00000003") + QByteArrayLiteral("tEXta\0b") +
                                 QByteArray::fromHex("dc49a23b"))
        << true;
}

void PropertyBagTest::picturesClaimingMoreThanTheyHold()
{
    QFETCH(QByteArray, png);
    QFETCH(bool, loads);
    const QJsonObject picture{{QStringLiteral("png"), QString::fromLatin1(png.toBase64())}};
    const PropertyBag bag = PropertyBag::fromJson(QJsonObject{{QStringLiteral("icon"), picture}});
    const QImage loaded = bag.readPicture(QStringLiteral("icon"), QImage());
    QCOMPARE(loaded.isNull(), !loads);
}

QTEST_MAIN(PropertyBagTest)
#include "tst_propertybag.moc"

#include "platform/PropertyBag.h"
#include "platform/PropertyValue.h"

#include <QTest>

using namespace clipnab;

Q_DECLARE_METATYPE(clipnab::PropertyValue)
Q_DECLARE_METATYPE(clipnab::BagFormat)

class PropertyValueTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveDefaults_data()
    {
        QTest::addColumn<BagFormat>("format");
        QTest::addColumn<PropertyValue>("value");
        QTest::addColumn<PropertyValue>("other");
        QImage picture(2, 2, QImage::Format_ARGB32);
        picture.fill(Qt::green);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(9.75);
        QTest::newRow("32-bit integer") << BagFormat::Int32 << PropertyValue(std::int32_t{-7})
                                        << PropertyValue(std::int32_t{0});
        QTest::newRow("16-bit integer") << BagFormat::Int16 << PropertyValue(std::int32_t{24})
                                        << PropertyValue(std::int32_t{16});
        QTest::newRow("Boolean") << BagFormat::Bool << PropertyValue(false) << PropertyValue(true);
        QTest::newRow("text") << BagFormat::Text << PropertyValue(QStringLiteral("Go"))
                              << PropertyValue(QString());
        QTest::newRow("color") << BagFormat::Color << PropertyValue(OleColor{0x8000000Fu})
                               << PropertyValue(OleColor{0x00123456u});
        QTest::newRow("picture") << BagFormat::Picture << PropertyValue(picture)
                                 << PropertyValue(QImage());
        QTest::newRow("font") << BagFormat::Font << PropertyValue(font) << PropertyValue(QFont());
    }
    // A value equal to its save default is left out, any other is stored and reads back, and
    // without a save default the value is always stored; a missing key reads as the default.
    void saveDefaults()
    {
        QFETCH(BagFormat, format);
        QFETCH(PropertyValue, value);
        QFETCH(PropertyValue, other);
        const QString key = QStringLiteral("Key");

        PropertyBag bag;
        writeBagValue(bag, key, format, value, value);
        QVERIFY(!bag.contains(key));
        QVERIFY(readBagValue(bag, key, format, other) == other);

        writeBagValue(bag, key, format, value, other);
        QVERIFY(bag.contains(key));
        QVERIFY(readBagValue(bag, QStringLiteral("KEY"), format, other) == value);

        writeBagValue(bag, key, format, value, value);
        QVERIFY(!bag.contains(key));

        PropertyBag always;
        writeBagValue(always, key, format, value, std::nullopt);
        QVERIFY(always.contains(key));
        QVERIFY(readBagValue(always, key, format, other) == value);
    }

    void sixteenBitReadRejectsWideValues()
    {
        PropertyBag bag;
        writeBagValue(bag, QStringLiteral("IconSize"), BagFormat::Int16,
                      PropertyValue(std::int32_t{70000}), std::nullopt);
        QVERIFY_THROWS_EXCEPTION(PropertyBagError,
                                 readBagValue(bag, QStringLiteral("IconSize"), BagFormat::Int16,
                                              PropertyValue(std::int32_t{16})));
        QVERIFY(readBagValue(bag, QStringLiteral("IconSize"), BagFormat::Int32,
                             PropertyValue(std::int32_t{16})) ==
                PropertyValue(std::int32_t{70000}));
    }
};

QTEST_MAIN(PropertyValueTest)
#include "tst_propertyvalue.moc"

#include "platform/PropertyBag.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QtEndian>

#include <cmath>
#include <limits>
#include <optional>

namespace clipnab {

namespace {

QString normalised(const QString &key)
{
    return key.toLower();
}

[[noreturn]] void conversionError(const QString &key, const char *type)
{
    throw PropertyBagError("property bag: value of \"" + key.toStdString() +
                           "\" is not convertible to " + type);
}

// Whole numbers beyond this range (1e300 typed into a layout) stay doubles: converting them to
// an integer is undefined.
bool fitsInt64(double d)
{
    return d > -0x1p63 && d < 0x1p63;
}

std::optional<qint64> integerOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double && !fitsInt64(value.toDouble()))
        return std::nullopt;
    bool ok = false;
    const qint64 v = value.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

// libpng allocates the length a chunk claims before reading it, so a few hundred bytes could
// ask for gigabytes. Data whose chunks claim more than it holds is not decoded.
bool chunksFit(const QByteArray &png)
{
    constexpr qsizetype kSignatureSize = 8;
    constexpr qsizetype kChunkHeader = 8; // length and type
    constexpr qsizetype kChunkFrame = 12; // length, type and CRC
    qsizetype at = kSignatureSize;
    while (at + kChunkHeader <= png.size()) {
        const qint64 length = qFromBigEndian<quint32>(png.constData() + at);
        if (length > png.size() - at - kChunkFrame)
            return false;
        if (png.mid(at + 4, 4) == "IEND")
            return true;
        at += kChunkFrame + length;
    }
    return true;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QJsonObject fontToJson(const QFont &f)
{
    return QJsonObject{{QStringLiteral("family"), f.family()},
                       {QStringLiteral("size"), f.pointSizeF()},
                       {QStringLiteral("weight"), f.weight()},
                       {QStringLiteral("italic"), f.italic()},
                       {QStringLiteral("underline"), f.underline()}};
}

QFont fontFromJson(const QJsonObject &o)
{
    QFont f(o.value(QStringLiteral("family")).toString());
    f.setPointSizeF(o.value(QStringLiteral("size")).toDouble(8.25));
    f.setWeight(static_cast<QFont::Weight>(o.value(QStringLiteral("weight")).toInt(400)));
    f.setItalic(o.value(QStringLiteral("italic")).toBool());
    f.setUnderline(o.value(QStringLiteral("underline")).toBool());
    return f;
}

} // namespace

void PropertyBag::store(const QString &key, const QVariant &value)
{
    const QString k = normalised(key);
    if (!m_values.contains(k))
        m_order.append(k);
    m_values.insert(k, value);
}

void PropertyBag::remove(const QString &key)
{
    const QString k = normalised(key);
    m_values.remove(k);
    m_order.removeAll(k);
}

bool PropertyBag::contains(const QString &key) const
{
    return m_values.contains(normalised(key));
}

QVariant PropertyBag::rawValue(const QString &key) const
{
    return m_values.value(normalised(key));
}

void PropertyBag::setRawValue(const QString &key, const QVariant &value)
{
    store(key, value);
}

void PropertyBag::writeInt(const QString &key, std::int32_t value, std::int32_t defaultValue)
{
    if (value == defaultValue)
        remove(key);
    else
        store(key, QVariant::fromValue<qint32>(value));
}

void PropertyBag::writeBool(const QString &key, bool value, bool defaultValue)
{
    if (value == defaultValue)
        remove(key);
    else
        store(key, QVariant(value));
}

void PropertyBag::writeText(const QString &key, const QString &value, const QString &defaultValue)
{
    if (value == defaultValue)
        remove(key);
    else
        store(key, QVariant(value));
}

void PropertyBag::writeColor(const QString &key, std::uint32_t value, std::uint32_t defaultValue)
{
    if (value == defaultValue)
        remove(key);
    else
        store(key, QVariant::fromValue<qint64>(value));
}

void PropertyBag::writeIntAlways(const QString &key, std::int32_t value)
{
    store(key, QVariant::fromValue<qint32>(value));
}

void PropertyBag::writeTextAlways(const QString &key, const QString &value)
{
    store(key, QVariant(value));
}

void PropertyBag::writeFont(const QString &key, const QFont &value)
{
    store(key, QVariant(value));
}

void PropertyBag::writePicture(const QString &key, const QImage &value)
{
    store(key, QVariant(value));
}

std::int16_t PropertyBag::readInt16(const QString &key, std::int16_t defaultValue) const
{
    const std::int32_t v = readInt(key, defaultValue);
    if (v < std::numeric_limits<std::int16_t>::min() ||
        v > std::numeric_limits<std::int16_t>::max())
        conversionError(key, "a 16-bit integer");
    return static_cast<std::int16_t>(v);
}

std::int32_t PropertyBag::readInt(const QString &key, std::int32_t defaultValue) const
{
    const auto it = m_values.constFind(normalised(key));
    if (it == m_values.constEnd())
        return defaultValue;
    // A Boolean read as a number is -1 for true (all bits set) and 0 for false, as the saved
    // layouts' format converts it.
    if (it->typeId() == QMetaType::Bool)
        return it->toBool() ? -1 : 0;
    const std::optional<qint64> v = integerOf(*it);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() ||
        *v > std::numeric_limits<std::int32_t>::max())
        conversionError(key, "a 32-bit integer");
    return static_cast<std::int32_t>(*v);
}

std::uint32_t PropertyBag::readColor(const QString &key, std::uint32_t defaultValue) const
{
    const auto it = m_values.constFind(normalised(key));
    if (it == m_values.constEnd())
        return defaultValue;
    // A colour is a 32-bit pattern that a layout may hold as a signed number: a system colour
    // such as 0x8000000F reads as -2147483633. Negative values keep their bits.
    const std::optional<qint64> v = integerOf(*it);
    if (!v || it->typeId() == QMetaType::Bool || *v < std::numeric_limits<std::int32_t>::min() ||
        *v > std::numeric_limits<std::uint32_t>::max())
        conversionError(key, "a colour");
    return static_cast<std::uint32_t>(*v);
}

bool PropertyBag::readBool(const QString &key, bool defaultValue) const
{
    const auto it = m_values.constFind(normalised(key));
    if (it == m_values.constEnd())
        return defaultValue;
    if (it->typeId() == QMetaType::Bool)
        return it->toBool();
    if (it->typeId() == QMetaType::Double && !fitsInt64(it->toDouble()))
        return true;
    if (const std::optional<qint64> v = integerOf(*it))
        return *v != 0;
    const QString s = it->toString().trimmed().toLower();
    if (s == QLatin1String("true"))
        return true;
    if (s == QLatin1String("false"))
        return false;
    conversionError(key, "a Boolean");
}

QString PropertyBag::readText(const QString &key, const QString &defaultValue) const
{
    const auto it = m_values.constFind(normalised(key));
    if (it == m_values.constEnd())
        return defaultValue;
    if (it->typeId() == QMetaType::QString)
        return it->toString();
    if (it->typeId() == QMetaType::Bool)
        return it->toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (it->canConvert<QString>() && it->typeId() != QMetaType::QFont &&
        it->typeId() != QMetaType::QImage)
        return it->toString();
    conversionError(key, "text");
}

QFont PropertyBag::readFont(const QString &key, const QFont &defaultValue) const
{
    const auto it = m_values.constFind(normalised(key));
    if (it == m_values.constEnd())
        return defaultValue;
    if (it->typeId() != QMetaType::QFont)
        conversionError(key, "a font");
    return it->value<QFont>();
}

QImage PropertyBag::readPicture(const QString &key, const QImage &defaultValue) const
{
    const auto it = m_values.constFind(normalised(key));
    if (it == m_values.constEnd())
        return defaultValue;
    if (it->typeId() != QMetaType::QImage)
        conversionError(key, "a picture");
    return it->value<QImage>();
}

QJsonObject PropertyBag::toJson() const
{
    QJsonObject o;
    for (const QString &k : m_order) {
        const QVariant &v = m_values[k];
        switch (v.typeId()) {
        case QMetaType::QFont:
            o.insert(k, QJsonObject{{QStringLiteral("font"), fontToJson(v.value<QFont>())}});
            break;
        case QMetaType::QImage:
            o.insert(k, QJsonObject{{QStringLiteral("png"),
                                     QString::fromLatin1(pngOf(v.value<QImage>()).toBase64())}});
            break;
        case QMetaType::Bool:
            o.insert(k, v.toBool());
            break;
        case QMetaType::QString:
            o.insert(k, v.toString());
            break;
        case QMetaType::Double:
            o.insert(k, v.toDouble());
            break;
        default:
            o.insert(k, static_cast<double>(v.toLongLong()));
            break;
        }
    }
    return o;
}

PropertyBag PropertyBag::fromJson(const QJsonObject &object)
{
    PropertyBag bag;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QJsonValue v = it.value();
        if (v.isBool()) {
            bag.store(it.key(), v.toBool());
        } else if (v.isString()) {
            bag.store(it.key(), v.toString());
        } else if (v.isDouble()) {
            const double d = v.toDouble();
            if (d == std::floor(d) && fitsInt64(d))
                bag.store(it.key(), QVariant::fromValue<qint64>(static_cast<qint64>(d)));
            else
                bag.store(it.key(), d);
        } else if (v.isObject()) {
            const QJsonObject inner = v.toObject();
            if (inner.contains(QStringLiteral("font"))) {
                bag.store(it.key(), fontFromJson(inner.value(QStringLiteral("font")).toObject()));
            } else if (inner.contains(QStringLiteral("png"))) {
                const QByteArray png = QByteArray::fromBase64(
                    inner.value(QStringLiteral("png")).toString().toLatin1());
                QImage image;
                if (chunksFit(png))
                    image.loadFromData(png, "PNG");
                bag.store(it.key(), image);
            }
        }
    }
    return bag;
}

} // namespace clipnab

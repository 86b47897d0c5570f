#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <stdexcept>

class QFont;
class QImage;
class QJsonObject;

namespace clipnab {

// Raised when a stored value cannot be converted to the type a control reads it as.
class PropertyBagError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The host's store of one instance's saved properties. Keys are matched without regard to
// letter case and kept in lower case. Every write carries a default: a value equal to it is
// not stored. Every read carries a default: a missing key yields it.
class PropertyBag
{
public:
    void writeInt(const QString &key, std::int32_t value, std::int32_t defaultValue);
    void writeBool(const QString &key, bool value, bool defaultValue);
    void writeText(const QString &key, const QString &value, const QString &defaultValue);
    void writeColor(const QString &key, std::uint32_t value, std::uint32_t defaultValue);
    // Values without a save default are always stored.
    void writeIntAlways(const QString &key, std::int32_t value);
    void writeTextAlways(const QString &key, const QString &value);
    void writeFont(const QString &key, const QFont &value);
    void writePicture(const QString &key, const QImage &value);

    std::int32_t readInt(const QString &key, std::int32_t defaultValue) const;
    std::int16_t readInt16(const QString &key, std::int16_t defaultValue) const;
    bool readBool(const QString &key, bool defaultValue) const;
    QString readText(const QString &key, const QString &defaultValue) const;
    std::uint32_t readColor(const QString &key, std::uint32_t defaultValue) const;
    QFont readFont(const QString &key, const QFont &defaultValue) const;
    QImage readPicture(const QString &key, const QImage &defaultValue) const;

    bool contains(const QString &key) const;
    bool isEmpty() const { return m_values.isEmpty(); }
    int size() const { return static_cast<int>(m_values.size()); }
    // Keys in the order they were first written (lower case).
    QStringList keys() const { return m_order; }
    void remove(const QString &key);
    QVariant rawValue(const QString &key) const;
    void setRawValue(const QString &key, const QVariant &value);

    // Saved-layout form: ints, Booleans and texts as JSON values; a font as
    // {"font": {...}}, a picture as {"png": base64}.
    QJsonObject toJson() const;
    static PropertyBag fromJson(const QJsonObject &object);

private:
    void store(const QString &key, const QVariant &value);

    QHash<QString, QVariant> m_values;
    QStringList m_order;
};

} // namespace clipnab

#include "platform/PropertyValue.h"

#include "platform/PropertyBag.h"

namespace clipnab {

PropertyValue readBagValue(const PropertyBag &bag, const QString &key, BagFormat format,
                           const PropertyValue &defaultValue)
{
    switch (format) {
    case BagFormat::Int32:
        return bag.readInt(key, std::get<std::int32_t>(defaultValue));
    case BagFormat::Int16:
        return std::int32_t{
            bag.readInt16(key, static_cast<std::int16_t>(std::get<std::int32_t>(defaultValue)))};
    case BagFormat::Bool:
        return bag.readBool(key, std::get<bool>(defaultValue));
    case BagFormat::Text:
        return bag.readText(key, std::get<QString>(defaultValue));
    case BagFormat::Color:
        return OleColor{bag.readColor(key, std::get<OleColor>(defaultValue))};
    case BagFormat::Picture:
        return bag.readPicture(key, std::get<QImage>(defaultValue));
    case BagFormat::Font:
        return bag.readFont(key, std::get<QFont>(defaultValue));
    }
    return defaultValue;
}

void writeBagValue(PropertyBag &bag, const QString &key, BagFormat format,
                   const PropertyValue &value, const std::optional<PropertyValue> &saveDefault)
{
    switch (format) {
    case BagFormat::Int32:
    case BagFormat::Int16: {
        const std::int32_t v = std::get<std::int32_t>(value);
        if (saveDefault)
            bag.writeInt(key, v, std::get<std::int32_t>(*saveDefault));
        else
            bag.writeIntAlways(key, v);
        break;
    }
    case BagFormat::Bool: {
        const bool v = std::get<bool>(value);
        // A default the value never equals stores it always.
        bag.writeBool(key, v, saveDefault ? std::get<bool>(*saveDefault) : !v);
        break;
    }
    case BagFormat::Text: {
        const QString &v = std::get<QString>(value);
        if (saveDefault)
            bag.writeText(key, v, std::get<QString>(*saveDefault));
        else
            bag.writeTextAlways(key, v);
        break;
    }
    case BagFormat::Color: {
        const OleColor v = std::get<OleColor>(value);
        // Without a save default the default is ~v, which differs from v in every bit, so the
        // value is always stored.
        bag.writeColor(key, v, saveDefault ? std::get<OleColor>(*saveDefault) : ~v);
        break;
    }
    case BagFormat::Picture:
        if (saveDefault && std::get<QImage>(*saveDefault) == std::get<QImage>(value))
            bag.remove(key);
        else
            bag.writePicture(key, std::get<QImage>(value));
        break;
    case BagFormat::Font:
        if (saveDefault && std::get<QFont>(*saveDefault) == std::get<QFont>(value))
            bag.remove(key);
        else
            bag.writeFont(key, std::get<QFont>(value));
        break;
    }
}

} // namespace clipnab

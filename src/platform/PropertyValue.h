#pragma once

#include "platform/Color.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace clipnab {

class PropertyBag;

// The value of a saved control property, whichever type the property has. Integers of both bag
// widths travel as 32-bit integers.
using PropertyValue = std::variant<std::int32_t, bool, QString, OleColor, QImage, QFont>;

// How a property is kept in the bag; it also selects the alternative its value travels in.
enum class BagFormat
{
    Int32,
    // Stored as a 32-bit integer, read back as a 16-bit one: a wider value is a bad entry.
    Int16,
    Bool,
    Text,
    Color,
    Picture,
    Font
};

// Reads `key`; a missing key yields `defaultValue`. A value the format cannot take raises
// PropertyBagError.
PropertyValue readBagValue(const PropertyBag &bag, const QString &key, BagFormat format,
                           const PropertyValue &defaultValue);

// Writes `key`. A value equal to `saveDefault` is not stored; without a save default the value is
// always stored.
void writeBagValue(PropertyBag &bag, const QString &key, BagFormat format,
                   const PropertyValue &value, const std::optional<PropertyValue> &saveDefault);

} // namespace clipnab

#pragma once

#include "platform/Color.h"
#include "platform/PropertyValue.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <type_traits>
#include <variant>

namespace clipnab {

// Where a control keeps one saved property: a pointer to a member of the struct that holds the
// control's saved values, with one alternative for each type a PropertyValue carries. The
// controls' property tables name their members this way, and read and store them only through
// the two functions below.
template <typename Properties>
using PropertyField =
    std::variant<std::int32_t Properties::*, bool Properties::*, QString Properties::*,
                 OleColor Properties::*, QImage Properties::*, QFont Properties::*>;

// The member's value, in the alternative of the member's type.
template <typename Properties>
PropertyValue fieldValue(const Properties &properties, const PropertyField<Properties> &field)
{
    return std::visit([&properties](auto member) -> PropertyValue { return properties.*member; },
                      field);
}

// Stores `value` in the member; the value travels in the alternative of the member's type.
template <typename Properties>
void storeField(Properties &properties, const PropertyField<Properties> &field,
                const PropertyValue &value)
{
    std::visit(
        [&properties, &value](auto member) {
            using Member = std::remove_reference_t<decltype(properties.*member)>;
            properties.*member = std::get<Member>(value);
        },
        field);
}

} // namespace clipnab

#pragma once

#include "platform/Color.h"
#include "platform/PropertyField.h"
#include "platform/PropertyValue.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace clipnab {

// The button's version, shown by its about box.
inline constexpr char kButtonVersion[] = "3.0";

// The values of a button's saved properties as written.
struct ButtonProperties
{
    std::int32_t style = 0;
    QString caption;
    QImage icon;
    std::int32_t iconAlign = 0;
    std::int32_t iconSize = 16;
    std::int32_t captionAlign = 0;
    std::int32_t nonThemeStyle = 0;
    bool enabled = true;
    bool iconVisible = false;
    bool showFocus = false;
    bool useCustomColors = false;
    OleColor backColor = 0;
    OleColor highlightColor = 0;
    OleColor fontColor = 0;
    OleColor fontHighlightColor = 0;
    QString toolTip;
    QString toolTipTitle;
    std::int32_t toolTipIcon = 0;
    std::int32_t toolTipType = 0;
    OleColor toolTipBackColor = 0;
    OleColor toolTipForeColor = 0;
    // The caption font; the drawing surface takes it for each caption it draws.
    QFont font;
    std::int32_t buttonType = 0;
    bool value = false;
};

// Where a property's value is kept.
using ButtonField = PropertyField<ButtonProperties>;

// A new-instance value or a default: a constant, or a value taken at the moment it is needed.
struct ButtonDefault
{
    enum class Source
    {
        Constant,
        // The present RGB of system color `systemColor`.
        SystemColor,
        // The host's own tooltip text for the instance.
        HostToolTip,
        // The name the host gave the instance.
        HostName,
        // The font the caption is drawn in at present.
        CurrentFont,
        // Verdana 8.25 pt, regular.
        DesignFont,
        // No save default: the value is always stored.
        None
    };

    Source source = Source::None;
    PropertyValue constant;
    int systemColor = 0;
};

// What a write does after storing the value.
enum class ButtonChange
{
    // Notify, then the resize step (which ends with one repaint).
    Relayout,
    // Notify, then repaint.
    Repaint,
    // Repaint, then notify.
    RepaintThenNotify
};

// The saved properties, in the order they are saved.
enum class ButtonProperty
{
    Icon,
    Style,
    Caption,
    IconSize,
    IconAlign,
    CaptionAlign,
    NonThemeStyle,
    Enabled,
    ShowFocus,
    UseCustomColors,
    BackColor,
    HighlightColor,
    FontColor,
    FontHighlightColor,
    ToolTip,
    ToolTipTitle,
    ToolTipIcon,
    ToolTipType,
    ToolTipBackColor,
    ToolTipForeColor,
    Font,
    ButtonType,
    Value,
    IconVisible
};

inline constexpr std::size_t kButtonPropertyCount = 24;

// One saved property: everything init, read, write and the property write need to know.
struct ButtonPropertyRow
{
    ButtonProperty property;
    const char *key;
    const char *notifiedName;
    BagFormat format;
    ButtonField field;
    ButtonDefault newValue;
    ButtonDefault restoreDefault;
    ButtonDefault saveDefault;
    ButtonChange change;
};

// The table, in save order.
const std::array<ButtonPropertyRow, kButtonPropertyCount> &buttonPropertyRows();
const ButtonPropertyRow &buttonPropertyRow(ButtonProperty property);

// Restoring reads CaptionAlign before IconAlign; otherwise it keeps the save order.
inline constexpr std::array<ButtonProperty, kButtonPropertyCount> kButtonRestoreOrder{
    ButtonProperty::Icon,
    ButtonProperty::Style,
    ButtonProperty::Caption,
    ButtonProperty::IconSize,
    ButtonProperty::CaptionAlign,
    ButtonProperty::IconAlign,
    ButtonProperty::NonThemeStyle,
    ButtonProperty::Enabled,
    ButtonProperty::ShowFocus,
    ButtonProperty::UseCustomColors,
    ButtonProperty::BackColor,
    ButtonProperty::HighlightColor,
    ButtonProperty::FontColor,
    ButtonProperty::FontHighlightColor,
    ButtonProperty::ToolTip,
    ButtonProperty::ToolTipTitle,
    ButtonProperty::ToolTipIcon,
    ButtonProperty::ToolTipType,
    ButtonProperty::ToolTipBackColor,
    ButtonProperty::ToolTipForeColor,
    ButtonProperty::Font,
    ButtonProperty::ButtonType,
    ButtonProperty::Value,
    ButtonProperty::IconVisible};

} // namespace clipnab

#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QVariant>

#include <optional>
#include <stdexcept>

class QMetaType;

namespace clipnab {

// A command line the render tool cannot use; the message is one line.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct PropertyAssignment
{
    QString name;
    QString value;
};

struct SystemColorOverride
{
    int index = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
};

enum class ButtonLook
{
    Unset,
    Normal,
    Hot,
    Pressed,
    Disabled
};

struct RenderOptions
{
    QString kind;
    QString output;
    std::optional<QSize> size;
    QList<PropertyAssignment> assignments;
    ButtonLook state = ButtonLook::Unset;
    bool focus = false;
    bool design = false;
    // Device pixels per logical pixel of the image written: the screen's device pixel ratio.
    qreal scale = 1.0;
    QList<SystemColorOverride> systemColors;
    bool help = false;
};

// Parses the arguments after the program name. Throws UsageError.
RenderOptions parseRenderArguments(const QStringList &arguments);

// The help text: the usage line and the kinds the tool draws.
QString renderUsage();

// A --set value as typed: decimal or 0x hexadecimal integer (as a 64-bit integer),
// true/false (as a Boolean), anything else as text.
QVariant parsePropertyValue(const QString &text);

// The value converted to the property's type; nothing when it does not fit that type.
// Colour properties (unsigned) take negative 32-bit values in their two's-complement form.
std::optional<QVariant> convertPropertyValue(const QString &text, QMetaType type);

} // namespace clipnab

#include "RenderOptions.h"

#include "platform/SystemColors.h"
#include "RenderKinds.h"

#include <QCommandLineParser>
#include <QMetaType>
#include <QRegularExpression>

#include <cstdint>
#include <limits>

namespace clipnab {

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw UsageError(message.toStdString());
}

int parseNumber(const QString &text, int low, int high, const QString &what)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < low || value > high)
        fail(QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                 .arg(what)
                 .arg(low)
                 .arg(high)
                 .arg(text));
    return value;
}

QSize parseSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)[xX](\\d+)$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        fail(QStringLiteral("--size expects WxH, not \"%1\"").arg(text));
    constexpr int kMaxSide = 16384;
    const int width = parseNumber(match.captured(1), 1, kMaxSide, QStringLiteral("width"));
    const int height = parseNumber(match.captured(2), 1, kMaxSide, QStringLiteral("height"));
    return {width, height};
}

PropertyAssignment parseAssignment(const QString &text)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0)
        fail(QStringLiteral("--set expects Property=Value, not \"%1\"").arg(text));
    return {text.left(eq), text.mid(eq + 1)};
}

ButtonLook parseState(const QString &text)
{
    if (text == QLatin1String("normal"))
        return ButtonLook::Normal;
    if (text == QLatin1String("hot"))
        return ButtonLook::Hot;
    if (text == QLatin1String("pressed"))
        return ButtonLook::Pressed;
    if (text == QLatin1String("disabled"))
        return ButtonLook::Disabled;
    fail(QStringLiteral("--state expects normal, hot, pressed or disabled, not \"%1\"").arg(text));
}

qreal parseScale(const QString &text)
{
    constexpr qreal kMaxScale = 8.0;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !(value >= 1.0 && value <= kMaxScale))
        fail(QStringLiteral("--scale must be a number from 1 to %1, not \"%2\"")
                 .arg(kMaxScale)
                 .arg(text));
    return value;
}

SystemColorOverride parseSystemColor(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)=(\\d+),(\\d+),(\\d+)$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        fail(QStringLiteral("--syscolor expects N=R,G,B, not \"%1\"").arg(text));
    SystemColorOverride entry;
    entry.index = parseNumber(match.captured(1), 0, SystemColors::kLastIndex,
                              QStringLiteral("system colour index"));
    if (!SystemColors::isValidIndex(entry.index))
        fail(QStringLiteral("system colour %1 does not exist").arg(entry.index));
    entry.red = parseNumber(match.captured(2), 0, 255, QStringLiteral("red"));
    entry.green = parseNumber(match.captured(3), 0, 255, QStringLiteral("green"));
    entry.blue = parseNumber(match.captured(4), 0, 255, QStringLiteral("blue"));
    return entry;
}

} // namespace

QString renderUsage()
{
    QStringList kinds;
    for (const RenderKind &kind : renderKinds())
        kinds.append(kind.name);
    return QStringLiteral(
               "usage: clipnab-render KIND -o OUT.png [--size WxH] [--set Property=Value]...\n"
               "                      [--state normal|hot|pressed|disabled] [--focus] [--design]\n"
               "                      [--syscolor N=R,G,B]... [--scale K]\n"
               "KIND is one of: ") +
           kinds.join(QStringLiteral(", ")) + QLatin1Char('\n');
}

RenderOptions parseRenderArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The PNG file to write."),
                                    QStringLiteral("OUT.png"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Client size (default: the design size)."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption set(QStringLiteral("set"),
                                 QStringLiteral("Sets a public property, in the order given."),
                                 QStringLiteral("Property=Value"));
    const QCommandLineOption state(QStringLiteral("state"),
                                   QStringLiteral("normal, hot, pressed or disabled."),
                                   QStringLiteral("STATE"));
    const QCommandLineOption focus(QStringLiteral("focus"),
                                   QStringLiteral("Draws the control with the keyboard focus."));
    const QCommandLineOption design(QStringLiteral("design"),
                                    QStringLiteral("Draws the control in design mode."));
    const QCommandLineOption systemColor(QStringLiteral("syscolor"),
                                         QStringLiteral("Pins one system colour."),
                                         QStringLiteral("N=R,G,B"));
    const QCommandLineOption scale(
        QStringLiteral("scale"),
        QStringLiteral("Device pixels per logical pixel, as on a screen of that ratio."),
        QStringLiteral("K"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOptions({output, size, set, state, focus, design, systemColor, scale, help});
    parser.addPositionalArgument(QStringLiteral("KIND"), QStringLiteral("The control to draw."));

    // The parser skips the program name.
    if (!parser.parse(QStringList{QStringLiteral("clipnab-render")} + arguments))
        fail(parser.errorText());

    RenderOptions options;
    if (parser.isSet(help)) {
        options.help = true;
        return options;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        fail(QStringLiteral("no control kind given"));
    if (positional.size() > 1)
        fail(QStringLiteral("unexpected argument \"%1\"").arg(positional.at(1)));
    options.kind = positional.first();
    if (!parser.isSet(output))
        fail(QStringLiteral("no output file given (-o OUT.png)"));
    options.output = parser.value(output);
    if (options.output.isEmpty())
        fail(QStringLiteral("the output file name is empty"));
    if (parser.isSet(size))
        options.size = parseSize(parser.value(size));
    for (const QString &assignment : parser.values(set))
        options.assignments.append(parseAssignment(assignment));
    if (parser.isSet(state))
        options.state = parseState(parser.value(state));
    options.focus = parser.isSet(focus);
    options.design = parser.isSet(design);
    for (const QString &entry : parser.values(systemColor))
        options.systemColors.append(parseSystemColor(entry));
    if (parser.isSet(scale))
        options.scale = parseScale(parser.value(scale));
    return options;
}

QVariant parsePropertyValue(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?\\d+$"));
    static const QRegularExpression hex(QStringLiteral("^0[xX][0-9a-fA-F]+$"));
    bool ok = false;
    if (decimal.match(text).hasMatch()) {
        const qint64 value = text.toLongLong(&ok, 10);
        if (ok)
            return QVariant::fromValue<qint64>(value);
    } else if (hex.match(text).hasMatch()) {
        const qint64 value = text.mid(2).toLongLong(&ok, 16);
        if (ok)
            return QVariant::fromValue<qint64>(value);
    }
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return QVariant(true);
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return QVariant(false);
    return QVariant(text);
}

std::optional<QVariant> convertPropertyValue(const QString &text, QMetaType type)
{
    const QVariant parsed = parsePropertyValue(text);
    const bool isInteger = parsed.typeId() == QMetaType::LongLong;
    const qint64 number = isInteger ? parsed.toLongLong() : 0;
    constexpr qint64 kIntMin = std::numeric_limits<std::int32_t>::min();
    constexpr qint64 kIntMax = std::numeric_limits<std::int32_t>::max();
    constexpr qint64 kUintMax = std::numeric_limits<std::uint32_t>::max();

    switch (type.id()) {
    case QMetaType::Int:
        if (!isInteger || number < kIntMin || number > kIntMax)
            return std::nullopt;
        return QVariant(static_cast<int>(number));
    case QMetaType::UInt:
        if (!isInteger || number < kIntMin || number > kUintMax)
            return std::nullopt;
        return QVariant(static_cast<uint>(static_cast<std::uint32_t>(number)));
    case QMetaType::Bool:
        if (parsed.typeId() == QMetaType::Bool)
            return parsed;
        if (isInteger)
            return QVariant(number != 0);
        return std::nullopt;
    case QMetaType::QString:
        return QVariant(text);
    default: {
        QVariant converted = parsed;
        if (!converted.convert(type))
            return std::nullopt;
        return converted;
    }
    }
}

} // namespace clipnab

#include "RenderOptions.h"

#include "platform/SystemColors.h"

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
    return QStringLiteral(
        "usage: clipnab-render KIND -o OUT.png [--size WxH] [--set Property=Value]...\n"
        "                      [--state normal|hot|pressed|disabled] [--focus] [--design]\n"
        "                      [--syscolor N=R,G,B]...\n");
}

RenderOptions parseRenderArguments(const QStringList &arguments)
{
    RenderOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        std::optional<QString> attached;
        if (option.startsWith(QLatin1String("--"))) {
            if (const qsizetype eq = option.indexOf(QLatin1Char('=')); eq > 0) {
                attached = option.mid(eq + 1);
                option.truncate(eq);
            }
        }
        const auto value = [&]() -> QString {
            if (attached)
                return *attached;
            if (i + 1 >= arguments.size())
                fail(QStringLiteral("%1 needs a value").arg(option));
            return arguments.at(++i);
        };
        const auto noValue = [&] {
            if (attached)
                fail(QStringLiteral("%1 takes no value").arg(option));
        };

        if (option == QLatin1String("-o") || option == QLatin1String("--output")) {
            options.output = value();
            if (options.output.isEmpty())
                fail(QStringLiteral("the output file name is empty"));
        } else if (option == QLatin1String("--size")) {
            options.size = parseSize(value());
        } else if (option == QLatin1String("--set")) {
            options.assignments.append(parseAssignment(value()));
        } else if (option == QLatin1String("--state")) {
            options.state = parseState(value());
        } else if (option == QLatin1String("--focus")) {
            noValue();
            options.focus = true;
        } else if (option == QLatin1String("--design")) {
            noValue();
            options.design = true;
        } else if (option == QLatin1String("--syscolor")) {
            options.systemColors.append(parseSystemColor(value()));
        } else if (option == QLatin1String("-h") || option == QLatin1String("--help")) {
            options.help = true;
        } else if (option.startsWith(QLatin1Char('-'))) {
            fail(QStringLiteral("unknown option %1").arg(option));
        } else if (options.kind.isEmpty()) {
            options.kind = option;
        } else {
            fail(QStringLiteral("unexpected argument \"%1\"").arg(option));
        }
    }
    if (options.help)
        return options;
    if (options.kind.isEmpty())
        fail(QStringLiteral("no control kind given"));
    if (options.output.isEmpty())
        fail(QStringLiteral("no output file given (-o OUT.png)"));
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

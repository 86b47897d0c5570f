#include "ControlRenderer.h"

#include "RenderKinds.h"
#include "RenderOptions.h"

#include "platform/SystemColors.h"
#include "platform/widgets/PlatformContext.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QRegion>
#include <QtMath>
#include <QWidget>

#include <cmath>

namespace clipnab {

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw UsageError(message.toStdString());
}

// The exact public name first; otherwise the one name that matches without regard to case.
QMetaProperty findProperty(const QObject &object, const QString &name)
{
    const QMetaObject *meta = object.metaObject();
    const QByteArray latin = name.toLatin1();
    if (const int exact = meta->indexOfProperty(latin.constData()); exact >= 0)
        return meta->property(exact);
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (QString::fromLatin1(property.name()).compare(name, Qt::CaseInsensitive) == 0)
            return property;
    }
    return {};
}

void assign(QWidget &control, const QString &kind, const QString &name, const QString &text)
{
    const QMetaProperty property = findProperty(control, name);
    if (!property.isValid() || !property.isWritable())
        fail(QStringLiteral("%1 has no writable property %2").arg(kind, name));
    const auto value = convertPropertyValue(text, property.metaType());
    if (!value)
        fail(QStringLiteral("\"%1\" is not a valid %2 value for %3")
                 .arg(text, QString::fromLatin1(property.typeName()), name));
    if (!property.write(&control, *value))
        fail(QStringLiteral("%1 refused the value \"%2\"").arg(name, text));
}

struct LookProperty
{
    ButtonLook look;
    const char *property;
    const char *value;
};

// How each --state shows: through the button's public runtime properties.
constexpr LookProperty kLooks[] = {
    {ButtonLook::Normal, "ButtonState", "1"},
    {ButtonLook::Hot, "ButtonState", "2"},
    {ButtonLook::Pressed, "ButtonState", "3"},
    {ButtonLook::Disabled, "Enabled", "false"},
};

void applyLook(QWidget &control, const RenderKind &kind, const RenderOptions &options)
{
    if (kind.showLook) {
        kind.showLook(control, options.state);
    } else {
        for (const LookProperty &entry : kLooks) {
            if (entry.look == options.state)
                assign(control, options.kind, QString::fromLatin1(entry.property),
                       QString::fromLatin1(entry.value));
        }
    }
    if (options.focus)
        assign(control, options.kind, QStringLiteral("HasFocus"), QStringLiteral("true"));
}

} // namespace

QImage captureWidget(QWidget &widget)
{
    const qreal ratio = widget.devicePixelRatio();
    QImage image(qCeil(widget.width() * ratio), qCeil(widget.height() * ratio),
                 QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    // The shape is in logical pixels: a device pixel takes the logical pixel under its centre.
    const QRegion mask = widget.mask();
    const auto logical = [ratio](int device) {
        return static_cast<int>(std::floor((device + 0.5) / ratio));
    };
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = mask.isEmpty() || mask.contains(QPoint(logical(x), logical(y)));
            row[x] = inside ? (row[x] | 0xFF000000u) : 0u;
        }
    }
    return image;
}

QImage renderControl(const RenderOptions &options)
{
    const RenderKind *kind = findRenderKind(options.kind);
    if (!kind)
        fail(QStringLiteral("unknown control kind \"%1\"").arg(options.kind));

    PlatformContext context;
    for (const SystemColorOverride &entry : options.systemColors)
        context.systemColors().setOverride(entry.index,
                                           makeRgb(entry.red, entry.green, entry.blue));

    std::unique_ptr<QWidget> control = kind->create(context, options.design);
    control->setWindowFlag(Qt::FramelessWindowHint);
    control->resize(options.size.value_or(kind->designSize));
    for (const PropertyAssignment &assignment : options.assignments)
        assign(*control, options.kind, assignment.name, assignment.value);

    control->show();
    QCoreApplication::processEvents();
    applyLook(*control, *kind, options);
    QCoreApplication::processEvents();
    return kind->capture ? kind->capture(*control) : captureWidget(*control);
}

} // namespace clipnab

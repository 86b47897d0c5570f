#include "app/ProgressStripAccessible.h"

#include "app/ProgressStrip.h"

namespace clipnab {

ProgressStripAccessible::ProgressStripAccessible(ProgressStrip *strip)
    : QAccessibleWidget(strip, QAccessible::ProgressBar)
{
}

ProgressStrip *ProgressStripAccessible::strip() const
{
    return static_cast<ProgressStrip *>(widget());
}

QString ProgressStripAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("Download progress");
    case QAccessible::Description:
        return strip()->report();
    case QAccessible::Value:
        if (const auto percent = strip()->percent())
            return QStringLiteral("%1%").arg(*percent);
        return strip()->report();
    default:
        return QAccessibleWidget::text(t);
    }
}

void *ProgressStripAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant ProgressStripAccessible::currentValue() const
{
    return strip()->percent().value_or(0);
}

void ProgressStripAccessible::setCurrentValue(const QVariant &)
{
    // Read-only: the download sets it.
}

QVariant ProgressStripAccessible::maximumValue() const
{
    return strip()->percent() ? 100 : 0;
}

QVariant ProgressStripAccessible::minimumValue() const
{
    return 0;
}

QVariant ProgressStripAccessible::minimumStepSize() const
{
    return 1;
}

} // namespace clipnab

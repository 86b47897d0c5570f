#include "controls/panel/PanelAccessible.h"

#include "controls/panel/XPContainer.h"

namespace clipnab {

PanelAccessible::PanelAccessible(XPContainer *panel)
    : QAccessibleWidget(panel, QAccessible::Grouping)
{
}

void PanelAccessible::propertyChanged(XPContainer *panel, const QString &property)
{
    if (!QAccessible::isActive() || property != QLatin1String("Caption"))
        return;
    QAccessibleEvent event(panel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

QString PanelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return static_cast<XPContainer *>(widget())->Caption();
    return QAccessibleWidget::text(t);
}

} // namespace clipnab

#pragma once

#include <QAccessibleWidget>

namespace clipnab {

class XPContainer;

// What assistive technology sees of an XPContainer: a grouping named by its Caption.
class PanelAccessible final : public QAccessibleWidget
{
public:
    explicit PanelAccessible(XPContainer *panel);

    // Tells assistive technology that a property it shows has changed.
    static void propertyChanged(XPContainer *panel, const QString &property);

    QString text(QAccessible::Text t) const override;
};

} // namespace clipnab

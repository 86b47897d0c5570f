#include "app/LayoutRestore.h"

#include "app/SavedLayout.h"
#include "app/WindowGeometry.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"

#include <QHash>

namespace clipnab::LayoutRestore {

namespace {

using WindowGeometry::pixels;

template <typename Control>
Control *restoreControl(const ControlRecord &record, PlatformContext &context, QWidget *container)
{
    auto *control = new Control(context, container);
    control->setObjectName(record.name);
    control->setToolTip(record.toolTip);
    QSize extent(0, 0);
    // A record whose bag cannot be read keeps the defaults, and an unreadable extent leaves the
    // control without one: the window still opens.
    try {
        extent = QSize(pixels(record.bag.readInt(QStringLiteral("_extentx"), 0)),
                       pixels(record.bag.readInt(QStringLiteral("_extenty"), 0)));
        control->readProperties(record.bag);
    } catch (const PropertyBagError &) {
        control->initProperties();
    }
    control->setGeometry(QRect(QPoint(pixels(record.leftTwips), pixels(record.topTwips)), extent));
    return control;
}

} // namespace

void restore(const SavedLayout &layout, PlatformContext &context, QWidget *client)
{
    // A container that names no panel restored so far is the window itself.
    QHash<QString, QWidget *> panels;
    for (const ControlRecord &record : layout.controls()) {
        QWidget *container = panels.value(record.container, client);
        if (record.classId == QLatin1String(XPContainer::kClassId))
            panels.insert(record.name, restoreControl<XPContainer>(record, context, container));
        else if (record.classId == QLatin1String(deRurara::kClassId))
            restoreControl<deRurara>(record, context, container);
    }
}

} // namespace clipnab::LayoutRestore

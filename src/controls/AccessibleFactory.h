#pragma once

#include <QAccessible>

namespace clipnab {

// Makes assistive technology see every `Widget` through `Interface`. Each control calls it when
// an instance is made; the factory is registered once per control class.
template <typename Widget, typename Interface> void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &, QObject *object) -> QAccessibleInterface * {
            if (auto *widget = qobject_cast<Widget *>(object))
                return new Interface(widget);
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace clipnab

#include "controls/button/ButtonAccessible.h"

#include "controls/button/deRurara.h"
#include "platform/Surface.h"

namespace clipnab {

namespace {

// The caption as read aloud: an ampersand marks the access key, "&&" is one ampersand.
QString spokenCaption(const QString &caption, unsigned format)
{
    if (format & TextFormat::kNoPrefix)
        return caption;
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (++i == caption.size())
                break;
        }
        spoken += caption[i];
    }
    return spoken;
}

} // namespace

ButtonAccessible::ButtonAccessible(deRurara *button) : QAccessibleWidget(button) {}

void ButtonAccessible::propertyChanged(deRurara *button, const QString &property)
{
    if (!QAccessible::isActive())
        return;
    if (property == QLatin1String("Caption")) {
        QAccessibleEvent event(button, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    } else if (property == QLatin1String("Value") || property == QLatin1String("ButtonType")) {
        QAccessible::State changed;
        changed.checked = true;
        changed.checkable = true;
        QAccessibleStateChangeEvent event(button, changed);
        QAccessible::updateAccessibility(&event);
    }
}

deRurara *ButtonAccessible::button() const
{
    return static_cast<deRurara *>(widget());
}

bool ButtonAccessible::isCheckButton() const
{
    return button()->ButtonType() == deRurara::kCheckButton;
}

QString ButtonAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (const QString name = widget()->accessibleName(); !name.isEmpty())
            return name;
        return spokenCaption(button()->Caption(), button()->captionFormat());
    case QAccessible::Description:
        if (const QString description = widget()->accessibleDescription(); !description.isEmpty())
            return description;
        return button()->ToolTip();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::Role ButtonAccessible::role() const
{
    return isCheckButton() ? QAccessible::CheckBox : QAccessible::PushButton;
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.disabled = state.disabled || !button()->Enabled();
    if (isCheckButton()) {
        state.checkable = true;
        state.checked = button()->Value();
    }
    return state;
}

QStringList ButtonAccessible::actionNames() const
{
    if (state().disabled)
        return {};
    QStringList names{pressAction()};
    if (isCheckButton())
        names.append(toggleAction());
    return names;
}

void ButtonAccessible::doAction(const QString &actionName)
{
    if (actionNames().contains(actionName))
        button()->click();
}

QStringList ButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionNames().contains(actionName))
        return {QStringLiteral("Space"), QStringLiteral("Return")};
    return {};
}

} // namespace clipnab

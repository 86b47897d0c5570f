#pragma once

#include <QAccessibleWidget>

namespace clipnab {

class deRurara;

// What assistive technology sees of a deRurara: a push button, or a check button whose checked
// state is its Value, named by its Caption, whose press action clicks it.
class ButtonAccessible final : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(deRurara *button);

    // Tells assistive technology that a property it shows has changed.
    static void propertyChanged(deRurara *button, const QString &property);

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    deRurara *button() const;
    bool isCheckButton() const;
};

} // namespace clipnab

#pragma once

#include <QAccessibleWidget>

namespace clipnab {

class ProgressStrip;

// What assistive technology sees of the download's progress strip: a progress bar named
// "Download progress" whose value is the share saved in percent (0 to 100; a maximum of 0 while
// no length is known, as a busy bar), described by the download's numbers in words.
class ProgressStripAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressStripAccessible(ProgressStrip *strip);

    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    ProgressStrip *strip() const;
};

} // namespace clipnab

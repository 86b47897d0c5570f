#include "platform/widgets/ThemePainter.h"

#include "platform/ControlPalette.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace clipnab {

bool ThemePainter::drawPushButton(QImage &target, const QRect &rect, int state,
                                  const QWidget *widget) const
{
    if (!m_available || target.isNull() || state < 1 || state > 5)
        return false;
    QStyle *style = widget ? widget->style() : QApplication::style();
    if (!style)
        return false;

    QStyleOptionButton option;
    option.rect = rect;
    // The bevel takes the controls' light look, as their captions do.
    option.palette =
        ControlPalette::forDesktop(widget ? widget->palette() : QApplication::palette());
    option.state = QStyle::State_Raised;
    switch (state) {
    case 1:
        option.state |= QStyle::State_Enabled;
        break;
    case 2:
        option.state |= QStyle::State_Enabled | QStyle::State_MouseOver;
        break;
    case 3:
        option.state = QStyle::State_Enabled | QStyle::State_Sunken;
        break;
    case 4:
        break;
    case 5:
        option.state |= QStyle::State_Enabled | QStyle::State_HasFocus;
        option.features |= QStyleOptionButton::DefaultButton;
        break;
    }
    QPainter painter(&target);
    painter.setClipRect(rect);
    style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, widget);
    return true;
}

} // namespace clipnab

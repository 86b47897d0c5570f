#include "platform/ControlPalette.h"

#include "platform/Contrast.h"

#include <QGuiApplication>

namespace clipnab::ControlPalette {

namespace {

QPalette makeLight()
{
    const QColor window(0xef, 0xef, 0xef);
    const QColor disabledText(0xbe, 0xbe, 0xbe);
    QPalette palette(Qt::black, window, Qt::white, QColor(0x9f, 0x9f, 0x9f),
                     QColor(0xb8, 0xb8, 0xb8), Qt::black, Qt::white);
    palette.setColor(QPalette::Midlight, QColor(0xca, 0xca, 0xca));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Shadow, QColor(0x76, 0x76, 0x76));
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, Qt::blue);
    palette.setColor(QPalette::LinkVisited, Qt::magenta);
    palette.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf7, 0xf7));
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xdc));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Dark, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Shadow, QColor(0xb1, 0xb1, 0xb1));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x91, 0x91, 0x91));
    return palette;
}

} // namespace

bool isDark(const QPalette &palette)
{
    return Contrast::relativeLuminance(palette.color(QPalette::WindowText).rgb()) >
           Contrast::relativeLuminance(palette.color(QPalette::Window).rgb());
}

const QPalette &light()
{
    static const QPalette palette = makeLight();
    return palette;
}

QPalette forDesktop(const QPalette &desktop)
{
    return isDark(desktop) ? light() : desktop;
}

QPalette current()
{
    return forDesktop(QGuiApplication::palette());
}

} // namespace clipnab::ControlPalette

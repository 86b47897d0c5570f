#pragma once

#include "controls/panel/GradientRowCache.h"
#include "controls/panel/PanelPainter.h"
#include "controls/panel/PanelProperties.h"
#include "platform/Color.h"
#include "platform/PropertyValue.h"
#include "platform/Surface.h"

#include <QString>
#include <QWidget>

class QLabel;

namespace clipnab {

class HeaderStrip;
class PlatformContext;
class PropertyBag;

// A container panel with an optional caption header over a vertical gradient and a one-pixel
// frame. Widgets placed in it stay its children and show above its drawing.
class XPContainer : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint HeaderLightColor READ HeaderLightColor WRITE writeHeaderLightColor)
    Q_PROPERTY(uint HeaderDarkColor READ HeaderDarkColor WRITE writeHeaderDarkColor)
    Q_PROPERTY(uint BackLightColor READ BackLightColor WRITE writeBackLightColor)
    Q_PROPERTY(uint BackDarkColor READ BackDarkColor WRITE writeBackDarkColor)
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE writeBorderColor)
    Q_PROPERTY(uint TextColor READ TextColor WRITE writeTextColor)
    Q_PROPERTY(QString Caption READ Caption WRITE writeCaption)
    Q_PROPERTY(int Style READ Style WRITE writeStyle)
    Q_PROPERTY(int Theme READ Theme WRITE writeTheme)

public:
    // The class identifier in a host's saved layout.
    static constexpr const char *kClassId = "Clipnab.XPContainer";

    explicit XPContainer(PlatformContext &context, QWidget *parent = nullptr);
    ~XPContainer() override;

    // A newly placed panel: every property to its default, without redrawing.
    void initProperties();
    // A panel loaded from a saved layout: the properties as saved, without redrawing and
    // without applying the saved colour set.
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    void setDesignMode(bool design) { m_designMode = design; }
    bool designMode() const { return m_designMode; }

    uint HeaderLightColor() const { return m_properties.headerLight; }
    uint HeaderDarkColor() const { return m_properties.headerDark; }
    uint BackLightColor() const { return m_properties.backLight; }
    uint BackDarkColor() const { return m_properties.backDark; }
    uint BorderColor() const { return m_properties.border; }
    uint TextColor() const { return m_properties.text; }
    QString Caption() const { return m_properties.caption; }
    int Style() const { return m_properties.style; }
    int Theme() const { return m_properties.theme; }

    // Property writes: store, notify the name, redraw.
    void writeHeaderLightColor(uint color)
    {
        write(PanelProperty::HeaderLightColor, OleColor{color});
    }
    void writeHeaderDarkColor(uint color)
    {
        write(PanelProperty::HeaderDarkColor, OleColor{color});
    }
    void writeBackLightColor(uint color) { write(PanelProperty::BackLightColor, OleColor{color}); }
    void writeBackDarkColor(uint color) { write(PanelProperty::BackDarkColor, OleColor{color}); }
    void writeBorderColor(uint color) { write(PanelProperty::BorderColor, OleColor{color}); }
    void writeTextColor(uint color) { write(PanelProperty::TextColor, OleColor{color}); }
    void writeCaption(const QString &caption) { write(PanelProperty::Caption, caption); }
    void writeStyle(int style) { write(PanelProperty::Style, style); }
    // Stores the number and, for 0 to 11, that color set's six colors: one notification per
    // color after the one for Theme, and one redraw.
    void writeTheme(int theme) { write(PanelProperty::Theme, theme); }

    // Redraws of the panel since it was made, for tests.
    int redrawCount() const { return m_redrawCount; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void propertyChanged(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void write(PanelProperty property, const PropertyValue &value);
    void applyColorSet();
    void layoutParts();
    // Full redraw of the panel's surface and header strip, then a repaint.
    void redraw();
    void drawParts();
    // The header strip's rows in the panel's surface; sets the caption's colour on the way.
    const RowBand *headerBand();
    void setCaptionColor(Rgb text);

    PlatformContext &m_context;
    Surface m_surface;
    GradientRowCache m_bodyRows;
    GradientRowCache m_headerRows;
    RowBand m_plainHeader;
    HeaderStrip *m_header = nullptr;
    QLabel *m_captionLabel = nullptr;
    QWidget *m_bodyBox = nullptr;
    bool m_stale = true;
    bool m_designMode = false;
    int m_redrawCount = 0;

    PanelProperties m_properties;
};

} // namespace clipnab

#pragma once

#include "platform/Colour.h"
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

    uint HeaderLightColor() const { return m_headerLightColor; }
    uint HeaderDarkColor() const { return m_headerDarkColor; }
    uint BackLightColor() const { return m_backLightColor; }
    uint BackDarkColor() const { return m_backDarkColor; }
    uint BorderColor() const { return m_borderColor; }
    uint TextColor() const { return m_textColor; }
    QString Caption() const { return m_caption; }
    int Style() const { return m_style; }
    int Theme() const { return m_theme; }

    void writeHeaderLightColor(uint colour);
    void writeHeaderDarkColor(uint colour);
    void writeBackLightColor(uint colour);
    void writeBackDarkColor(uint colour);
    void writeBorderColor(uint colour);
    void writeTextColor(uint colour);
    void writeCaption(const QString &caption);
    void writeStyle(int style);
    // Stores the number and, for 0 to 11, writes that colour set's six colours.
    void writeTheme(int theme);

    QSize sizeHint() const override;

Q_SIGNALS:
    void propertyChanged(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Stores a property, notifies its change and redraws.
    template <typename T> void writeMember(T &member, const T &value, const QString &name);
    void layoutParts();
    // Full redraw of the panel's surface and header strip, then a repaint.
    void redraw();
    void drawParts();
    void paintHeader();

    PlatformContext &m_context;
    Surface m_surface;
    HeaderStrip *m_header = nullptr;
    QLabel *m_captionLabel = nullptr;
    QWidget *m_bodyBox = nullptr;
    bool m_stale = true;
    bool m_designMode = false;

    OleColor m_headerLightColor;
    OleColor m_headerDarkColor;
    OleColor m_backLightColor;
    OleColor m_backDarkColor;
    OleColor m_borderColor;
    OleColor m_textColor;
    QString m_caption;
    int m_style = 0;
    int m_theme = 0;
};

} // namespace clipnab

#pragma once

#include "controls/button/ButtonGeometry.h"
#include "platform/Colour.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

class QRegion;

namespace clipnab {

class PlatformContext;
class PropertyBag;
class Surface;
class WindowSubclass;
struct ButtonView;
struct SubclassCall;

// The program's push button: eleven drawing styles, a shaped window, hot tracking with
// MouseEnter/MouseLeave, its own tooltip, and persistence in the host's property bag.
// The button draws into an image the size of its client area; painting only shows that image.
class deRurara : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE writeStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE writeCaption)
    Q_PROPERTY(QImage Icon READ Icon WRITE writeIcon)
    Q_PROPERTY(int IconAlign READ IconAlign WRITE writeIconAlign)
    Q_PROPERTY(int IconSize READ IconSize WRITE writeIconSize)
    Q_PROPERTY(int CaptionAlign READ CaptionAlign WRITE writeCaptionAlign)
    Q_PROPERTY(int NonThemeStyle READ NonThemeStyle WRITE writeNonThemeStyle)
    Q_PROPERTY(bool Enabled READ Enabled WRITE writeEnabled)
    Q_PROPERTY(bool IconVisible READ IconVisible WRITE writeIconVisible)
    Q_PROPERTY(bool ShowFocus READ ShowFocus WRITE writeShowFocus)
    Q_PROPERTY(bool UseCustomColors READ UseCustomColors WRITE writeUseCustomColors)
    Q_PROPERTY(uint BackColor READ BackColor WRITE writeBackColor)
    Q_PROPERTY(uint HighlightColor READ HighlightColor WRITE writeHighlightColor)
    Q_PROPERTY(uint FontColor READ FontColor WRITE writeFontColor)
    Q_PROPERTY(uint FontHighlightColor READ FontHighlightColor WRITE writeFontHighlightColor)
    Q_PROPERTY(QString ToolTip READ ToolTip WRITE writeToolTip)
    Q_PROPERTY(QString ToolTipTitle READ ToolTipTitle WRITE writeToolTipTitle)
    Q_PROPERTY(int ToolTipIcon READ ToolTipIcon WRITE writeToolTipIcon)
    Q_PROPERTY(int ToolTipType READ ToolTipType WRITE writeToolTipType)
    Q_PROPERTY(uint ToolTipBackColor READ ToolTipBackColor WRITE writeToolTipBackColor)
    Q_PROPERTY(uint ToolTipForeColor READ ToolTipForeColor WRITE writeToolTipForeColor)
    Q_PROPERTY(QFont Font READ Font WRITE writeFont)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE writeButtonType)
    Q_PROPERTY(bool Value READ Value WRITE writeValue)
    Q_PROPERTY(QString Version READ Version CONSTANT)
    Q_PROPERTY(int ButtonState READ ButtonState WRITE writeButtonState)
    Q_PROPERTY(bool HasFocus READ HasFocus WRITE writeHasFocus)

public:
    static constexpr const char *kClassId = "Clipnab.deRurara";

    explicit deRurara(PlatformContext &context, QWidget *parent = nullptr);
    ~deRurara() override;

    // Values of a newly placed instance; no repaint.
    void initProperties();
    // Restores the saved values; at run time it also starts pointer tracking. No repaint.
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // Design mode shows the button hot and never tracks the pointer. Set it before
    // readProperties.
    void setDesignMode(bool design) { m_designMode = design; }
    bool designMode() const { return m_designMode; }

    // Repaints the whole button in one pass.
    void Refresh();
    // Opens a document or address with the shell; above 32 means success.
    int OpenLink(const QString &link);

    int Style() const { return m_style; }
    QString Caption() const { return m_caption; }
    QImage Icon() const { return m_icon; }
    int IconAlign() const { return m_iconAlign; }
    int IconSize() const { return m_iconSize; }
    int CaptionAlign() const { return m_captionAlign; }
    int NonThemeStyle() const { return m_nonThemeStyle; }
    bool Enabled() const { return m_enabled; }
    bool IconVisible() const { return m_iconVisible; }
    bool ShowFocus() const { return m_showFocus; }
    bool UseCustomColors() const { return m_useCustomColors; }
    OleColor BackColor() const { return m_backColor; }
    OleColor HighlightColor() const { return m_highlightColor; }
    OleColor FontColor() const { return m_fontColor; }
    OleColor FontHighlightColor() const { return m_fontHighlightColor; }
    QString ToolTip() const { return m_toolTip; }
    QString ToolTipTitle() const { return m_toolTipTitle; }
    int ToolTipIcon() const { return m_toolTipIcon; }
    int ToolTipType() const { return m_toolTipType; }
    OleColor ToolTipBackColor() const { return m_toolTipBackColor; }
    OleColor ToolTipForeColor() const { return m_toolTipForeColor; }
    QFont Font() const;
    int ButtonType() const { return m_buttonType; }
    bool Value() const { return m_value; }
    QString Version() const { return QStringLiteral("3.0"); }
    int ButtonState() const { return m_buttonState; }
    bool HasFocus() const { return m_hasFocus; }

    void writeStyle(int value);
    void writeCaption(const QString &value);
    void writeIcon(const QImage &value);
    void writeIconAlign(int value);
    void writeIconSize(int value);
    void writeCaptionAlign(int value);
    void writeNonThemeStyle(int value);
    void writeEnabled(bool value);
    void writeIconVisible(bool value);
    void writeShowFocus(bool value);
    void writeUseCustomColors(bool value);
    void writeBackColor(uint value);
    void writeHighlightColor(uint value);
    void writeFontColor(uint value);
    void writeFontHighlightColor(uint value);
    void writeToolTip(const QString &value);
    void writeToolTipTitle(const QString &value);
    void writeToolTipIcon(int value);
    void writeToolTipType(int value);
    void writeToolTipBackColor(uint value);
    void writeToolTipForeColor(uint value);
    void writeFont(const QFont &value);
    void writeButtonType(int value);
    void writeValue(bool value);
    void writeButtonState(int value);
    void writeHasFocus(bool value);

    // Read-only views for tools and tests.
    const QImage &surfaceImage() const;
    GdiRect captionRect() const { return m_captionRect; }
    unsigned captionFormat() const { return m_captionFormat; }
    int lastButton() const { return m_lastButton; }
    bool mouseInside() const { return m_mouseInside; }
    bool isSubclassed() const;
    // The shape most recently given to the window.
    const QRegion &shapeRegion() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();
    void MouseEnter();
    void MouseLeave();
    void propertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void notify(const QString &name);
    // The resize step: minimum size, layout rectangles, window shape, repaint.
    void layoutStep();
    void applyShape();
    ButtonView view() const;
    Rgb translate(OleColor colour) const;
    void paintSystemTheme();
    void drawCaption();
    void drawIcon(int margin);
    void startTracking();
    void subclassProc(SubclassCall &call);
    void showTip();

    // Input steps, in the button numbers 1 left, 2 right, 4 middle.
    void onMouseDown(int button);
    void onMouseUp(int button);
    void onClick();
    void onDoubleClick();

    PlatformContext &m_context;
    std::unique_ptr<Surface> m_surface;
    std::unique_ptr<WindowSubclass> m_subclass;
    std::unique_ptr<QRegion> m_shapeRegion;

    int m_style = 0;
    QString m_caption;
    QImage m_icon;
    int m_iconAlign = 0;
    int m_iconSize = 16;
    int m_captionAlign = 0;
    int m_nonThemeStyle = 0;
    bool m_enabled = true;
    bool m_iconVisible = false;
    bool m_showFocus = false;
    bool m_useCustomColors = false;
    OleColor m_backColor = 0;
    OleColor m_highlightColor = 0;
    OleColor m_fontColor = 0;
    OleColor m_fontHighlightColor = 0;
    QString m_toolTip;
    QString m_toolTipTitle;
    int m_toolTipIcon = 0;
    int m_toolTipType = 0;
    OleColor m_toolTipBackColor = 0;
    OleColor m_toolTipForeColor = 0;
    int m_buttonType = 0;
    bool m_value = false;

    int m_buttonState = 1;
    bool m_hasFocus = false;
    bool m_mouseInside = false;
    int m_lastButton = 0;
    bool m_leftPressed = false;
    bool m_designMode = false;
    bool m_inLayout = false;
    GdiRect m_captionRect;
    unsigned m_captionFormat = kInitialCaptionFormat;
};

} // namespace clipnab

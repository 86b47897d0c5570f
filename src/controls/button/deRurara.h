#pragma once

#include "controls/button/ButtonGeometry.h"
#include "controls/button/ButtonProperties.h"
#include "controls/button/ButtonView.h"
#include "platform/Color.h"
#include "platform/PaintMemo.h"
#include "platform/PropertyValue.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class QRegion;
class QStyle;

namespace clipnab {

class AboutBox;
class PlatformContext;
class PropertyBag;
class Surface;
class ToolTipWindow;
class WindowSubclass;
struct SubclassCall;

// The program's push button: eleven drawing styles, a shaped window, hot tracking with
// MouseEnter/MouseLeave, its own tooltip window, an about box, and persistence in the host's
// property bag.
// The button draws into an image the size of its client area; painting only shows that image.
// Public names are capitalised and setters named writeX: saved-layout names, clear of QWidget's.
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
    // The ButtonType of a check button; 0 is a push button.
    static constexpr int kCheckButton = 1;
    // Normal, hot, pressed, focused and disabled.
    static constexpr std::size_t kRememberedStates = 5;

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
    // Clicks the enabled button as a left press and release on it would; assistive technology's
    // press action.
    void click();
    // Opens a document or address with the shell; above 32 means success.
    int OpenLink(const QString &link);
    // Shows the about box as an always-on-top window of its own.
    void About();

    int Style() const { return m_properties.style; }
    QString Caption() const { return m_properties.caption; }
    QImage Icon() const { return m_properties.icon; }
    int IconAlign() const { return m_properties.iconAlign; }
    int IconSize() const { return m_properties.iconSize; }
    int CaptionAlign() const { return m_properties.captionAlign; }
    int NonThemeStyle() const { return m_properties.nonThemeStyle; }
    bool Enabled() const { return m_properties.enabled; }
    bool IconVisible() const { return m_properties.iconVisible; }
    bool ShowFocus() const { return m_properties.showFocus; }
    bool UseCustomColors() const { return m_properties.useCustomColors; }
    OleColor BackColor() const { return m_properties.backColor; }
    OleColor HighlightColor() const { return m_properties.highlightColor; }
    OleColor FontColor() const { return m_properties.fontColor; }
    OleColor FontHighlightColor() const { return m_properties.fontHighlightColor; }
    QString ToolTip() const { return m_properties.toolTip; }
    QString ToolTipTitle() const { return m_properties.toolTipTitle; }
    int ToolTipIcon() const { return m_properties.toolTipIcon; }
    int ToolTipType() const { return m_properties.toolTipType; }
    OleColor ToolTipBackColor() const { return m_properties.toolTipBackColor; }
    OleColor ToolTipForeColor() const { return m_properties.toolTipForeColor; }
    QFont Font() const { return m_properties.font; }
    int ButtonType() const { return m_properties.buttonType; }
    bool Value() const { return m_properties.value; }
    QString Version() const { return QString::fromLatin1(kButtonVersion); }
    // The state the button shows (see shownState).
    int ButtonState() const { return static_cast<int>(shownState()); }
    bool HasFocus() const { return m_hasFocus; }

    // Property writes: store, then notify and relayout or repaint in the order the table gives.
    void writeStyle(int value) { write(ButtonProperty::Style, value); }
    void writeCaption(const QString &value) { write(ButtonProperty::Caption, value); }
    void writeIcon(const QImage &value) { write(ButtonProperty::Icon, value); }
    void writeIconAlign(int value) { write(ButtonProperty::IconAlign, value); }
    void writeIconSize(int value) { write(ButtonProperty::IconSize, value); }
    void writeCaptionAlign(int value) { write(ButtonProperty::CaptionAlign, value); }
    void writeNonThemeStyle(int value) { write(ButtonProperty::NonThemeStyle, value); }
    // Also resets the state to normal first and enables or disables the window last.
    void writeEnabled(bool value);
    void writeIconVisible(bool value) { write(ButtonProperty::IconVisible, value); }
    void writeShowFocus(bool value) { write(ButtonProperty::ShowFocus, value); }
    void writeUseCustomColors(bool value) { write(ButtonProperty::UseCustomColors, value); }
    void writeBackColor(uint value) { write(ButtonProperty::BackColor, OleColor{value}); }
    void writeHighlightColor(uint value) { write(ButtonProperty::HighlightColor, OleColor{value}); }
    void writeFontColor(uint value) { write(ButtonProperty::FontColor, OleColor{value}); }
    void writeFontHighlightColor(uint value)
    {
        write(ButtonProperty::FontHighlightColor, OleColor{value});
    }
    void writeToolTip(const QString &value) { write(ButtonProperty::ToolTip, value); }
    void writeToolTipTitle(const QString &value) { write(ButtonProperty::ToolTipTitle, value); }
    void writeToolTipIcon(int value) { write(ButtonProperty::ToolTipIcon, value); }
    void writeToolTipType(int value) { write(ButtonProperty::ToolTipType, value); }
    void writeToolTipBackColor(uint value)
    {
        write(ButtonProperty::ToolTipBackColor, OleColor{value});
    }
    void writeToolTipForeColor(uint value)
    {
        write(ButtonProperty::ToolTipForeColor, OleColor{value});
    }
    void writeFont(const QFont &value) { write(ButtonProperty::Font, value); }
    void writeButtonType(int value) { write(ButtonProperty::ButtonType, value); }
    void writeValue(bool value) { write(ButtonProperty::Value, value); }
    // Runtime fields: store and repaint.
    void writeButtonState(int value);
    void writeHasFocus(bool value);

    // Read-only views for tools and tests.
    const QImage &surfaceImage() const;
    GdiRect captionRect() const { return m_captionRect; }
    unsigned captionFormat() const { return m_captionFormat; }
    Qt::MouseButton lastButton() const { return m_lastButton; }
    bool mouseInside() const { return m_mouseInside; }
    bool isSubclassed() const;
    // The shape most recently given to the window.
    const QRegion &shapeRegion() const;
    // Passes of Refresh since the button was made.
    int paintCount() const { return m_paintCount; }
    // The tooltip window of the last pointer entry; none before the first.
    ToolTipWindow *toolTipWindow() const;
    AboutBox *aboutBox() const { return m_about.get(); }

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
    void changeEvent(QEvent *event) override;

private:
    // What decides the caption's pixels besides the body under it.
    struct CaptionKey
    {
        QString text;
        QFont font;
        unsigned format = 0;
        GdiRect rect;
        Rgb color = 0;
        int scale = 1;
        friend bool operator==(const CaptionKey &, const CaptionKey &) = default;
    };
    // What decides the themed bevel's pixels besides the face under it.
    struct ThemeKey
    {
        const QStyle *style = nullptr;
        qint64 palette = 0;
        int state = 0;
        int scale = 1;
        friend bool operator==(const ThemeKey &, const ThemeKey &) = default;
    };

    void notify(const QString &name);
    // The generic property write: store, then what the property's change asks for.
    void write(ButtonProperty property, const PropertyValue &value);
    // The value a default stands for at this moment; nothing for "always stored".
    std::optional<PropertyValue> resolve(const ButtonDefault &source) const;

    clipnab::ButtonStyle buttonStyle() const;
    // The resize step: layout for the current size, then one repaint.
    void resizeStep();
    // Surface size and density, layout rectangles, caption format and window shape; paints
    // nothing.
    void updateLayout();
    // One pass of Refresh without the repaint request.
    void paintSurface();
    void applyShape();
    // The state a pass paints: disabled for a disabled button, else pressed for a checked check
    // button, else hot in design mode (every style but the ringed gradient), else the state
    // input left.
    clipnab::ButtonState shownState() const;
    ButtonView view() const;
    Rgb translate(OleColor color) const;
    // False when the theme could not draw; the face is plain then.
    bool paintSystemTheme(clipnab::ButtonState state);
    void drawCaption(clipnab::ButtonState state);
    void drawIcon(clipnab::ButtonStyle style, clipnab::ButtonState state);
    void startTracking();
    void subclassProc(SubclassCall &call);
    void showTip();

    // Input steps; only the left button presses and clicks. A press from the keyboard or from
    // assistive technology (`byPointer` false) ends hot only while the pointer is over the
    // button, so that no hot look stays behind with the pointer elsewhere.
    void onMouseDown(Qt::MouseButton button);
    void onMouseUp(Qt::MouseButton button, bool byPointer = true);
    void onClick(bool byPointer = true);
    void onDoubleClick();
    clipnab::ButtonState releasedState(bool byPointer) const;

    PlatformContext &m_context;
    std::unique_ptr<Surface> m_surface;
    std::unique_ptr<WindowSubclass> m_subclass;
    std::unique_ptr<QRegion> m_shapeRegion;
    // A child until About makes it a window of its own; the button destroys it either way.
    std::unique_ptr<AboutBox> m_about;
    QPointer<ToolTipWindow> m_tipWindow;

    ButtonProperties m_properties;

    // The state as input and pointer tracking leave it; painting only reads it.
    clipnab::ButtonState m_buttonState = clipnab::ButtonState::Normal;
    bool m_hasFocus = false;
    bool m_mouseInside = false;
    // The button of the most recent release, which decides whether a click counts.
    Qt::MouseButton m_lastButton = Qt::NoButton;
    // Buttons pressed on this button and not yet released.
    Qt::MouseButtons m_pressedButtons;
    bool m_designMode = false;
    GdiRect m_captionRect;
    unsigned m_captionFormat = kInitialCaptionFormat;
    int m_paintCount = 0;
    // The caption and the bevel of the states shown lately: laying out text and drawing through
    // the style take far longer than copying their pixels back.
    PaintMemo<CaptionKey> m_captionMemo{kRememberedStates};
    PaintMemo<ThemeKey> m_themeMemo{kRememberedStates};
};

} // namespace clipnab

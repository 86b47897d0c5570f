#include "controls/panel/XPContainer.h"

#include "controls/panel/HeaderStrip.h"
#include "controls/panel/PanelColourSets.h"
#include "controls/panel/PanelPainter.h"
#include "platform/PlatformContext.h"
#include "platform/PropertyBag.h"
#include "platform/SystemColors.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>

#include <mutex>

namespace clipnab {

namespace {

const QString kDefaultCaption = QStringLiteral("XPContainer");
const QString kCaptionFamily = QStringLiteral("Tahoma");

namespace Key {
const QString HeaderLightColor = QStringLiteral("HeaderLightColor");
const QString HeaderDarkColor = QStringLiteral("HeaderDarkColor");
const QString BackLightColor = QStringLiteral("BackLightColor");
const QString BackDarkColor = QStringLiteral("BackDarkColor");
const QString BorderColor = QStringLiteral("BorderColor");
const QString TextColor = QStringLiteral("TextColor");
const QString Caption = QStringLiteral("Caption");
const QString Style = QStringLiteral("Style");
const QString Theme = QStringLiteral("Theme");
} // namespace Key

// The caption font is rarely installed here; the closest sans fonts stand in for it.
void registerCaptionFontSubstitutes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(kCaptionFamily,
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Verdana"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans"),
                                    QStringLiteral("Nimbus Sans")});
    });
}

QFont captionFont()
{
    registerCaptionFontSubstitutes();
    QFont font(kCaptionFamily);
    font.setPixelSize(PanelMetrics::kCaptionPixelSize);
    font.setBold(true);
    return font;
}

} // namespace

XPContainer::XPContainer(PlatformContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_surface(context.systemColors()),
      m_header(new HeaderStrip(context.systemColors(), this)), m_captionLabel(new QLabel(m_header)),
      m_bodyBox(new QWidget(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    initProperties();

    m_header->setGeometry(PanelMetrics::kHeaderLeft, PanelMetrics::kHeaderTop,
                          PanelMetrics::kHeaderDesignWidth, PanelMetrics::kHeaderHeight);
    m_header->lower();

    m_captionLabel->setTextFormat(Qt::PlainText);
    m_captionLabel->setAutoFillBackground(false);
    m_captionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_captionLabel->setFont(captionFont());
    m_captionLabel->setText(m_caption);
    m_captionLabel->adjustSize();
    m_captionLabel->move(PanelMetrics::kCaptionLeft, 0);

    m_bodyBox->setGeometry(PanelMetrics::kBodyLeft, PanelMetrics::kBodyTop,
                           PanelMetrics::kBodyDesignWidth, PanelMetrics::kBodyDesignHeight);
    m_bodyBox->hide();

    resize(PanelMetrics::kDesignSize);
}

XPContainer::~XPContainer() = default;

QSize XPContainer::sizeHint() const
{
    return PanelMetrics::kDesignSize;
}

void XPContainer::initProperties()
{
    m_headerLightColor = kPanelDefaultColours.headerLight;
    m_headerDarkColor = kPanelDefaultColours.headerDark;
    m_backLightColor = kPanelDefaultColours.backLight;
    m_backDarkColor = kPanelDefaultColours.backDark;
    m_borderColor = kPanelDefaultColours.border;
    m_textColor = kPanelDefaultColours.text;
    m_caption = kDefaultCaption;
    m_style = 0;
    m_theme = 0;
    m_stale = true;
    update();
}

void XPContainer::readProperties(const PropertyBag &bag)
{
    const PanelColourSet &d = kPanelDefaultColours;
    // Read everything first, so a failing entry leaves the panel as it was.
    const OleColor headerLight = bag.readColor(Key::HeaderLightColor, d.headerLight);
    const OleColor headerDark = bag.readColor(Key::HeaderDarkColor, d.headerDark);
    const OleColor backLight = bag.readColor(Key::BackLightColor, d.backLight);
    const OleColor backDark = bag.readColor(Key::BackDarkColor, d.backDark);
    const OleColor border = bag.readColor(Key::BorderColor, d.border);
    const OleColor text = bag.readColor(Key::TextColor, d.text);
    const QString caption = bag.readText(Key::Caption, kDefaultCaption);
    const int style = bag.readInt(Key::Style, 0);
    const int theme = bag.readInt(Key::Theme, 0);

    m_headerLightColor = headerLight;
    m_headerDarkColor = headerDark;
    m_backLightColor = backLight;
    m_backDarkColor = backDark;
    m_borderColor = border;
    m_textColor = text;
    m_caption = caption;
    m_style = style;
    m_theme = theme;
    m_stale = true;
    update();
}

void XPContainer::writeProperties(PropertyBag &bag) const
{
    const PanelColourSet &d = kPanelDefaultColours;
    bag.writeColor(Key::HeaderLightColor, m_headerLightColor, d.headerLight);
    bag.writeColor(Key::HeaderDarkColor, m_headerDarkColor, d.headerDark);
    bag.writeColor(Key::BackLightColor, m_backLightColor, d.backLight);
    bag.writeColor(Key::BackDarkColor, m_backDarkColor, d.backDark);
    bag.writeColor(Key::BorderColor, m_borderColor, d.border);
    bag.writeColor(Key::TextColor, m_textColor, d.text);
    bag.writeText(Key::Caption, m_caption, kDefaultCaption);
    bag.writeInt(Key::Style, m_style, 0);
    bag.writeInt(Key::Theme, m_theme, 0);
}

template <typename T> void XPContainer::writeMember(T &member, const T &value, const QString &name)
{
    member = value;
    Q_EMIT propertyChanged(name);
    redraw();
}

void XPContainer::writeHeaderLightColor(uint colour)
{
    writeMember<OleColor>(m_headerLightColor, colour, Key::HeaderLightColor);
}

void XPContainer::writeHeaderDarkColor(uint colour)
{
    writeMember<OleColor>(m_headerDarkColor, colour, Key::HeaderDarkColor);
}

void XPContainer::writeBackLightColor(uint colour)
{
    writeMember<OleColor>(m_backLightColor, colour, Key::BackLightColor);
}

void XPContainer::writeBackDarkColor(uint colour)
{
    writeMember<OleColor>(m_backDarkColor, colour, Key::BackDarkColor);
}

void XPContainer::writeBorderColor(uint colour)
{
    writeMember<OleColor>(m_borderColor, colour, Key::BorderColor);
}

void XPContainer::writeTextColor(uint colour)
{
    writeMember<OleColor>(m_textColor, colour, Key::TextColor);
}

void XPContainer::writeCaption(const QString &caption)
{
    writeMember(m_caption, caption, Key::Caption);
}

void XPContainer::writeStyle(int style)
{
    writeMember(m_style, style, Key::Style);
}

void XPContainer::writeTheme(int theme)
{
    m_theme = theme;
    Q_EMIT propertyChanged(Key::Theme);
    if (theme < 0 || theme >= static_cast<int>(kPanelColourSets.size()))
        return;
    const PanelColourSet &set = kPanelColourSets[static_cast<std::size_t>(theme)];
    writeHeaderLightColor(set.headerLight);
    writeHeaderDarkColor(set.headerDark);
    writeBackLightColor(set.backLight);
    writeBackDarkColor(set.backDark);
    writeBorderColor(set.border);
    writeTextColor(set.text);
}

void XPContainer::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    layoutParts();
}

void XPContainer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void XPContainer::paintEvent(QPaintEvent *event)
{
    // Properties restored after the panel was shown are drawn on its next paint.
    if (m_stale)
        drawParts();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface.image(), event->rect());
}

void XPContainer::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The background is a system colour, and colour properties may name system colours too.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        redraw();
}

void XPContainer::layoutParts()
{
    if (const auto layout = layoutPanel(size(), m_header->height(), m_captionLabel->height())) {
        m_captionLabel->move(PanelMetrics::kCaptionLeft, layout->captionTop);
        m_header->resize(layout->headerWidth, m_header->height());
        m_bodyBox->resize(layout->bodyWidth, layout->bodyHeight);
    }
    redraw();
}

void XPContainer::redraw()
{
    drawParts();
    update();
}

void XPContainer::drawParts()
{
    const SystemColors &colors = m_context.systemColors();
    m_stale = false;

    m_surface.resize(width(), height());
    m_surface.setBackColor(colors.color(SysColor::ButtonFace));

    m_captionLabel->setText(m_caption);
    m_captionLabel->adjustSize();

    if (m_style == 0) {
        m_header->show();
        paintHeader();
    } else {
        m_header->hide();
    }

    paintRowGradient(m_surface, colors, m_backLightColor, m_backDarkColor,
                     bodyGradient(m_style, size(), m_bodyBox->geometry()));
    paintFrame(m_surface, colors, m_borderColor);
}

void XPContainer::paintHeader()
{
    const SystemColors &colors = m_context.systemColors();
    Surface &strip = m_header->surface();
    strip.resize(m_header->width(), m_header->height());
    strip.setBackColor(colors.color(SysColor::ButtonFace));
    const bool painted = paintRowGradient(strip, colors, m_headerLightColor, m_headerDarkColor,
                                          headerGradient(m_header->size()));
    m_header->update();
    if (!painted)
        return;
    const Rgb text = TranslateColor(m_textColor, colors);
    if (text == kInvalidRgb)
        return;
    const QColor colour = QColor::fromRgb(toQRgb(text));
    // A palette change travels through the style; skip it when the colour stays.
    if (m_captionLabel->palette().color(QPalette::WindowText) == colour)
        return;
    QPalette palette = m_captionLabel->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_captionLabel->setPalette(palette);
}

} // namespace clipnab

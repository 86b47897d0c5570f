#include "controls/panel/XPContainer.h"

#include "controls/AccessibleFactory.h"
#include "controls/panel/HeaderStrip.h"
#include "controls/panel/PanelAccessible.h"
#include "controls/panel/PanelPainter.h"
#include "platform/PropertyBag.h"
#include "platform/SystemColors.h"
#include "platform/widgets/PlatformContext.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPainter>

#include <mutex>

namespace clipnab {

namespace {

const QString kCaptionFamily = QStringLiteral("Tahoma");

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
      m_header(new HeaderStrip(m_surface, this)), m_captionLabel(new QLabel(m_header)),
      m_bodyBox(new QWidget(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    installAccessibleFactory<XPContainer, PanelAccessible>();
    initProperties();

    m_header->setGeometry(PanelMetrics::kHeaderLeft, PanelMetrics::kHeaderTop,
                          PanelMetrics::kHeaderDesignWidth, PanelMetrics::kHeaderHeight);
    m_header->lower();

    m_captionLabel->setTextFormat(Qt::PlainText);
    m_captionLabel->setAutoFillBackground(false);
    m_captionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_captionLabel->setFont(captionFont());
    m_captionLabel->setText(m_properties.caption);
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
    for (const PanelPropertyRow &row : panelPropertyRows())
        storeField(m_properties, row.field, row.defaultValue);
    m_stale = true;
    update();
}

void XPContainer::readProperties(const PropertyBag &bag)
{
    // Read everything first, so a failing entry leaves the panel as it was.
    PanelProperties restored;
    for (const PanelPropertyRow &row : panelPropertyRows())
        storeField(restored, row.field,
                   readBagValue(bag, QString::fromLatin1(row.key), row.format, row.defaultValue));
    m_properties = restored;
    m_stale = true;
    update();
}

void XPContainer::writeProperties(PropertyBag &bag) const
{
    for (const PanelPropertyRow &row : panelPropertyRows())
        writeBagValue(bag, QString::fromLatin1(row.key), row.format,
                      fieldValue(m_properties, row.field), row.defaultValue);
}

void XPContainer::write(PanelProperty property, const PropertyValue &value)
{
    const PanelPropertyRow &row = panelPropertyRow(property);
    storeField(m_properties, row.field, value);
    PanelAccessible::propertyChanged(this, QString::fromLatin1(row.key));
    Q_EMIT propertyChanged(QString::fromLatin1(row.key));
    switch (row.change) {
    case PanelChange::Redraw:
        redraw();
        break;
    case PanelChange::ApplyColorSet:
        applyColorSet();
        break;
    }
}

void XPContainer::applyColorSet()
{
    const int theme = m_properties.theme;
    if (theme < 0 || theme >= static_cast<int>(kPanelColorSets.size()))
        return;
    static_cast<PanelColorSet &>(m_properties) = kPanelColorSets[static_cast<std::size_t>(theme)];
    for (const PanelPropertyRow &row : panelPropertyRows()) {
        if (isColorSetField(row.field))
            Q_EMIT propertyChanged(QString::fromLatin1(row.key));
    }
    redraw();
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

void XPContainer::paintEvent(QPaintEvent *)
{
    // Properties restored after the panel was shown are drawn on its next paint, and so is a
    // panel moved to a screen of another density.
    if (m_stale || m_surface.scale() != Surface::scaleFor(devicePixelRatio()))
        drawParts();
    QPainter painter(this);
    m_surface.drawOn(painter);
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
    ++m_redrawCount;

    m_surface.resize(width(), height(), Surface::scaleFor(devicePixelRatio()));

    m_captionLabel->setText(m_properties.caption);
    m_captionLabel->adjustSize();

    const PanelColorSet &set = m_properties;
    PanelPicture picture;
    picture.background = colors.color(SysColor::kButtonFace);
    if (m_properties.style == 0) {
        m_header->show();
        // The strip shows the panel's surface: the panel's repaint repaints it too.
        picture.header = headerBand();
    } else {
        m_header->hide();
    }
    picture.body =
        m_bodyRows.band(colors, set.backLight, set.backDark,
                        bodyGradient(m_properties.style, size(), m_bodyBox->geometry()), height());
    picture.frame = frameColor(colors, set.border);
    paintPanel(m_surface, picture);
}

const RowBand *XPContainer::headerBand()
{
    const SystemColors &colors = m_context.systemColors();
    const PanelColorSet &set = m_properties;
    const QRect strip = m_header->geometry();
    if (const RowBand *band =
            m_headerRows.band(colors, set.headerLight, set.headerDark, headerGradient(strip.size()),
                              strip.height(), strip.topLeft())) {
        setCaptionColor(translateColor(set.text, colors));
        return band;
    }
    // Without a gradient the strip shows the button face, and the caption keeps its colour.
    const std::size_t rows = static_cast<std::size_t>(std::max(strip.height(), 0));
    m_plainHeader = RowBand{strip.left(), strip.left() + strip.width(), strip.top(),
                            std::vector<QRgb>(rows, toQRgb(colors.color(SysColor::kButtonFace)))};
    return &m_plainHeader;
}

void XPContainer::setCaptionColor(Rgb text)
{
    if (text == kInvalidRgb)
        return;
    const QColor color = QColor::fromRgb(toQRgb(text));
    // A palette change travels through the style; skip it when the colour stays.
    if (m_captionLabel->palette().color(QPalette::WindowText) == color)
        return;
    QPalette palette = m_captionLabel->palette();
    palette.setColor(QPalette::WindowText, color);
    m_captionLabel->setPalette(palette);
}

} // namespace clipnab

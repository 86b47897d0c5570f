#include "platform/widgets/ToolTipWindow.h"

#include "platform/SystemColors.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace clipnab {

namespace {

using namespace std::chrono_literals;

constexpr int kMaxTextWidth = 320;
// Display times: long enough to read a short tip, longer for long ones, bounded.
constexpr std::chrono::milliseconds kShortestDisplay = 5s;
constexpr std::chrono::milliseconds kLongestDisplay = 15s;
constexpr qsizetype kShortTipCharacters = 50;
constexpr qsizetype kCharactersPerExtraSecond = 20;
constexpr int kIconGap = 6;
constexpr int kTitleGap = 5;
// Share of the text colour in the outline colour; the rest is the background.
constexpr double kOutlineShare = 0.55;

QColor systemColor(const SystemColors &colors, int index)
{
    return QColor::fromRgb(toQRgb(colors.color(index)));
}

QColor blend(const QColor &a, const QColor &b, double share)
{
    const auto mix = [share](int x, int y) {
        return static_cast<int>(std::lround(share * x + (1.0 - share) * y));
    };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

// The outline of the body (and stem), `inset` pixels inside the pixel edges: 0 covers whole
// pixels (the window's shape), 0.5 runs through pixel centres (a crisp one-pixel outline).
QPainterPath outlinePath(ToolTipForm form, const ToolTipShape &shape, qreal inset)
{
    const QRectF body = QRectF(shape.body).adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    if (form == ToolTipForm::Rectangle || shape.stem.size() != 3) {
        path.addRect(body);
        return path;
    }
    path.addRoundedRect(body, ToolTipMetrics::kCornerRadius, ToolTipMetrics::kCornerRadius);
    // The base reaches a pixel into the body so that the two shapes join without a seam.
    const qreal baseY = shape.above ? body.bottom() - 1.0 : body.top() + 1.0;
    const qreal tipY = shape.above ? shape.stem[0].y() + 1.0 - inset : shape.stem[0].y() + inset;
    QPolygonF stem;
    stem << QPointF(shape.stem[0].x() + 0.5, tipY) << QPointF(shape.stem[1].x() + inset, baseY)
         << QPointF(shape.stem[2].x() + 1.0 - inset, baseY);
    QPainterPath stemPath;
    stemPath.addPolygon(stem);
    stemPath.closeSubpath();
    return path.united(stemPath);
}

} // namespace

ToolTipWindow::ToolTipWindow(ToolTipForm form, const SystemColors &colors, QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      m_form(form), m_colors(colors)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setFont(QToolTip::font());
    m_wakeUp.setSingleShot(true);
    m_displayTimer.setSingleShot(true);
    connect(&m_wakeUp, &QTimer::timeout, this, [this] { popUp(m_pointer); });
    connect(&m_displayTimer, &QTimer::timeout, this, [this] { pop(true); });
}

void ToolTipWindow::addTool(QWidget *tool, const QRect &rect, const QString &text)
{
    if (m_tool)
        m_tool->removeEventFilter(this);
    m_tool = tool;
    m_toolRect = rect;
    m_text = text;
    if (!tool)
        return;
    tool->installEventFilter(this);
    // The pointer may already rest on the tool: the move that brought it there is past.
    if (tool->underMouse()) {
        const QPoint global = QCursor::pos();
        watchPointer(tool->mapFromGlobal(global), global);
    }
}

void ToolTipWindow::setTitle(int icon, const QString &title)
{
    m_icon = icon;
    m_title = title;
    update();
}

void ToolTipWindow::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void ToolTipWindow::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

QColor ToolTipWindow::textColor() const
{
    return m_textColor.value_or(systemColor(m_colors, SysColor::kTooltipText));
}

QColor ToolTipWindow::backgroundColor() const
{
    return m_backgroundColor.value_or(systemColor(m_colors, SysColor::kTooltipBackground));
}

int ToolTipWindow::delay(QStyle::StyleHint hint) const
{
    const QWidget *source = m_tool ? m_tool.data() : this;
    return source->style()->styleHint(hint, nullptr, source);
}

void ToolTipWindow::watchPointer(QPoint localPos, QPoint globalPos)
{
    if (!m_toolRect.contains(localPos)) {
        pop(false);
        return;
    }
    if (m_waitForLeave || isVisible())
        return;
    // The tip wakes once the pointer has rested for the delay.
    m_pointer = globalPos;
    m_wakeUp.start(delay(QStyle::SH_ToolTip_WakeUpDelay));
}

void ToolTipWindow::popUp(QPoint globalPos)
{
    m_wakeUp.stop();
    if (m_text.isEmpty())
        return;
    m_shape = shapeAt(globalPos);
    setGeometry(m_shape.geometry);
    setMask(QRegion(outlinePath(m_form, m_shape, 0).toFillPolygon().toPolygon()));
    show();
    update();
    if (!m_watchingApplication) {
        qApp->installEventFilter(this);
        m_watchingApplication = true;
    }
    // The style's fall-asleep delay is how soon a tip wakes again, not how long it stays up.
    m_displayTimer.start(displayTime(m_title.size() + m_text.size()));
}

std::chrono::milliseconds ToolTipWindow::displayTime(qsizetype characters)
{
    const qsizetype extra = std::max<qsizetype>(characters - kShortTipCharacters, 0);
    const qsizetype cap = (kLongestDisplay - kShortestDisplay) / 1s * kCharactersPerExtraSecond;
    return kShortestDisplay +
           std::chrono::milliseconds(std::min(extra, cap) * 1000 / kCharactersPerExtraSecond);
}

void ToolTipWindow::pop(bool untilLeave)
{
    m_wakeUp.stop();
    m_displayTimer.stop();
    m_waitForLeave = untilLeave;
    if (m_watchingApplication) {
        qApp->removeEventFilter(this);
        m_watchingApplication = false;
    }
    hide();
}

bool ToolTipWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        // A click or a key anywhere while the tip shows, or on the tool while it wakes.
        if (watched == m_tool || m_watchingApplication)
            pop(true);
        break;
    case QEvent::MouseMove:
        if (watched == m_tool) {
            const auto *move = static_cast<QMouseEvent *>(event);
            watchPointer(move->position().toPoint(), move->globalPosition().toPoint());
        }
        break;
    case QEvent::Leave:
    case QEvent::Hide:
        if (watched == m_tool)
            pop(false);
        break;
    default:
        break;
    }
    return false;
}

bool ToolTipWindow::hasTitle() const
{
    return !m_title.isEmpty() || !iconPixmap().isNull();
}

QFont ToolTipWindow::titleFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QPixmap ToolTipWindow::iconPixmap() const
{
    QStyle::StandardPixmap which = QStyle::SP_MessageBoxInformation;
    switch (m_icon) {
    case ToolTipIcon::kInformation:
        which = QStyle::SP_MessageBoxInformation;
        break;
    case ToolTipIcon::kWarning:
        which = QStyle::SP_MessageBoxWarning;
        break;
    case ToolTipIcon::kError:
        which = QStyle::SP_MessageBoxCritical;
        break;
    default:
        return {};
    }
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    return style()->standardIcon(which, nullptr, this).pixmap(size);
}

int ToolTipWindow::titleHeight(const QPixmap &icon) const
{
    const int iconHeight =
        icon.isNull() ? 0 : static_cast<int>(icon.height() / icon.devicePixelRatio());
    return std::max(iconHeight, QFontMetrics(titleFont()).height());
}

QRect ToolTipWindow::textBounds() const
{
    return QFontMetrics(font()).boundingRect(
        QRect(0, 0, kMaxTextWidth, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
}

QSize ToolTipWindow::contentSize() const
{
    const QRect text = textBounds();
    int width = text.width();
    int height = text.height();
    if (hasTitle()) {
        const QPixmap icon = iconPixmap();
        const int iconWidth =
            icon.isNull() ? 0 : static_cast<int>(icon.width() / icon.devicePixelRatio()) + kIconGap;
        width = std::max(width, iconWidth + QFontMetrics(titleFont()).horizontalAdvance(m_title));
        height += titleHeight(icon) + kTitleGap;
    }
    return {width, height};
}

ToolTipShape ToolTipWindow::shapeAt(QPoint globalPos) const
{
    const QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = m_tool ? m_tool->screen() : this->screen();
    return layoutToolTip(m_form, contentSize(), globalPos, screen->availableGeometry());
}

void ToolTipWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor background = backgroundColor();
    const QColor foreground = textColor();
    p.setPen(QPen(blend(foreground, background, kOutlineShare), 1.0));
    p.setBrush(background);
    p.drawPath(outlinePath(m_form, m_shape, 0.5));

    QRect content = m_shape.content;
    p.setPen(foreground);
    if (hasTitle()) {
        const QPixmap icon = iconPixmap();
        const int height = titleHeight(icon);
        int x = content.left();
        if (!icon.isNull()) {
            const int iconHeight = static_cast<int>(icon.height() / icon.devicePixelRatio());
            p.drawPixmap(x, content.top() + (height - iconHeight) / 2, icon);
            x += static_cast<int>(icon.width() / icon.devicePixelRatio()) + kIconGap;
        }
        p.setFont(titleFont());
        p.drawText(QRect(x, content.top(), content.right() - x + 1, height),
                   Qt::AlignLeft | Qt::AlignVCenter, m_title);
        content.setTop(content.top() + height + kTitleGap);
    }
    p.setFont(font());
    p.drawText(content, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
}

} // namespace clipnab

#pragma once

#include "platform/widgets/ToolTipLayout.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <optional>

namespace clipnab {

class SystemColors;

// Icons of a tooltip title, by the numbers the title takes: 0 none, 1 information, 2 warning,
// 3 error.
namespace ToolTipIcon {
constexpr int kNone = 0;
constexpr int kInformation = 1;
constexpr int kWarning = 2;
constexpr int kError = 3;
} // namespace ToolTipIcon

// A tooltip window of our own: a frameless, always-on-top window that never takes focus or
// pointer input. It watches the pointer over one tool (a rectangle of a widget) and pops up
// after the style's wake-up delay while the pointer rests there; it hides when its display time
// is up, when the pointer leaves the tool, and on a click or a key press, and comes back only
// after the pointer has left the tool. Text is shown as given: an ampersand
// is an ampersand.
class ToolTipWindow final : public QWidget
{
    Q_OBJECT
public:
    // The window belongs to `owner` and is destroyed with it.
    ToolTipWindow(ToolTipForm form, const SystemColors &colors, QWidget *owner);

    // The one tool: `rect` in `tool`'s coordinates, and the text shown over it.
    void addTool(QWidget *tool, const QRect &rect, const QString &text);
    // An optional bold title line with a standard icon.
    void setTitle(int icon, const QString &title);
    // Colours replacing the system's tooltip colours (text 23, background 24).
    void setTextColor(const QColor &color);
    void setBackgroundColor(const QColor &color);

    ToolTipForm form() const { return m_form; }
    QString text() const { return m_text; }
    QString title() const { return m_title; }
    int icon() const { return m_icon; }
    QColor textColor() const;
    QColor backgroundColor() const;
    // Where the tip goes, and its outline, for the pointer at `globalPos`.
    ToolTipShape shapeAt(QPoint globalPos) const;

    // Pops the tip up for the pointer at `globalPos` at once, without the wake-up delay; a tip
    // without text stays hidden.
    void popUp(QPoint globalPos);

    // How long a tip with `characters` characters of title and text stays up: 5 s, and 1 s more
    // for every 20 characters beyond 50, at most 15 s.
    static std::chrono::milliseconds displayTime(qsizetype characters);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Hides the tip; a pop that is not a leave keeps it away until the pointer leaves.
    void pop(bool untilLeave);
    void watchPointer(QPoint localPos, QPoint globalPos);
    int delay(QStyle::StyleHint hint) const;
    bool hasTitle() const;
    QFont titleFont() const;
    QPixmap iconPixmap() const;
    int titleHeight(const QPixmap &icon) const;
    QRect textBounds() const;
    QSize contentSize() const;

    ToolTipForm m_form;
    const SystemColors &m_colors;
    QPointer<QWidget> m_tool;
    QRect m_toolRect;
    QString m_text;
    QString m_title;
    int m_icon = ToolTipIcon::kNone;
    std::optional<QColor> m_textColor;
    std::optional<QColor> m_backgroundColor;
    ToolTipShape m_shape;
    QTimer m_wakeUp;
    QTimer m_displayTimer;
    QPoint m_pointer;
    bool m_waitForLeave = false;
    bool m_watchingApplication = false;
};

} // namespace clipnab

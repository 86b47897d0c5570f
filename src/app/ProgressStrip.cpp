#include "app/ProgressStrip.h"

#include "app/ProgressStripAccessible.h"
#include "app/WindowGeometry.h"
#include "controls/AccessibleFactory.h"

#include <QAccessible>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace clipnab {

using WindowGeometry::pixels;

ProgressStrip::ProgressStrip(QWidget *parent) : QFrame(parent)
{
    installAccessibleFactory<ProgressStrip, ProgressStripAccessible>();
    setObjectName(QStringLiteral("Shape1"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette framePalette = palette();
    framePalette.setColor(QPalette::WindowText, Qt::black);
    setPalette(framePalette);
    setGeometry(pixels(WindowGeometry::kProgressFrame));
    hide();

    m_strip = new QLabel(this);
    m_strip->setObjectName(QStringLiteral("imgPB"));
    m_strip->setPixmap(QPixmap(QStringLiteral(":/clipnab/progress.png")));
    m_strip->setScaledContents(true);
    placeStrip(pixels(WindowGeometry::kProgressStrip));

    m_sweepTimer = new QTimer(this);
    m_sweepTimer->setInterval(WindowGeometry::kSweepIntervalMs);
    connect(m_sweepTimer, &QTimer::timeout, this, &ProgressStrip::sweep);
}

void ProgressStrip::showFraction(qint64 part, qint64 whole)
{
    m_sweepTimer->stop();
    setStripWidth(
        WindowGeometry::stripWidthTwips(static_cast<float>(part), static_cast<float>(whole)));
    show();
}

void ProgressStrip::showActivity()
{
    if (!m_sweepTimer->isActive()) {
        m_sweepTick = 0;
        sweep();
        m_sweepTimer->start();
    }
    show();
}

void ProgressStrip::reset()
{
    m_sweepTimer->stop();
    hide();
    setStripWidth(WindowGeometry::kStripRestTwips);
    setReport(std::nullopt, QString());
}

void ProgressStrip::setReport(std::optional<int> percent, const QString &text)
{
    const bool valueChanged = percent != m_percent;
    const bool textChanged = text != m_report;
    m_percent = percent;
    m_report = text;
    if (textChanged) {
        setToolTip(text);
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (valueChanged) {
        QAccessibleValueChangeEvent event(this, m_percent.value_or(0));
        QAccessible::updateAccessibility(&event);
    }
}

void ProgressStrip::setStripWidth(int twips)
{
    const QRect strip = pixels(WindowGeometry::kProgressStrip);
    placeStrip({strip.left(), strip.top(), std::max(1, pixels(twips)), strip.height()});
}

void ProgressStrip::sweep()
{
    // A short block travelling to and fro, anchored at neither end: activity, not an amount.
    const WindowGeometry::TwipRect &strip = WindowGeometry::kProgressStrip;
    placeStrip(pixels({strip.left + WindowGeometry::sweepOffsetTwips(m_sweepTick++), strip.top,
                       WindowGeometry::kSweepBlockTwips, strip.height}));
}

void ProgressStrip::placeStrip(const QRect &rect)
{
    m_strip->setGeometry(rect.translated(-pos()));
}

} // namespace clipnab

#include "app/Form1.h"
#include "controls/button/AboutBox.h"
#include "controls/button/ButtonGeometry.h"
#include "controls/button/deRurara.h"
#include "platform/Contrast.h"
#include "platform/widgets/ToolTipWindow.h"
#include "support/FakeBrowser.h"
#include "support/WindowRig.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

// The window's layout is a resource of its static library.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

using namespace clipnab;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:9");

// A desktop palette with `text` on `window` for windows, buttons and tooltips alike.
QPalette desktop(const QColor &text, const QColor &window)
{
    QPalette palette(text, window);
    for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        palette.setColor(role, text);
    for (const auto role : {QPalette::Base, QPalette::Button, QPalette::ToolTipBase})
        palette.setColor(role, window);
    return palette;
}

// The strongest contrast of a pixel of `area` (logical pixels) against the colour most pixels of
// its row have: the panels and faces are graded row by row, so that colour is what the text is
// drawn on. Pixels in `skipped` are left out.
double textContrast(const QImage &image, const QRect &area, const QRect &skipped = QRect())
{
    const qreal ratio = image.devicePixelRatio();
    const auto device = [ratio](const QRect &r) {
        return QRect((QPointF(r.topLeft()) * ratio).toPoint(), (QSizeF(r.size()) * ratio).toSize());
    };
    const QRect rows = device(area).intersected(image.rect());
    const QRect skip = device(skipped);
    double strongest = 1.0;
    for (int y = rows.top(); y <= rows.bottom(); ++y) {
        QHash<QRgb, int> counts;
        for (int x = rows.left(); x <= rows.right(); ++x) {
            if (!skip.contains(x, y))
                ++counts[image.pixel(x, y) | 0xff000000u];
        }
        if (counts.isEmpty())
            continue;
        const auto background = std::max_element(counts.cbegin(), counts.cend());
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            strongest = std::max(strongest, Contrast::ratio(it.key(), background.key()));
    }
    return strongest;
}

} // namespace

// Every text on the program's own surfaces is readable, at least 4.5:1 against what is drawn
// behind it, on a light, a dark and a high-contrast desktop; and no label is cut. CTest runs it
// also at QT_SCALE_FACTOR 1.5 and 2.
class ContrastTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup() { QApplication::setPalette(m_light); }
    void textsAreReadable_data();
    void textsAreReadable();

private:
    QPalette m_light;
};

void ContrastTest::initTestCase()
{
    initAppResources();
    m_light = QApplication::palette();
}

void ContrastTest::textsAreReadable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QString>("surface");
    const std::pair<const char *, QPalette> palettes[] = {
        {"light", QApplication::palette()},
        {"dark", desktop(Qt::white, QColor(0x35, 0x35, 0x35))},
        {"high contrast", desktop(Qt::yellow, Qt::black)},
    };
    // Buttons in their states (a disabled caption is exempt, as for any inactive control), the
    // labels on the panels as a download goes, the button's tooltip and about box.
    for (const auto &[name, palette] : palettes) {
        for (const char *surface :
             {"cmdDown", "cmdDown hot", "cmdDown pressed", "cmdExit", "cmdSearch",
              "cmdStart focused", "lblUrl", "lblUrl available", "lblUrl refused",
              "Label1 analysing", "Label1 downloading", "Label4 loaded", "tooltip", "about"})
            QTest::addRow("%s, %s", name, surface) << palette << QString::fromLatin1(surface);
    }
}

void ContrastTest::textsAreReadable()
{
    QFETCH(QPalette, palette);
    QFETCH(QString, surface);
    QApplication::setPalette(palette);
    WindowRig rig(kSite);
    const QString subject = surface.section(QLatin1Char(' '), 0, 0);
    const QString state = surface.section(QLatin1Char(' '), 1);

    double contrast = 0;
    if (deRurara *button = rig.button(qPrintable(subject))) {
        if (state == QLatin1String("hot") || state == QLatin1String("pressed"))
            button->writeButtonState(state == QLatin1String("hot") ? 2 : 3);
        button->writeHasFocus(state == QLatin1String("focused"));
        // The caption's rectangle, without the icon drawn over it.
        const GdiRect c = button->captionRect();
        QRect icon;
        if (button->IconVisible() && !button->Icon().isNull())
            icon = QRect(iconPosition(static_cast<ButtonAlign>(button->IconAlign()),
                                      button->width(), button->height(), button->IconSize(),
                                      iconMarginFor(static_cast<ButtonStyle>(button->Style()))),
                         QSize(button->IconSize() + 2, button->IconSize() + 2));
        contrast = textContrast(button->grab().toImage(),
                                QRect(c.left, c.top, c.right - c.left, c.bottom - c.top), icon);
    } else if (QLabel *label = rig.label(qPrintable(subject))) {
        if (state == QLatin1String("available") || state == QLatin1String("refused"))
            rig.edit("txtURL")->setText(state == QLatin1String("available")
                                            ? QStringLiteral("http://x/watch?v=abc")
                                            : QStringLiteral("http://"));
        if (subject == QLatin1String("Label1"))
            Q_EMIT rig.button("cmdDown")->Click();
        if (state == QLatin1String("downloading"))
            rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
        if (state == QLatin1String("loaded"))
            rig.search->finish(kSite + QLatin1Char('/'));
        // Not cut: the label is as large as its text.
        QVERIFY(label->isVisible());
        QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY(label->height() >= label->sizeHint().height());
        const QImage image = label->parentWidget()->grab(label->geometry()).toImage();
        contrast = textContrast(image, QRect(QPoint(), label->size()));
    } else if (subject == QLatin1String("tooltip")) {
        deRurara *tool = rig.button("cmdDown");
        ToolTipWindow tip(ToolTipForm::Balloon, rig.context.systemColors(), tool);
        tip.addTool(tool, tool->rect(), QStringLiteral("Download the video in the box"));
        const QPoint at = tool->mapToGlobal(tool->rect().center());
        tip.popUp(at);
        contrast = textContrast(tip.grab().toImage(), tip.shapeAt(at).content);
    } else {
        AboutBox about(rig.context.systemColors(), QStringLiteral("1.0"));
        about.resize(AboutMetrics::kWidth, AboutMetrics::kHeight);
        about.show();
        // The name, the version and the credit lines, left of the Close button.
        contrast = textContrast(about.grab().toImage(), QRect(20, 10, AboutMetrics::kCloseLeft - 20,
                                                              AboutMetrics::kHeight - 20));
    }
    QVERIFY2(contrast >= Contrast::kMinimumTextRatio,
             qPrintable(QStringLiteral("%1:1").arg(contrast, 0, 'f', 2)));
}

QTEST_MAIN(ContrastTest)
#include "tst_contrast.moc"

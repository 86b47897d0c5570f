#include "app/Form1.h"
#include "controls/button/AboutBox.h"
#include "controls/button/ButtonGeometry.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
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

// A dark desktop as dark colour schemes give it: light text on dark windows and buttons.
QPalette darkPalette()
{
    QPalette p(Qt::white, QColor(0x35, 0x35, 0x35), QColor(0x50, 0x50, 0x50),
               QColor(0x23, 0x23, 0x23), QColor(0x2b, 0x2b, 0x2b), Qt::white,
               QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    p.setColor(QPalette::ToolTipBase, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f, 0x7f, 0x7f));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f, 0x7f, 0x7f));
    return p;
}

// A high-contrast desktop: white and yellow on black.
QPalette highContrastPalette()
{
    QPalette p(Qt::white, Qt::black, Qt::white, Qt::white, Qt::gray, Qt::white, Qt::black);
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::Button, Qt::black);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, Qt::yellow);
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, Qt::black);
    p.setColor(QPalette::ToolTipText, Qt::yellow);
    return p;
}

// The strongest contrast of a text pixel in `area` against what is drawn behind it: in each row,
// the background is the colour most of the row's pixels have (the panels and faces are graded
// row by row), and every other pixel is measured against it.
double textContrast(const QImage &image, const QRect &area, const QRect &skipped = QRect())
{
    const QRect rows = area.intersected(image.rect());
    double strongest = 1.0;
    for (int y = rows.top(); y <= rows.bottom(); ++y) {
        QHash<QRgb, int> counts;
        for (int x = rows.left(); x <= rows.right(); ++x) {
            if (!skipped.contains(x, y))
                ++counts[image.pixel(x, y) | 0xff000000u];
        }
        if (counts.isEmpty())
            continue;
        const QRgb background = std::max_element(counts.cbegin(), counts.cend(), [](int a, int b) {
                                    return a < b;
                                }).key();
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            strongest = std::max(strongest, Contrast::ratio(it.key(), background));
    }
    return strongest;
}

QImage picture(QWidget *widget, const QRect &area = QRect())
{
    return widget->grab(area.isNull() ? widget->rect() : area).toImage();
}

// A label as it shows on its panel.
double labelContrast(QLabel *label)
{
    const QImage image = picture(label->parentWidget(), label->geometry());
    return textContrast(image, image.rect());
}

} // namespace

// Every text on the program's own surfaces is readable: at least 4.5:1 against what is drawn
// behind it, on a light, a dark and a high-contrast desktop palette.
class ContrastTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void textsAreReadable_data();
    void textsAreReadable();

private:
    QPalette m_lightPalette;
};

void ContrastTest::initTestCase()
{
    initAppResources();
    m_lightPalette = QApplication::palette();
}

void ContrastTest::cleanup()
{
    QApplication::setPalette(m_lightPalette);
}

void ContrastTest::textsAreReadable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QString>("surface");
    const QList<std::pair<const char *, QPalette>> palettes{
        {"light", QApplication::palette()},
        {"dark", darkPalette()},
        {"high contrast", highContrastPalette()},
    };
    // Buttons in their states (the disabled look is exempt, as for any inactive control), the
    // labels on the panels, the panel captions, the button's tooltip and about box.
    const char *surfaces[] = {
        "cmdDown normal",  "cmdDown hot",      "cmdDown pressed",    "cmdWeb normal",
        "cmdExit normal",  "cmdSearch normal", "cmdStart focused",   "verdict available",
        "verdict refused", "verdict at start", "status analysing",   "status downloading",
        "search progress", "caption Tools",    "caption Downloader", "tooltip",
        "about box",
    };
    for (const auto &[name, palette] : palettes) {
        for (const char *surface : surfaces)
            QTest::addRow("%s, %s", name, surface) << palette << QString::fromLatin1(surface);
    }
}

void ContrastTest::textsAreReadable()
{
    QFETCH(QPalette, palette);
    QFETCH(QString, surface);
    QApplication::setPalette(palette);
    WindowRig rig(kSite);

    double contrast = 0;
    const QString subject = surface.section(QLatin1Char(' '), 0, 0);
    const QString state = surface.section(QLatin1Char(' '), 1);
    if (auto *button = rig.button(qPrintable(subject))) {
        if (state == QLatin1String("hot"))
            button->writeButtonState(2);
        else if (state == QLatin1String("pressed"))
            button->writeButtonState(3);
        else if (state == QLatin1String("focused"))
            button->writeHasFocus(true);
        // The caption's rectangle, without the icon drawn over it.
        const GdiRect caption = button->captionRect();
        QRect icon;
        if (button->IconVisible() && !button->Icon().isNull()) {
            const int size = button->IconSize();
            icon = QRect(iconPosition(static_cast<ButtonAlign>(button->IconAlign()),
                                      button->width(), button->height(), size,
                                      iconMarginFor(static_cast<ButtonStyle>(button->Style()))),
                         QSize(size + 2, size + 2));
        }
        contrast = textContrast(
            picture(button),
            QRect(QPoint(caption.left, caption.top), QPoint(caption.right - 1, caption.bottom - 1)),
            icon);
    } else if (subject == QLatin1String("verdict")) {
        if (state == QLatin1String("available"))
            rig.edit("txtURL")->setText(QStringLiteral("http://x/watch?v=abc"));
        else if (state == QLatin1String("refused"))
            rig.edit("txtURL")->setText(QStringLiteral("http://"));
        contrast = labelContrast(rig.label("lblUrl"));
    } else if (subject == QLatin1String("status")) {
        Q_EMIT rig.button("cmdDown")->Click();
        if (state == QLatin1String("downloading"))
            rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
        QVERIFY(rig.label("Label1")->isVisible());
        contrast = labelContrast(rig.label("Label1"));
    } else if (subject == QLatin1String("search")) {
        contrast = labelContrast(rig.label("Label4"));
    } else if (subject == QLatin1String("caption")) {
        auto *panel = rig.child<XPContainer>(state == QLatin1String("Tools") ? "XPContainer1"
                                                                             : "XPContainer2");
        const QList<QLabel *> labels = panel->findChildren<QLabel *>();
        const auto found = std::find_if(labels.cbegin(), labels.cend(), [&](const QLabel *label) {
            return label->text() == state;
        });
        QVERIFY(found != labels.cend());
        QLabel *caption = *found;
        const QImage image =
            picture(panel, QRect(caption->mapTo(panel, QPoint()), caption->size()));
        contrast = textContrast(image, image.rect());
    } else if (subject == QLatin1String("tooltip")) {
        deRurara *tool = rig.button("cmdDown");
        ToolTipWindow tip(ToolTipForm::Balloon, rig.context.systemColors(), tool);
        tip.addTool(tool, tool->rect(), QStringLiteral("Download the video in the box"));
        const QPoint at = tool->mapToGlobal(tool->rect().center());
        tip.popUp(at);
        contrast = textContrast(picture(&tip), tip.shapeAt(at).content);
    } else if (subject == QLatin1String("about")) {
        AboutBox about(rig.context.systemColors(), QStringLiteral("1.0"));
        about.resize(AboutMetrics::kWidth, AboutMetrics::kHeight);
        about.show();
        // The name, the version and the credit lines, left of the Close button.
        contrast = textContrast(picture(&about), QRect(20, 10, AboutMetrics::kCloseLeft - 20,
                                                       AboutMetrics::kHeight - 20));
    } else {
        QFAIL("unknown surface");
    }
    QVERIFY2(contrast >= Contrast::kMinimumTextRatio,
             qPrintable(QStringLiteral("%1:1").arg(contrast, 0, 'f', 2)));
}

QTEST_MAIN(ContrastTest)
#include "tst_contrast.moc"

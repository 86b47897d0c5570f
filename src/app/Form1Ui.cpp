#include "app/Form1Ui.h"

#include "app/LayoutRestore.h"
#include "app/ProgressCaption.h"
#include "app/ProgressStrip.h"
#include "app/SavedLayout.h"
#include "app/WindowGeometry.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "platform/ControlPalette.h"
#include "search/SearchRules.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

// Resources of a static library are registered by hand.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace clipnab {

namespace {

using WindowGeometry::pixels;

QFont tahoma(double points, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFrame *makeShape(QWidget *parent, const char *name, const WindowGeometry::TwipRect &rect)
{
    auto *shape = new QFrame(parent);
    shape->setObjectName(QLatin1String(name));
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape->setLineWidth(1);
    Form1Ui::setTextColor(shape, QPalette::WindowText, Qt::black);
    shape->setGeometry(pixels(rect));
    return shape;
}

QLabel *makeLabel(QWidget *parent, const char *name, const WindowGeometry::TwipRect &rect,
                  const QString &caption, const QFont &font)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setGeometry(pixels(rect));
    return label;
}

// A control the compiled-in layout must hold; the layout test guards every one of them.
template <typename T> T *restoredControl(QWidget *client, const char *name)
{
    auto *control = client->findChild<T *>(QLatin1String(name));
    if (!control)
        qFatal("The window layout lacks the control %s", name);
    return control;
}

QAction *addAction(QMenu *menu, const char *name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

void Form1Ui::setTextColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

void Form1Ui::showFitted(QLabel *label, const QString &text, const QRect &base)
{
    label->setText(text);
    const QSize needed = label->sizeHint();
    const int width = std::max(base.width(), needed.width());
    const int height = std::max(base.height(), needed.height());
    label->setGeometry(base.left(), base.top() - (height - base.height()) / 2, width, height);
}

void Form1Ui::applyControlLook()
{
    const QPalette desktop = QApplication::palette();
    client->setPalette(ControlPalette::isDark(desktop) ? ControlPalette::light() : QPalette());
}

void Form1Ui::setupUi(QMainWindow *window, PlatformContext &context, const QString &exampleAddress)
{
    initAppResources();
    window->setObjectName(QStringLiteral("Form1"));
    window->setWindowTitle(QString::fromLatin1(kTitle));
    // The installed icon where the theme has it, the bundled one otherwise.
    window->setWindowIcon(QIcon::fromTheme(QStringLiteral("org.clipnab.Clipnab"),
                                           QIcon(QStringLiteral(":/clipnab/clipnab.png"))));
    window->setFont(tahoma(9));

    client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(pixels(WindowGeometry::kClient).size());
    window->setCentralWidget(client);
    applyControlLook();

    LayoutRestore::restore(SavedLayout::load(QString::fromLatin1(kLayoutPath)), context, client);
    downloadButton = restoredControl<deRurara>(client, "cmdDown");
    websiteButton = restoredControl<deRurara>(client, "cmdWeb");
    exitButton = restoredControl<deRurara>(client, "cmdExit");
    searchButton = restoredControl<deRurara>(client, "cmdSearch");
    startButton = restoredControl<deRurara>(client, "cmdStart");
    createSearchBox(restoredControl<XPContainer>(client, "XPContainer1"));
    createDownloaderWidgets(restoredControl<XPContainer>(client, "XPContainer2"), exampleAddress);
    setTabOrder();
    createMenus(window);
}

void Form1Ui::createSearchBox(QWidget *toolsPanel)
{
    searchBox = new QLineEdit(SearchRules::kPlaceholder, toolsPanel);
    searchBox->setObjectName(QStringLiteral("txtsearch"));
    searchBox->setFont(tahoma(8.25));
    searchBox->setGeometry(pixels(WindowGeometry::kSearchBox));
    QPalette palette = searchBox->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    searchBox->setPalette(palette);
    searchBox->setAccessibleName(QStringLiteral("Search words"));
}

void Form1Ui::createDownloaderWidgets(QWidget *downloaderPanel, const QString &exampleAddress)
{
    addressBox = new QLineEdit(exampleAddress, downloaderPanel);
    addressBox->setObjectName(QStringLiteral("txtURL"));
    addressBox->setFont(tahoma(10.5));
    addressBox->setGeometry(pixels(WindowGeometry::kAddressBox));
    // A link dropped on the box replaces its text, as one dropped elsewhere on the window does.
    addressBox->setAcceptDrops(false);

    verdictLabel = makeLabel(downloaderPanel, "lblUrl", WindowGeometry::kVerdictLabel,
                             QStringLiteral("Copy and Paste video URL here"), tahoma(7.5, true));
    verdictLabel->adjustSize();
    setTextColor(verdictLabel, QPalette::WindowText, Qt::black);
    // The verdict under the box describes it to assistive technology.
    addressBox->setAccessibleName(QStringLiteral("Video address"));
    addressBox->setAccessibleDescription(verdictLabel->text());

    makeShape(downloaderPanel, "Shape2", WindowGeometry::kBrowserFrame);
    searchBrowserHost = new QWidget(downloaderPanel);
    searchBrowserHost->setObjectName(QStringLiteral("wbSearch"));
    searchBrowserHost->setGeometry(pixels(WindowGeometry::kSearchBrowser));
    auto *hostLayout = new QVBoxLayout(searchBrowserHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);

    searchProgressLabel = makeLabel(downloaderPanel, "Label4", WindowGeometry::kSearchProgressLabel,
                                    QStringLiteral("0%"), tahoma(9, true));
    searchProgressLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);

    progressStrip = new ProgressStrip(downloaderPanel);
    statusLabel = makeLabel(downloaderPanel, "Label1", WindowGeometry::kStatusLabel,
                            ProgressCaption::kAnalysing, tahoma(9, true));
    showFitted(statusLabel, ProgressCaption::kAnalysing, pixels(WindowGeometry::kStatusLabel));
    statusLabel->hide();
}

void Form1Ui::setTabOrder()
{
    // As a person reads the window.
    QWidget::setTabOrder(downloadButton, websiteButton);
    QWidget::setTabOrder(websiteButton, exitButton);
    QWidget::setTabOrder(exitButton, searchBox);
    QWidget::setTabOrder(searchBox, searchButton);
    QWidget::setTabOrder(searchButton, addressBox);
    QWidget::setTabOrder(addressBox, startButton);
}

void Form1Ui::createMenus(QMainWindow *window)
{
    QMenu *menuFile = window->menuBar()->addMenu(QStringLiteral("File(&F)"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    downloadAction = addAction(menuFile, "menuDown", QStringLiteral("Download(&D)"));
    // Escape stops a download too; the item is enabled only while one runs.
    stopAction = addAction(menuFile, "menuStop", QStringLiteral("Stop download(&T)"));
    stopAction->setShortcut(QKeySequence(Qt::Key_Escape));
    stopAction->setEnabled(false);
    // Addresses copied anywhere fill the address box while this is checked.
    clipboardAction = addAction(menuFile, "menuWatch", QStringLiteral("Watch clipboard(&W)"));
    clipboardAction->setCheckable(true);
    downloadsAction = addAction(menuFile, "menuDownloads", QStringLiteral("Downloads(&L)"));
    downloadsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    preferencesAction =
        addAction(menuFile, "menuPreferences", QStringLiteral("Preferences...(&P)"));
    menuFile->addSeparator()->setObjectName(QStringLiteral("menuS"));
    exitAction = addAction(menuFile, "menuExit", QStringLiteral("Exit(&E)"));
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *menuSearch = window->menuBar()->addMenu(QStringLiteral("Search(&S)"));
    menuSearch->setObjectName(QStringLiteral("menuSearch"));
    searchAction = addAction(menuSearch, "menuSS", QStringLiteral("Search Videos(&S)"));

    QMenu *menuAbout = window->menuBar()->addMenu(QStringLiteral("About(&A)"));
    menuAbout->setObjectName(QStringLiteral("menuAbout"));
    websiteAction = addAction(menuAbout, "menuWeb", QStringLiteral("Website(&W)"));
    menuAbout->addSeparator();
    helpAction = addAction(menuAbout, "menuHelp", QStringLiteral("Help(&H)"));
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    aboutAction = addAction(menuAbout, "menuAboutClipnab", QStringLiteral("About Clipnab(&A)"));

    // Ctrl+L goes to the address box, as in a web browser.
    focusAddressAction = new QAction(window);
    focusAddressAction->setObjectName(QStringLiteral("actionFocusAddress"));
    focusAddressAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    window->addAction(focusAddressAction);
}

} // namespace clipnab

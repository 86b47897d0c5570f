#include "app/Form1.h"

#include "app/ProgressCaption.h"
#include "app/SavedLayout.h"
#include "app/WindowGeometry.h"
#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "platform/Color.h"
#include "platform/Rounding.h"
#include "platform/Shell.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/AddressCheck.h"
#include "search/SearchPanel.h"
#include "search/SearchRules.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

// Resources of a static library are registered by hand.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace clipnab {

namespace {

using WindowGeometry::pixels;

const QString kAnalysingCaption = QStringLiteral("Analysing URL...");
const QString kDownloadingCaption = QStringLiteral("Downloading...");

QFont tahoma(double points, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

QColor verdictColor(bool available)
{
    return available ? QColor(Qt::black) : QColor(Qt::red);
}

QFrame *makeShape(QWidget *parent, const char *name, const WindowGeometry::TwipRect &rect)
{
    auto *shape = new QFrame(parent);
    shape->setObjectName(QLatin1String(name));
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape->setLineWidth(1);
    setTextColor(shape, QPalette::WindowText, Qt::black);
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

// The link a drop carries: the first address of a URL list, else its plain text, trimmed.
std::optional<QString> droppedLink(const QMimeData *data)
{
    if (!data)
        return std::nullopt;
    if (data->hasUrls() && !data->urls().isEmpty())
        return data->urls().constFirst().toString();
    if (data->hasText()) {
        const QString text = data->text().trimmed();
        if (!text.isEmpty())
            return text;
    }
    return std::nullopt;
}

} // namespace

Form1::Form1(PlatformContext &context, Components components, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_siteBase(components.siteBase)
{
    initAppResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Clipnab V2"));
    // The installed icon where the theme has it, the bundled one otherwise.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.clipnab.Clipnab"),
                                   QIcon(QStringLiteral(":/clipnab/clipnab.png"))));
    setAcceptDrops(true);
    setFont(tahoma(9));

    createClientArea();
    restoreSavedControls();
    createOwnWidgets();
    wireTabOrder();
    buildMenus();
    createComponents(std::move(components));
    connectHandlers();

    // The window cannot be resized or maximised.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    startUp();
}

Form1::~Form1()
{
    m_searchBox->removeEventFilter(this);
    // The flow and the search panel refer to the components; they go first.
    m_searchPanel.reset();
    m_download.reset();
}

bool Form1::downloading() const
{
    return m_download->downloading();
}

QString Form1::videoId() const
{
    return m_download->videoId();
}

bool Form1::searchHasFocus() const
{
    return m_searchPanel->searchHasFocus();
}

void Form1::createClientArea()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(pixels(WindowGeometry::kClient).size());
    setCentralWidget(m_client);
}

void Form1::restoreSavedControls()
{
    QHash<QString, QWidget *> containers{{QStringLiteral("Form1"), m_client}};
    const SavedLayout layout = SavedLayout::load(QString::fromLatin1(kLayoutPath));
    for (const ControlRecord &record : layout.controls()) {
        QWidget *control = restoreControl(record, containers.value(record.container, m_client));
        if (!control)
            continue;
        if (qobject_cast<XPContainer *>(control))
            containers.insert(record.name, control);
        control->setGeometry(pixels(record.leftTwips), pixels(record.topTwips),
                             pixels(record.bag.readInt(QStringLiteral("_extentx"), 0)),
                             pixels(record.bag.readInt(QStringLiteral("_extenty"), 0)));
    }

    m_toolsPanel = restoredControl<XPContainer>(m_client, "XPContainer1");
    m_downloaderPanel = restoredControl<XPContainer>(m_client, "XPContainer2");
    m_downloadButton = restoredControl<deRurara>(m_client, "cmdDown");
    m_websiteButton = restoredControl<deRurara>(m_client, "cmdWeb");
    m_exitButton = restoredControl<deRurara>(m_client, "cmdExit");
    m_searchButton = restoredControl<deRurara>(m_client, "cmdSearch");
    m_startButton = restoredControl<deRurara>(m_client, "cmdStart");
}

QWidget *Form1::restoreControl(const ControlRecord &record, QWidget *container)
{
    // A record whose bag cannot be read keeps its defaults; the window still opens.
    if (record.classId == QLatin1String(XPContainer::kClassId)) {
        auto *panel = new XPContainer(m_context, container);
        panel->setObjectName(record.name);
        try {
            panel->readProperties(record.bag);
        } catch (const PropertyBagError &) {
            panel->initProperties();
        }
        return panel;
    }
    if (record.classId == QLatin1String(deRurara::kClassId)) {
        auto *button = new deRurara(m_context, container);
        button->setObjectName(record.name);
        button->setToolTip(record.toolTip);
        try {
            button->readProperties(record.bag);
        } catch (const PropertyBagError &) {
            button->initProperties();
        }
        return button;
    }
    return nullptr;
}

void Form1::createOwnWidgets()
{
    createSearchBox();
    createAddressWidgets();
    createBrowserArea();
    createProgressWidgets();
}

void Form1::createSearchBox()
{
    m_searchBox = new QLineEdit(SearchRules::kPlaceholder, m_toolsPanel);
    m_searchBox->setObjectName(QStringLiteral("txtsearch"));
    m_searchBox->setFont(tahoma(8.25));
    m_searchBox->setGeometry(pixels(WindowGeometry::kSearchBox));
    QPalette palette = m_searchBox->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    m_searchBox->setPalette(palette);
}

void Form1::createAddressWidgets()
{
    m_addressBox =
        new QLineEdit(m_siteBase + QStringLiteral("/watch?v=5qWsH5lO-ME"), m_downloaderPanel);
    m_addressBox->setObjectName(QStringLiteral("txtURL"));
    m_addressBox->setFont(tahoma(10.5));
    m_addressBox->setGeometry(pixels(WindowGeometry::kAddressBox));
    // A link dropped on the box replaces its text, as one dropped elsewhere on the window does.
    m_addressBox->setAcceptDrops(false);

    m_verdictLabel = makeLabel(m_downloaderPanel, "lblUrl", WindowGeometry::kVerdictLabel,
                               QStringLiteral("Copy and Paste video URL here"), tahoma(7.5, true));
    m_verdictLabel->adjustSize();
    setTextColor(m_verdictLabel, QPalette::WindowText, verdictColor(true));
}

void Form1::createBrowserArea()
{
    m_browserFrame = makeShape(m_downloaderPanel, "Shape2", WindowGeometry::kBrowserFrame);
    m_searchBrowserHost = new QWidget(m_downloaderPanel);
    m_searchBrowserHost->setObjectName(QStringLiteral("wbSearch"));
    m_searchBrowserHost->setGeometry(pixels(WindowGeometry::kSearchBrowser));
    auto *hostLayout = new QVBoxLayout(m_searchBrowserHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);

    m_searchProgressLabel =
        makeLabel(m_downloaderPanel, "Label4", WindowGeometry::kSearchProgressLabel,
                  QStringLiteral("0%"), tahoma(9, true));
    m_searchProgressLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
}

void Form1::createProgressWidgets()
{
    m_progressFrame = makeShape(m_downloaderPanel, "Shape1", WindowGeometry::kProgressFrame);
    m_progressFrame->hide();
    m_progressStrip = new QLabel(m_downloaderPanel);
    m_progressStrip->setObjectName(QStringLiteral("imgPB"));
    m_progressStrip->setPixmap(QPixmap(QStringLiteral(":/clipnab/progress.png")));
    m_progressStrip->setScaledContents(true);
    m_progressStrip->setGeometry(pixels(WindowGeometry::kProgressStrip));
    m_progressStrip->hide();
    m_statusLabel = makeLabel(m_downloaderPanel, "Label1", WindowGeometry::kStatusLabel,
                              kAnalysingCaption, tahoma(9, true));
    m_statusLabel->hide();
    m_sweepTimer = new QTimer(this);
    m_sweepTimer->setInterval(WindowGeometry::kSweepIntervalMs);
    connect(m_sweepTimer, &QTimer::timeout, this, &Form1::sweepProgressStrip);
}

void Form1::wireTabOrder()
{
    // As a person reads the window.
    setTabOrder(m_downloadButton, m_websiteButton);
    setTabOrder(m_websiteButton, m_exitButton);
    setTabOrder(m_exitButton, m_searchBox);
    setTabOrder(m_searchBox, m_searchButton);
    setTabOrder(m_searchButton, m_addressBox);
    setTabOrder(m_addressBox, m_startButton);
}

void Form1::buildMenus()
{
    QMenu *menuFile = menuBar()->addMenu(QStringLiteral("File(&F)"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    QAction *menuDown = menuFile->addAction(QStringLiteral("Download(&D)"));
    menuDown->setObjectName(QStringLiteral("menuDown"));
    connect(menuDown, &QAction::triggered, this, &Form1::onDownloadClicked);
    // Escape stops a download too; the item is enabled only while one runs.
    m_stopAction = menuFile->addAction(QStringLiteral("Stop download(&T)"));
    m_stopAction->setObjectName(QStringLiteral("menuStop"));
    m_stopAction->setShortcut(QKeySequence(Qt::Key_Escape));
    m_stopAction->setEnabled(false);
    connect(m_stopAction, &QAction::triggered, this, &Form1::onStopClicked);
    menuFile->addSeparator()->setObjectName(QStringLiteral("menuS"));
    QAction *menuExit = menuFile->addAction(QStringLiteral("Exit(&E)"));
    menuExit->setObjectName(QStringLiteral("menuExit"));
    connect(menuExit, &QAction::triggered, this, &QWidget::close);

    QMenu *menuSearch = menuBar()->addMenu(QStringLiteral("Search(&S)"));
    menuSearch->setObjectName(QStringLiteral("menuSearch"));
    QAction *menuSS = menuSearch->addAction(QStringLiteral("Search Videos(&S)"));
    menuSS->setObjectName(QStringLiteral("menuSS"));
    connect(menuSS, &QAction::triggered, this, &Form1::onSearchClicked);

    QMenu *menuAbout = menuBar()->addMenu(QStringLiteral("About(&A)"));
    menuAbout->setObjectName(QStringLiteral("menuAbout"));
    QAction *menuWeb = menuAbout->addAction(QStringLiteral("Website(&W)"));
    menuWeb->setObjectName(QStringLiteral("menuWeb"));
    connect(menuWeb, &QAction::triggered, this, &Form1::onWebsiteClicked);
}

void Form1::createComponents(Components components)
{
    m_locatorBrowser = std::move(components.locatorBrowser);
    m_transfer = std::move(components.transfer);
    m_searchBrowser = components.makeSearchBrowser(m_searchBrowserHost);
    if (QWidget *view = m_searchBrowser->widget())
        m_searchBrowserHost->layout()->addWidget(view);

    m_download = std::make_unique<DownloadFlow>(
        m_context.clock(), *m_locatorBrowser, *m_transfer,
        DownloadFlow::Settings{m_siteBase, components.downloadFolder});
    m_searchPanel = std::make_unique<SearchPanel>(*m_searchBrowser, m_siteBase);
}

void Form1::connectHandlers()
{
    connect(m_downloadButton, &deRurara::Click, this, &Form1::onDownloadClicked);
    connect(m_startButton, &deRurara::Click, this, &Form1::onStartClicked);
    connect(m_websiteButton, &deRurara::Click, this, &Form1::onWebsiteClicked);
    connect(m_exitButton, &deRurara::Click, this, &Form1::onExitClicked);
    connect(m_searchButton, &deRurara::Click, this, &Form1::onSearchClicked);
    connect(m_addressBox, &QLineEdit::textChanged, this, &Form1::onAddressChanged);
    // Key preview for the one box where a key means something: Enter runs a search. The same
    // filter sees the box's clicks and focus changes.
    m_searchBox->installEventFilter(this);

    connect(m_searchPanel.get(), &SearchPanel::placeholderCleared, this,
            [this] { m_searchBox->setText(QString()); });
    connect(m_searchPanel.get(), &SearchPanel::progressCaptionChanged, this,
            &Form1::showSearchProgress);
    connect(m_searchPanel.get(), &SearchPanel::videoPageFound, m_addressBox, &QLineEdit::setText);

    connect(m_download.get(), &DownloadFlow::downloadingChanged, m_stopAction,
            &QAction::setEnabled);
    connect(m_download.get(), &DownloadFlow::phaseChanged, this, &Form1::showDownloadPhase);
    connect(m_download.get(), &DownloadFlow::progressChanged, this, &Form1::showDownloadProgress);
    connect(m_download.get(), &DownloadFlow::finished, this, &Form1::showDownloadOutcome);
}

void Form1::startUp()
{
    m_searchPanel->setSearchHasFocus(false);
    m_searchBrowser->Navigate(m_siteBase + QLatin1Char('/'));
}

void Form1::onDownloadClicked()
{
    if (!m_downloadButton->Enabled())
        return;
    // The download action: validation, video id, then the locator.
    m_download->start(m_addressBox->text());
}

void Form1::onStartClicked()
{
    if (m_startButton->Enabled())
        onDownloadClicked();
}

void Form1::onWebsiteClicked()
{
    if (m_websiteButton->Enabled())
        m_context.shell().open(QString::fromLatin1(kHomePage));
}

void Form1::onExitClicked()
{
    if (m_exitButton->Enabled())
        close();
}

void Form1::onStopClicked()
{
    m_download->stop();
}

void Form1::onSearchClicked()
{
    if (m_searchButton->Enabled())
        m_searchPanel->search(m_searchBox->text());
}

void Form1::onAddressChanged(const QString &text)
{
    const bool available = AddressCheck::isAvailable(text);
    const QColor color = verdictColor(available);
    setTextColor(m_addressBox, QPalette::Text, color);
    m_verdictLabel->setText(AddressCheck::verdictCaption(available));
    m_verdictLabel->adjustSize();
    setTextColor(m_verdictLabel, QPalette::WindowText, color);
    m_addressAvailable = available;
}

void Form1::setAddress(const QString &address)
{
    if (m_addressBox->text() == address)
        onAddressChanged(address);
    else
        m_addressBox->setText(address);
}

void Form1::onSearchBoxEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        m_searchPanel->setSearchHasFocus(true);
        break;
    case QEvent::FocusOut:
        m_searchPanel->setSearchHasFocus(false);
        break;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_searchBox->rect().contains(mouse->position().toPoint()))
            m_searchPanel->searchBoxClicked(m_searchBox->text());
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_searchPanel->searchHasFocus())
            onSearchClicked();
        break;
    }
    default:
        break;
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (downloading() &&
        m_context.dialogs().confirm(
            this, QStringLiteral("The program is downloading videos, Exit now?")) !=
            Dialogs::Answer::Ok) {
        event->ignore();
        return;
    }
    m_download->stop();
    m_unloaded = true;
    event->accept();
    Q_EMIT terminated();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_searchBox)
        onSearchBoxEvent(event);
    return QMainWindow::eventFilter(watched, event);
}

void Form1::changeEvent(QEvent *event)
{
    // The window keeps its one size: a maximised or full-screen window snaps back.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    QMainWindow::changeEvent(event);
}

std::optional<QString> Form1::linkToDrop(const QDropEvent *event) const
{
    // Not while a download holds the address box.
    if (!m_addressBox->isEnabled())
        return std::nullopt;
    return droppedLink(event->mimeData());
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void Form1::dragMoveEvent(QDragMoveEvent *event)
{
    if (linkToDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void Form1::dropEvent(QDropEvent *event)
{
    const auto link = linkToDrop(event);
    if (!link) {
        event->ignore();
        return;
    }
    setAddress(*link);
    event->acceptProposedAction();
}

void Form1::showSearchProgress(const QString &caption)
{
    // The caption grows to the left from the browser frame's right edge.
    const QRect base = pixels(WindowGeometry::kSearchProgressLabel);
    m_searchProgressLabel->setText(caption);
    const int width = std::max(base.width(), m_searchProgressLabel->sizeHint().width());
    m_searchProgressLabel->setGeometry(base.right() + 1 - width, base.top(), width, base.height());
}

void Form1::showDownloadPhase(DownloadFlow::Phase phase)
{
    switch (phase) {
    case DownloadFlow::Phase::Analysing:
        setDownloadControlsEnabled(false);
        m_statusLabel->setText(kAnalysingCaption);
        m_statusLabel->setVisible(true);
        break;
    case DownloadFlow::Phase::Transferring:
        // Nothing has arrived yet.
        setProgressStripWidth(0);
        setProgressStripVisible(true);
        m_statusLabel->setText(kDownloadingCaption);
        m_statusLabel->setVisible(true);
        break;
    case DownloadFlow::Phase::Idle:
        // Shown with the outcome, whose kind decides whether the box comes first.
        break;
    }
}

void Form1::showDownloadProgress(qint64 received, qint64 total)
{
    if (total > 0) {
        m_sweepTimer->stop();
        // Whole byte counts held in single precision, as the invisible progress bar holds them.
        setProgressStripWidth(WindowGeometry::stripWidthTwips(static_cast<float>(received),
                                                              static_cast<float>(total)));
    } else if (!m_sweepTimer->isActive()) {
        m_sweepTick = 0;
        sweepProgressStrip();
        m_sweepTimer->start();
    }
    // The amount shows only where the label's fixed size has room for it.
    const QString caption = ProgressCaption::withAmount(kDownloadingCaption, received, total);
    const bool fits =
        m_statusLabel->fontMetrics().horizontalAdvance(caption) <= m_statusLabel->width();
    m_statusLabel->setText(fits ? caption : kDownloadingCaption);
}

void Form1::showDownloadOutcome(const DownloadOutcome &outcome)
{
    switch (outcome.kind) {
    case DownloadOutcome::Kind::Invalid:
        warn(outcome.message);
        break;
    case DownloadOutcome::Kind::NoToken:
        // The box shows over the analysing window, which goes idle once it is answered.
        warn(outcome.message);
        showIdleAfterLookup();
        break;
    case DownloadOutcome::Kind::DownloadFailed:
    case DownloadOutcome::Kind::SaveFailed:
        showIdleAfterTransfer();
        warn(outcome.message);
        break;
    case DownloadOutcome::Kind::Stopped:
        showIdleAfterTransfer();
        break;
    case DownloadOutcome::Kind::Saved:
        showIdleAfterTransfer();
        m_context.shell().open(
            QDir::toNativeSeparators(QDir(m_download->settings().downloadFolder).absolutePath()));
        break;
    }
}

void Form1::showIdleAfterLookup()
{
    // A transfer the lookup gave up on has ended with it.
    if (m_progressStrip->isVisible())
        hideProgressStrip();
    setDownloadControlsEnabled(true);
    m_statusLabel->setText(kAnalysingCaption);
    m_statusLabel->setVisible(false);
}

void Form1::showIdleAfterTransfer()
{
    // The status caption stays "Downloading..." until the next lookup sets it.
    setDownloadControlsEnabled(true);
    hideProgressStrip();
    m_statusLabel->setText(kDownloadingCaption);
    m_statusLabel->setVisible(false);
}

void Form1::setDownloadControlsEnabled(bool enabled)
{
    m_downloadButton->writeEnabled(enabled);
    m_startButton->writeEnabled(enabled);
    m_addressBox->setEnabled(enabled);
}

void Form1::setProgressStripVisible(bool visible)
{
    m_progressFrame->setVisible(visible);
    m_progressStrip->setVisible(visible);
}

void Form1::setProgressStripWidth(int twips)
{
    const QRect strip = pixels(WindowGeometry::kProgressStrip);
    m_progressStrip->setGeometry(strip.left(), strip.top(), std::max(1, pixels(twips)),
                                 strip.height());
}

void Form1::hideProgressStrip()
{
    m_sweepTimer->stop();
    setProgressStripVisible(false);
    setProgressStripWidth(WindowGeometry::kStripRestTwips);
}

void Form1::sweepProgressStrip()
{
    // A short block travelling to and fro, anchored at neither end: activity, not an amount.
    const WindowGeometry::TwipRect &strip = WindowGeometry::kProgressStrip;
    m_progressStrip->setGeometry(
        pixels({strip.left + WindowGeometry::sweepOffsetTwips(m_sweepTick++), strip.top,
                WindowGeometry::kSweepBlockTwips, strip.height}));
}

void Form1::warn(const QString &text)
{
    m_context.dialogs().warning(this, text);
}

} // namespace clipnab

#include "app/Form1.h"

#include "app/ClipboardWatch.h"
#include "app/DownloadFolder.h"
#include "app/DownloadNotices.h"
#include "app/DownloadRunner.h"
#include "app/DownloadsWindow.h"
#include "app/PreferencesDialog.h"
#include "app/ProgramInfo.h"
#include "app/ProgressCaption.h"
#include "app/ProgressStrip.h"
#include "app/ProgressText.h"
#include "app/WindowGeometry.h"
#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"
#include "controls/button/deRurara.h"
#include "downloads/DownloadQueue.h"
#include "downloads/DownloadSettings.h"
#include "downloads/DownloadsModel.h"
#include "downloads/HistoryStore.h"
#include "platform/Shell.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/AddressCheck.h"
#include "search/SearchPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace clipnab {

namespace {

// How often the numbers of a running transfer are shown.
constexpr int kNumbersIntervalMs = 250;

// The verdict's colours. Its red is dark enough to read on the light panel and in the white box
// (at least 4.5:1); pure red is not.
QColor verdictColor(bool available)
{
    return available ? QColor(Qt::black) : QColor(0xcc, 0, 0);
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
    m_ui.setupUi(this, m_context, m_siteBase + QStringLiteral("/watch?v=5qWsH5lO-ME"));
    setAcceptDrops(true);
    m_numbersTimer = new QTimer(this);
    m_numbersTimer->setInterval(kNumbersIntervalMs);
    createComponents(std::move(components));
    connectHandlers();

    // The window cannot be resized or maximised.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_searchBrowser->Navigate(m_siteBase + QLatin1Char('/'));
    // The history is not needed for the first paint.
    QTimer::singleShot(0, this, &Form1::openHistory);
}

Form1::~Form1()
{
    m_ui.searchBox->removeEventFilter(this);
    delete m_downloadsWindow;
    m_downloadsModel.reset();
    // The flows and the search panel refer to the components; they go first.
    m_searchPanel.reset();
    m_runner.reset();
    m_queue.reset();
}

bool Form1::downloading() const
{
    return m_queue->totals().count > 0;
}

QString Form1::videoId() const
{
    return m_followed ? m_followed->videoId() : m_runner->firstFlow().videoId();
}

TransferComponent &Form1::transfer() const
{
    return *m_runner->firstParts().transfer;
}

DownloadFlow &Form1::downloadFlow() const
{
    return m_runner->firstFlow();
}

void Form1::createComponents(Components components)
{
    m_searchBrowser = components.makeSearchBrowser(m_ui.searchBrowserHost);
    if (QWidget *view = m_searchBrowser->widget())
        m_ui.searchBrowserHost->layout()->addWidget(view);

    m_historyFolder = components.historyFolder;
    m_queue = std::make_unique<DownloadQueue>();
    m_runner = std::make_unique<DownloadRunner>(
        m_context.clock(), *m_queue,
        DownloadParts{std::move(components.locatorBrowser), std::move(components.transfer)},
        std::move(components.makeDownloadParts),
        DownloadFlow::Settings{m_siteBase, components.downloadFolder});
    m_queue->setConcurrency(std::min(DownloadSettings().downloadsAtOnce(), m_runner->capacity()));
    m_searchPanel = std::make_unique<SearchPanel>(*m_searchBrowser, m_siteBase);
    m_notices = std::make_unique<DownloadNotices>(m_context);
    m_clipboardWatch = std::make_unique<ClipboardWatch>(QGuiApplication::clipboard());
}

void Form1::connectHandlers()
{
    connect(m_ui.downloadButton, &deRurara::Click, this, &Form1::onDownloadClicked);
    connect(m_ui.startButton, &deRurara::Click, this, &Form1::onStartClicked);
    connect(m_ui.websiteButton, &deRurara::Click, this, &Form1::onWebsiteClicked);
    connect(m_ui.exitButton, &deRurara::Click, this, &Form1::onExitClicked);
    connect(m_ui.searchButton, &deRurara::Click, this, &Form1::onSearchClicked);
    connect(m_ui.downloadAction, &QAction::triggered, this, &Form1::onDownloadClicked);
    connect(m_ui.stopAction, &QAction::triggered, this, &Form1::onStopClicked);
    connect(m_ui.exitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_ui.searchAction, &QAction::triggered, this, &Form1::onSearchClicked);
    connect(m_ui.websiteAction, &QAction::triggered, this, &Form1::onWebsiteClicked);
    connect(m_ui.helpAction, &QAction::triggered, this, &Form1::onHelpClicked);
    connect(m_ui.aboutAction, &QAction::triggered, this, &Form1::onAboutClicked);
    connect(m_ui.focusAddressAction, &QAction::triggered, this, &Form1::focusAddress);
    connect(m_ui.addressBox, &QLineEdit::textChanged, this, &Form1::onAddressChanged);
    connect(m_ui.addressBox, &QLineEdit::returnPressed, this, &Form1::onAddressReturn);
    connect(m_numbersTimer, &QTimer::timeout, this, &Form1::showNumbers);
    // Key preview for the one box where a key means something: Enter runs a search. The same
    // filter sees the box's clicks and focus changes.
    m_ui.searchBox->installEventFilter(this);

    connect(m_searchPanel.get(), &SearchPanel::placeholderCleared, this,
            [this] { m_ui.searchBox->setText(QString()); });
    connect(m_searchPanel.get(), &SearchPanel::progressCaptionChanged, this,
            &Form1::showSearchProgress);
    connect(m_searchPanel.get(), &SearchPanel::videoPageFound, m_ui.addressBox,
            &QLineEdit::setText);

    connect(m_runner.get(), &DownloadRunner::started, this, &Form1::onItemStarted);
    connect(m_runner.get(), &DownloadRunner::ended, this, &Form1::onItemEnded);
    connect(m_queue.get(), &DownloadQueue::itemChanged, this, &Form1::showQueueProgress);
    connect(m_queue.get(), &DownloadQueue::itemRemoved, this, &Form1::showQueueProgress);
    connect(m_ui.downloadsAction, &QAction::triggered, this, &Form1::showDownloads);
    connect(m_ui.preferencesAction, &QAction::triggered, this, &Form1::showPreferences);

    connect(m_clipboardWatch.get(), &ClipboardWatch::addressFound, this, &Form1::setAddress);
    connect(m_ui.clipboardAction, &QAction::toggled, this, [this](bool watch) {
        m_clipboardWatch->setWatching(watch);
        DownloadSettings().setWatchClipboard(watch);
    });
    m_ui.clipboardAction->setChecked(DownloadSettings().watchClipboard());
}

void Form1::onDownloadClicked()
{
    if (!m_ui.downloadButton->Enabled())
        return;
    // The download action: validation, then the queue, which starts the locator when a place
    // is free. The address box is free again at once.
    const QString address = m_ui.addressBox->text();
    if (const auto failure = AddressCheck::validate(address, !AddressCheck::isAvailable(address))) {
        warn({.kind = DownloadOutcome::Kind::Invalid, .message = *failure});
        return;
    }
    DownloadRecord draft;
    draft.address = address;
    draft.videoId = AddressCheck::cutVideoId(address);
    if (!confirmSaveAgain(draft.videoId))
        return;
    const bool second = downloading();
    m_queue->enqueue(draft);
    if (second && !m_downloadsOpenedOnce)
        showDownloads();
}

bool Form1::confirmSaveAgain(const QString &videoId)
{
    if (!m_history || !DownloadSettings().askBeforeSavingAgain())
        return true;
    const auto saved = m_history->latestSaved(videoId);
    if (!saved || !QFileInfo(saved->filePath).isFile())
        return true;
    const QDateTime when = saved->endedAt.isValid() ? saved->endedAt : saved->queuedAt;
    const QString question =
        QStringLiteral("Already saved on %1 as %2. Save it again?")
            .arg(QLocale().toString(when.toLocalTime().date(), QLocale::ShortFormat),
                 QDir::toNativeSeparators(saved->filePath));
    return m_context.dialogs().ask(this, question);
}

void Form1::openHistory()
{
    if (m_historyFolder.isEmpty() || m_history)
        return;
    auto store = std::make_unique<HistoryStore>(m_historyFolder);
    if (!store->open())
        return;
    m_history = std::move(store);
    m_queue->setStore(m_history.get());
    m_queue->restore(m_history->unfinished(), DownloadSettings().resumeAtStart());
    if (!m_history->recoveredPath().isEmpty())
        m_context.dialogs().warning(
            this, QStringLiteral("The download history could not be read."),
            QStringLiteral("It was moved aside as %1 and a new one was started")
                .arg(QDir::toNativeSeparators(m_history->recoveredPath())));
}

void Form1::showDownloads()
{
    m_downloadsOpenedOnce = true;
    if (!m_downloadsWindow) {
        m_downloadsModel = std::make_unique<DownloadsModel>(m_history.get(), m_queue.get());
        m_downloadsWindow =
            new DownloadsWindow(*m_downloadsModel, *m_queue, m_context.shell(), this);
    }
    m_downloadsWindow->show();
    m_downloadsWindow->raise();
    m_downloadsWindow->activateWindow();
}

void Form1::showPreferences()
{
    DownloadSettings settings;
    const QString defaultFolder = DownloadFolder::choose(DownloadFolder::currentPlaces(QString()));
    PreferencesDialog dialog(settings, defaultFolder, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString folderBefore = settings.downloadFolder();
    dialog.save(settings);
    m_queue->setConcurrency(std::min(settings.downloadsAtOnce(), m_runner->capacity()));
    m_ui.clipboardAction->setChecked(settings.watchClipboard());
    // A folder given on the command line holds until the preference itself changes.
    const QString folder = settings.downloadFolder();
    if (folder != folderBefore)
        m_runner->setDownloadFolder(folder.isEmpty() ? defaultFolder
                                                     : QFileInfo(folder).absoluteFilePath());
}

void Form1::onStartClicked()
{
    if (m_ui.startButton->Enabled())
        onDownloadClicked();
}

void Form1::onWebsiteClicked()
{
    if (m_ui.websiteButton->Enabled())
        m_context.shell().open(QString::fromLatin1(kHomePage));
}

void Form1::onExitClicked()
{
    if (m_ui.exitButton->Enabled())
        close();
}

void Form1::onStopClicked()
{
    // Stops the download the window shows.
    if (const qint64 id = m_followed ? m_runner->itemOf(m_followed) : 0)
        m_queue->stop(id);
}

void Form1::onSearchClicked()
{
    if (m_ui.searchButton->Enabled())
        m_searchPanel->search(m_ui.searchBox->text());
}

void Form1::onHelpClicked()
{
    // The man page where the desktop can show it, else the README's section.
    const QString target = ProgramInfo::helpAddress(QCoreApplication::applicationDirPath());
    if (!m_context.shell().open(target) && target != ProgramInfo::kHelpAddress)
        m_context.shell().open(ProgramInfo::kHelpAddress);
}

void Form1::onAboutClicked()
{
    m_context.dialogs().about(this, ProgramInfo::aboutTitle(), ProgramInfo::aboutText());
}

void Form1::onAddressChanged(const QString &text)
{
    const bool available = AddressCheck::isAvailable(text);
    const QColor color = verdictColor(available);
    Form1Ui::setTextColor(m_ui.addressBox, QPalette::Text, color);
    m_ui.verdictLabel->setText(AddressCheck::verdictCaption(available));
    m_ui.verdictLabel->adjustSize();
    Form1Ui::setTextColor(m_ui.verdictLabel, QPalette::WindowText, color);
    m_ui.addressBox->setAccessibleDescription(m_ui.verdictLabel->text());
}

void Form1::onAddressReturn()
{
    // Enter starts a download of an address the live check calls available, as Download does.
    if (AddressCheck::isAvailable(m_ui.addressBox->text()))
        onDownloadClicked();
}

void Form1::focusAddress()
{
    m_ui.addressBox->setFocus(Qt::ShortcutFocusReason);
    m_ui.addressBox->selectAll();
}

void Form1::setAddress(const QString &address)
{
    if (m_ui.addressBox->text() == address)
        onAddressChanged(address);
    else
        m_ui.addressBox->setText(address);
}

void Form1::onSearchBoxEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        m_searchHasFocus = true;
        break;
    case QEvent::FocusOut:
        m_searchHasFocus = false;
        break;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_ui.searchBox->rect().contains(mouse->position().toPoint()))
            m_searchPanel->searchBoxClicked(m_ui.searchBox->text());
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_searchHasFocus)
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
    if (m_queue->activeCount() > 0 &&
        m_context.dialogs().confirm(
            this, QStringLiteral("The program is downloading videos, Exit now?"),
            QStringLiteral("The downloads can be resumed later.")) != Dialogs::Answer::Ok) {
        event->ignore();
        return;
    }
    // What runs or waits is kept, with its part file, for the next start.
    m_runner->pauseAll();
    m_unloaded = true;
    event->accept();
    Q_EMIT terminated();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.searchBox)
        onSearchBoxEvent(event);
    return QMainWindow::eventFilter(watched, event);
}

void Form1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange)
        m_ui.applyControlLook();
    // The window keeps its one size: a maximised or full-screen window snaps back.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    QMainWindow::changeEvent(event);
}

std::optional<QString> Form1::linkToDrop(const QDropEvent *event) const
{
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
    const QRect base = WindowGeometry::pixels(WindowGeometry::kSearchProgressLabel);
    m_ui.searchProgressLabel->setText(caption);
    const QSize needed = m_ui.searchProgressLabel->sizeHint();
    const int width = std::max(base.width(), needed.width());
    const int height = std::max(base.height(), needed.height());
    m_ui.searchProgressLabel->setGeometry(base.right() + 1 - width,
                                          base.top() - (height - base.height()) / 2, width, height);
}

void Form1::showQueueProgress()
{
    // Downloads of unknown length leave the fraction unknown.
    const DownloadQueue::Totals totals = m_queue->totals();
    m_notices->showProgress(totals.bytes, totals.sized ? totals.total : 0, totals.count);
}

void Form1::onItemStarted(qint64, DownloadFlow *flow)
{
    if (!m_followed)
        follow(flow);
}

void Form1::follow(DownloadFlow *flow)
{
    m_followed = flow;
    m_ui.stopAction->setEnabled(true);
    connect(flow, &DownloadFlow::phaseChanged, this, &Form1::showDownloadPhase);
    connect(flow, &DownloadFlow::progressChanged, this, &Form1::showDownloadProgress);
    // It may be under way already; its bytes show with its next report.
    showDownloadPhase(flow->phase());
}

void Form1::followNext()
{
    // The download that started first among those still running.
    for (qint64 id : m_queue->ids()) {
        if (DownloadFlow *flow = m_runner->flowOf(id); flow && flow->downloading()) {
            follow(flow);
            return;
        }
    }
}

void Form1::onItemEnded(qint64 id, DownloadFlow *flow, const DownloadOutcome &outcome)
{
    const auto record = m_queue->record(id);
    // Before any message box, which would hold it back until answered.
    m_notices->downloadEnded(outcome, record ? record->title : QString(),
                             record ? record->videoId : QString(), isActiveWindow());
    const auto showNext = [this, flow,
                           afterLookup = outcome.kind == DownloadOutcome::Kind::NoToken] {
        if (m_followed != flow)
            return;
        disconnect(flow, nullptr, this, nullptr);
        m_followed = nullptr;
        m_ui.stopAction->setEnabled(false);
        showIdle(afterLookup);
        followNext();
    };
    switch (outcome.kind) {
    case DownloadOutcome::Kind::NoToken:
        // The box shows over the analysing window, which goes idle once it is answered.
        warn(outcome);
        showNext();
        break;
    case DownloadOutcome::Kind::Invalid:
    case DownloadOutcome::Kind::DownloadFailed:
    case DownloadOutcome::Kind::SaveFailed:
        showNext();
        warn(outcome);
        break;
    case DownloadOutcome::Kind::Stopped:
    case DownloadOutcome::Kind::Paused:
        showNext();
        break;
    case DownloadOutcome::Kind::Saved:
        showNext();
        // The folder opens once the queue has nothing more to save.
        if (!downloading())
            m_context.shell().open(QDir::toNativeSeparators(
                QDir(m_runner->firstFlow().settings().downloadFolder).absolutePath()));
        break;
    }
}

void Form1::showDownloadPhase(DownloadFlow::Phase phase)
{
    switch (phase) {
    case DownloadFlow::Phase::Analysing:
        showStatus(ProgressCaption::kAnalysing);
        m_ui.statusLabel->setVisible(true);
        break;
    case DownloadFlow::Phase::Transferring:
        // Nothing has arrived yet.
        m_ui.progressStrip->showFraction(0, 1);
        showStatus(ProgressCaption::kDownloading);
        m_ui.statusLabel->setVisible(true);
        m_rate.restart();
        m_sinceTransferStart.start();
        m_received = -1;
        m_total = 0;
        m_numbersTimer->start();
        break;
    case DownloadFlow::Phase::Idle:
        // Shown with the outcome (onItemEnded).
        break;
    }
}

void Form1::showDownloadProgress(qint64 received, qint64 total)
{
    if (total > 0)
        m_ui.progressStrip->showFraction(received, total);
    else
        m_ui.progressStrip->showActivity();
    // The amount shows only where the label's fixed size has room for it.
    const QString caption =
        ProgressCaption::withAmount(ProgressCaption::kDownloading, received, total);
    const bool fits = m_ui.statusLabel->fontMetrics().horizontalAdvance(caption) <=
                      WindowGeometry::pixels(WindowGeometry::kStatusLabel).width();
    showStatus(fits ? caption : ProgressCaption::kDownloading);
    const bool first = m_received < 0;
    m_received = received;
    m_total = total;
    m_rate.sample(m_sinceTransferStart.elapsed(), received);
    if (first)
        showNumbers();
}

void Form1::showNumbers()
{
    if (m_received < 0)
        return;
    // A sample at each showing lets the speed fall while nothing arrives.
    m_rate.sample(m_sinceTransferStart.elapsed(), m_received);
    const ProgressText numbers(m_received, m_total, m_rate.bytesPerSecond(),
                               m_rate.secondsLeft(m_total));
    setWindowTitle(numbers.windowTitle(QString::fromLatin1(Form1Ui::kTitle)));
    m_ui.progressStrip->setReport(numbers.percent(), numbers.line());
}

void Form1::stopNumbers()
{
    m_numbersTimer->stop();
    m_received = -1;
    setWindowTitle(QString::fromLatin1(Form1Ui::kTitle));
}

void Form1::showStatus(const QString &caption)
{
    Form1Ui::showFitted(m_ui.statusLabel, caption,
                        WindowGeometry::pixels(WindowGeometry::kStatusLabel));
}

void Form1::showIdle(bool afterLookup)
{
    // A transfer the lookup gave up on has ended with it.
    if (!afterLookup || m_ui.progressStrip->isVisible())
        m_ui.progressStrip->reset();
    stopNumbers();
    // The caption stays as it was until the next download sets it.
    showStatus(afterLookup ? ProgressCaption::kAnalysing : ProgressCaption::kDownloading);
    m_ui.statusLabel->setVisible(false);
}

void Form1::warn(const DownloadOutcome &outcome)
{
    m_context.dialogs().warning(this, outcome.message, outcome.reason);
}

} // namespace clipnab

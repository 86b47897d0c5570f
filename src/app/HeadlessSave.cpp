#include "app/HeadlessSave.h"

#include "app/BatchList.h"
#include "app/BatchSave.h"
#include "app/CommandLine.h"
#include "app/DesktopComponents.h"
#include "app/ProgressCaption.h"
#include "app/ProgressText.h"
#include "app/StallTrace.h"
#include "downloads/HistoryStore.h"
#include "platform/Clock.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/TransferRate.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include <sys/socket.h>
#include <unistd.h>

namespace clipnab::HeadlessSave {

namespace {

// The download's phases as lines and its numbers (as the window's strip gives them) as one line
// rewritten in place, at most ten times a second.
class TerminalReport
{
public:
    void showPhase(DownloadFlow::Phase phase)
    {
        if (phase == DownloadFlow::Phase::Analysing) {
            std::fprintf(stderr, "%s\n", qPrintable(ProgressCaption::kAnalysing));
        } else if (phase == DownloadFlow::Phase::Transferring) {
            std::fprintf(stderr, "%s\n", qPrintable(ProgressCaption::kDownloading));
            m_rate.restart();
            m_sinceStart.start();
        }
    }

    void showProgress(qint64 received, qint64 total)
    {
        constexpr qint64 kIntervalMs = 100;
        m_rate.sample(m_sinceStart.elapsed(), received);
        if (m_shown.isValid() && m_shown.elapsed() < kIntervalMs && received != total)
            return;
        m_shown.start();
        const QString line =
            ProgressText(received, total, m_rate.bytesPerSecond(), m_rate.secondsLeft(total))
                .line();
        const auto width = static_cast<int>(std::max(m_width, line.size()));
        m_width = line.size();
        std::fprintf(stderr, "\r%-*s", width, qPrintable(line));
        std::fflush(stderr);
    }

    void finish()
    {
        if (m_shown.isValid())
            std::fputs("\n", stderr);
        m_shown.invalidate();
    }

private:
    TransferRate m_rate;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_shown;
    qsizetype m_width = 0;
};

// Ctrl-C, a hang-up or a termination request stops the downloads the way Stop does in the
// window, so no part file stays behind: the handler only writes a byte to a socket that the
// event loop watches.
int g_signalSockets[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalSockets[0], &byte, 1);
}

class TerminationWatch
{
public:
    explicit TerminationWatch(std::function<void()> onSignal)
    {
        // Close-on-exec: the browser engine's helper processes get no copy of the sockets.
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(g_signalSockets[1], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [onSignal = std::move(onSignal)] {
                             char byte = 0;
                             [[maybe_unused]] const auto got = ::read(g_signalSockets[1], &byte, 1);
                             onSignal();
                         });
        struct sigaction action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(signal, &action, nullptr);
    }

    ~TerminationWatch()
    {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, SIG_DFL);
        m_notifier.reset();
        for (int &socket : g_signalSockets) {
            if (socket >= 0)
                ::close(socket);
            socket = -1;
        }
    }

    TerminationWatch(const TerminationWatch &) = delete;
    TerminationWatch &operator=(const TerminationWatch &) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// The addresses to save: those given as arguments, then the batch file's lines. A file that
// stops reading midway ends the list with one refused entry naming it.
class AddressSource
{
public:
    AddressSource(QStringList addresses, BatchList *list)
        : m_addresses(std::move(addresses)), m_list(list)
    {
        // Lines typed at a terminal are all taken before anything starts: waiting for the next
        // one would hold up the saves under way, and Ctrl-C there ends the program at once.
        if (m_list && m_list->fileName() == QLatin1String("-") && isatty(STDIN_FILENO)) {
            while (auto entry = fromList())
                m_typed.push_back(*entry);
            m_list = nullptr;
        }
    }

    std::optional<BatchSave::Entry> next()
    {
        if (m_given < m_addresses.size())
            return BatchSave::Entry{m_addresses.at(m_given++)};
        if (!m_typed.empty()) {
            BatchSave::Entry entry = m_typed.front();
            m_typed.pop_front();
            return entry;
        }
        return m_list ? fromList() : std::nullopt;
    }

private:
    std::optional<BatchSave::Entry> fromList()
    {
        const std::optional<BatchList::Line> line = m_list->next();
        if (line && line->tooLong)
            return BatchSave::Entry{
                .address = QStringLiteral("%1:%2").arg(m_list->fileName()).arg(line->number),
                .refusal = QStringLiteral("the line is longer than %1 bytes")
                               .arg(BatchList::kMaxLineBytes)};
        if (line)
            return BatchSave::Entry{line->address};
        if (!m_list->errorString().isEmpty() && !m_readFailed) {
            m_readFailed = true;
            return BatchSave::Entry{.address = m_list->fileName(),
                                    .refusal = QStringLiteral("reading stopped: ") +
                                               m_list->errorString()};
        }
        return std::nullopt;
    }

    QStringList m_addresses;
    qsizetype m_given = 0;
    BatchList *m_list;
    std::deque<BatchSave::Entry> m_typed;
    bool m_readFailed = false;
};

// What the saves come to, printed as they end: saved paths on stdout, everything else on
// stderr. A batch names the address on each line and counts.
class OutcomeReport
{
public:
    explicit OutcomeReport(bool batch) : m_batch(batch) {}

    void ended(const QString &address, const DownloadOutcome &outcome)
    {
        switch (outcome.kind) {
        case DownloadOutcome::Kind::Saved:
            ++m_saved;
            std::printf("%s\n", qPrintable(outcome.savedPath));
            std::fflush(stdout);
            return;
        case DownloadOutcome::Kind::Stopped:
            ++m_stopped;
            say(address, QStringLiteral("Stopped: nothing was saved"));
            return;
        default:
            // The window's "Warning": its sentence with the reason after it, in brackets where
            // the line starts with the address.
            ++m_failed;
            if (outcome.reason.isEmpty())
                say(address, outcome.message);
            else if (m_batch)
                say(address, QStringLiteral("%1 (%2)").arg(outcome.message, outcome.reason));
            else
                say(address, outcome.message + QStringLiteral(": ") + outcome.reason);
            return;
        }
    }

    void skipped(const QString &address, const DownloadRecord &saved)
    {
        ++m_skipped;
        const QDateTime when = (saved.endedAt.isValid() ? saved.endedAt : saved.startedAt);
        say(address, QStringLiteral("Already saved on %1 as %2: skipped")
                         .arg(when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              saved.filePath));
    }

    void finish() const
    {
        if (!m_batch)
            return;
        QString summary = QStringLiteral("%1 saved, %2 skipped, %3 failed")
                              .arg(m_saved)
                              .arg(m_skipped)
                              .arg(m_failed);
        if (m_stopped > 0)
            summary += QStringLiteral(", %1 stopped").arg(m_stopped);
        std::fprintf(stderr, "%s\n", qPrintable(summary));
    }

    int exitStatus() const
    {
        return m_failed + m_stopped > 0 ? CommandLine::kExitSaveFailed : CommandLine::kExitSuccess;
    }

private:
    void say(const QString &address, const QString &text) const
    {
        if (m_batch)
            std::fprintf(stderr, "%s: %s\n", qPrintable(address), qPrintable(text));
        else
            std::fprintf(stderr, "%s\n", qPrintable(text));
    }

    bool m_batch;
    int m_saved = 0;
    int m_skipped = 0;
    int m_failed = 0;
    int m_stopped = 0;
};

} // namespace

int run(const CommandLine &command, const QString &downloadFolder)
{
    BatchList list;
    if (!command.batchFile.isEmpty() && !list.open(command.batchFile)) {
        std::fprintf(stderr, "clipnab: Cannot read the batch file %s: %s\n",
                     qPrintable(command.batchFile), qPrintable(list.errorString()));
        return CommandLine::kExitBadArguments;
    }
    AddressSource source(command.addresses, command.batchFile.isEmpty() ? nullptr : &list);

    // The browser engine's report of its graphics set-up says nothing to a command-line user;
    // QT_LOGGING_RULES can still ask for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // The history never stops a save: without it, nothing is recorded or skipped.
    HistoryStore history(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    history.open();
    SystemClock clock;
    const QString &siteBase = command.siteBase;
    BatchSave batch(
        clock,
        [siteBase, downloadFolder] {
            return DesktopComponents::makeForSave(siteBase, downloadFolder);
        },
        {siteBase, downloadFolder, command.jobs, command.skipSaved},
        history.isOpen() ? &history : nullptr);

    const bool isBatch = command.isBatch();
    OutcomeReport outcomes(isBatch);
    TerminalReport terminal;
    QObject::connect(
        &batch, &BatchSave::ended, &batch,
        [&outcomes, &terminal](const QString &address, const DownloadOutcome &outcome) {
            terminal.finish();
            outcomes.ended(address, outcome);
        });
    QObject::connect(&batch, &BatchSave::skipped, &batch,
                     [&outcomes](const QString &address, const DownloadRecord &saved) {
                         outcomes.skipped(address, saved);
                     });
    // Phases and progress of a single save, as the window would show them.
    if (!isBatch && isatty(STDERR_FILENO)) {
        QObject::connect(&batch, &BatchSave::flowStarted, &batch, [&terminal](DownloadFlow *flow) {
            QObject::connect(flow, &DownloadFlow::phaseChanged, flow,
                             [&terminal](DownloadFlow::Phase phase) { terminal.showPhase(phase); });
            QObject::connect(flow, &DownloadFlow::progressChanged, flow,
                             [&terminal](qint64 received, qint64 total) {
                                 terminal.showProgress(received, total);
                             });
        });
    }

    const StallTrace stalls;
    QEventLoop loop;
    QObject::connect(&batch, &BatchSave::finished, &loop, &QEventLoop::quit);
    const TerminationWatch watch([&batch] { batch.stop(); });
    // An address the check refuses is answered before any browser starts, so nothing the
    // engine prints can come before the message.
    batch.start([&source] { return source.next(); });
    if (!batch.isFinished())
        loop.exec();
    outcomes.finish();
    return outcomes.exitStatus();
}

} // namespace clipnab::HeadlessSave

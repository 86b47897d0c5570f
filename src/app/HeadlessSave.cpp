#include "app/HeadlessSave.h"

#include "app/CommandLine.h"
#include "app/DesktopComponents.h"
#include "app/ProgressCaption.h"
#include "app/ProgressText.h"
#include "platform/Clock.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/TransferRate.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <cstdio>
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
    }

private:
    TransferRate m_rate;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_shown;
    qsizetype m_width = 0;
};

// Ctrl-C, a hang-up or a termination request stops the download the way Stop does in the
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
    explicit TerminationWatch(DownloadFlow &flow)
    {
        // Close-on-exec: the browser engine's helper processes get no copy of the sockets.
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(g_signalSockets[1], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &flow, [&flow] {
            char byte = 0;
            [[maybe_unused]] const auto got = ::read(g_signalSockets[1], &byte, 1);
            flow.stop();
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

// What the window's "Warning" says, with its reason after the sentence.
QString sentenceWithReason(const DownloadOutcome &outcome)
{
    return outcome.reason.isEmpty() ? outcome.message
                                    : outcome.message + QStringLiteral(": ") + outcome.reason;
}

} // namespace

int run(const QString &siteBase, const QString &downloadFolder, const QString &address)
{
    // An address the window would refuse needs no browser: it is answered before one starts, so
    // nothing the engine prints can follow the message.
    if (const auto refusal = AddressCheck::validate(address, !AddressCheck::isAvailable(address))) {
        std::fprintf(stderr, "%s\n", qPrintable(*refusal));
        return CommandLine::kExitSaveFailed;
    }
    // The browser engine's report of its graphics set-up says nothing to a command-line user;
    // QT_LOGGING_RULES can still ask for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    WindowComponents components = DesktopComponents::make(siteBase, downloadFolder);
    SystemClock clock;
    DownloadFlow flow(clock, *components.locatorBrowser, *components.transfer,
                      {siteBase, downloadFolder});

    TerminalReport report;
    if (isatty(STDERR_FILENO)) {
        QObject::connect(&flow, &DownloadFlow::phaseChanged, &flow,
                         [&report](DownloadFlow::Phase phase) { report.showPhase(phase); });
        QObject::connect(
            &flow, &DownloadFlow::progressChanged, &flow,
            [&report](qint64 received, qint64 total) { report.showProgress(received, total); });
    }

    std::optional<DownloadOutcome> outcome;
    QEventLoop loop;
    QObject::connect(&flow, &DownloadFlow::finished, &loop,
                     [&outcome, &loop](const DownloadOutcome &ended) {
                         outcome = ended;
                         loop.quit();
                     });
    const TerminationWatch watch(flow);
    // The flow checks the address again, as the window does for one typed into its box.
    flow.start(address);
    if (!outcome)
        loop.exec();
    report.finish();

    if (outcome->kind == DownloadOutcome::Kind::Saved) {
        std::printf("%s\n", qPrintable(outcome->savedPath));
        return CommandLine::kExitSuccess;
    }
    if (outcome->kind == DownloadOutcome::Kind::Stopped)
        std::fputs("Stopped: nothing was saved\n", stderr);
    else
        std::fprintf(stderr, "%s\n", qPrintable(sentenceWithReason(*outcome)));
    return CommandLine::kExitSaveFailed;
}

} // namespace clipnab::HeadlessSave

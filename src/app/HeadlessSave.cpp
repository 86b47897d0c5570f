#include "app/HeadlessSave.h"

#include "app/CommandLine.h"
#include "app/DesktopComponents.h"
#include "platform/Clock.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/DownloadFlow.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <unistd.h>

namespace clipnab::HeadlessSave {

namespace {

// The download's phases as lines and its byte progress as one line rewritten in place, at most
// ten times a second.
class TerminalReport
{
public:
    void showPhase(DownloadFlow::Phase phase)
    {
        if (phase == DownloadFlow::Phase::Analysing)
            std::fputs("Analysing URL...\n", stderr);
        else if (phase == DownloadFlow::Phase::Transferring)
            std::fputs("Downloading...\n", stderr);
    }

    void showProgress(qint64 received, qint64 total)
    {
        constexpr qint64 kIntervalMs = 100;
        if (m_shown.isValid() && m_shown.elapsed() < kIntervalMs && received != total)
            return;
        m_shown.start();
        const QLocale c = QLocale::c();
        QString line = c.formattedDataSize(received);
        if (total > 0)
            line += QStringLiteral(" of %1 (%2%)")
                        .arg(c.formattedDataSize(total))
                        .arg(received * 100 / total);
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
    QElapsedTimer m_shown;
    qsizetype m_width = 0;
};

} // namespace

int run(const QString &siteBase, const QString &downloadFolder, const QString &address)
{
    // The browser engine's report of its graphics set-up says nothing to a command-line user;
    // QT_LOGGING_RULES can still ask for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    Form1::Components components = DesktopComponents::make(siteBase, downloadFolder);
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
    // The address is checked as the window checks one typed into its box.
    flow.start(address, !AddressCheck::isAvailable(address));
    if (!outcome)
        loop.exec();
    report.finish();

    if (outcome->kind == DownloadOutcome::Kind::Saved) {
        std::printf("%s\n", qPrintable(outcome->savedPath));
        return CommandLine::kExitSuccess;
    }
    std::fprintf(stderr, "%s\n", qPrintable(outcome->message));
    return CommandLine::kExitSaveFailed;
}

} // namespace clipnab::HeadlessSave

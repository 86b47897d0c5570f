// clipnab-screenshot: draws the main window, running against the demo site, into a PNG.
//
//   clipnab-screenshot OUT.png [--search WORDS] [--open-first-video]
//
// The window is rendered offscreen once the search browser has finished loading.
#include "app/DesktopComponents.h"
#include "components/BrowserComponent.h"
#include "DemoSite.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

// Waits for the next finished document, or gives up after `ms`.
bool waitForDocument(clipnab::BrowserComponent &browser, int ms)
{
    QEventLoop loop;
    bool done = false;
    QObject::connect(&browser, &clipnab::BrowserComponent::DocumentComplete, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    clipnab::DesktopComponents::prepareWebEngine();
    QApplication app(argc, argv);
    clipnab::DesktopComponents::installFontSubstitutes();

    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
        err << "usage: clipnab-screenshot OUT.png [--search WORDS] [--open-first-video]\n";
        return 2;
    }
    const QString out = args.takeFirst();
    QString words;
    bool openVideo = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--search") && !args.isEmpty()) {
            words = args.takeFirst();
        } else if (a == QLatin1String("--open-first-video")) {
            openVideo = true;
        } else {
            err << "clipnab-screenshot: unknown argument " << a << '\n';
            return 2;
        }
    }

    clipnab::DemoSite site;
    if (site.listen() == 0) {
        err << "clipnab-screenshot: the demo site could not listen\n";
        return 1;
    }
    QTemporaryDir folder;
    clipnab::PlatformContext context;
    clipnab::Form1 window(context, clipnab::DesktopComponents::make(site.baseUrl(), folder.path()));
    window.show();

    clipnab::BrowserComponent &browser = window.searchBrowser();
    waitForDocument(browser, 20000);
    if (!words.isEmpty()) {
        window.findChild<QLineEdit *>(QStringLiteral("txtsearch"))->setText(words);
        browser.Navigate(site.baseUrl() + QStringLiteral("/results?search_query=") + words);
        waitForDocument(browser, 20000);
    }
    if (openVideo && !site.videoIds().isEmpty()) {
        browser.Navigate(site.baseUrl() + QStringLiteral("/watch?v=") + site.videoIds().first());
        waitForDocument(browser, 20000);
    }
    // Let the page paint before the picture is taken.
    settle(1500);
    if (!window.grab().save(out)) {
        err << "clipnab-screenshot: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}

// clipnab-screenshot: draws the main window, running against the demo site, into a PNG.
//
//   clipnab-screenshot OUT.png [--search WORDS] [--open-first-video] [--dark]
//
// The window is rendered offscreen once the search browser has finished loading; --dark shows it
// on a dark desktop palette.
#include "app/DesktopComponents.h"
#include "app/Form1.h"
#include "components/BrowserComponent.h"
#include "DemoSite.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPalette>
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

// A dark desktop as dark colour schemes (Adwaita dark, qt6ct's darker) give it.
QPalette darkDesktop()
{
    const QColor window(0x35, 0x35, 0x35);
    QPalette palette(Qt::white, window, QColor(0x50, 0x50, 0x50), QColor(0x23, 0x23, 0x23),
                     QColor(0x2b, 0x2b, 0x2b), Qt::white, QColor(0x2a, 0x2a, 0x2a));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f, 0x7f, 0x7f));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f, 0x7f, 0x7f));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7f, 0x7f, 0x7f));
    return palette;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    clipnab::DesktopComponents::prepareWebEngine();
    QApplication app(argc, argv);
    clipnab::DesktopComponents::installFontSubstitutes();

    QCoreApplication::setApplicationName(QStringLiteral("clipnab-screenshot"));
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws the main window, running against the demo site, into a PNG."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption search(QStringLiteral("search"),
                                    QStringLiteral("Searches the site for the words first."),
                                    QStringLiteral("WORDS"));
    const QCommandLineOption openFirstVideo(QStringLiteral("open-first-video"),
                                            QStringLiteral("Opens the first video's page."));
    const QCommandLineOption dark(QStringLiteral("dark"),
                                  QStringLiteral("Shows the window on a dark desktop palette."));
    parser.addOptions({search, openFirstVideo, dark});
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("The file to write."));
    if (!parser.parse(app.arguments())) {
        err << "clipnab-screenshot: " << parser.errorText() << '\n';
        return 2;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.positionalArguments().size() != 1) {
        err << "usage: clipnab-screenshot OUT.png [--search WORDS] [--open-first-video] [--dark]\n";
        return 2;
    }
    const QString out = parser.positionalArguments().first();
    const QString words = parser.value(search);
    const bool openVideo = parser.isSet(openFirstVideo);
    if (parser.isSet(dark))
        QApplication::setPalette(darkDesktop());

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

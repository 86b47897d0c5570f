#include "app/CommandLine.h"

#include <QDir>
#include <QTest>

using namespace clipnab;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)

// Reading the command line, without running the program.
class CommandLineTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parses_data();
    void parses();
};

void CommandLineTest::parses_data()
{
    QTest::addColumn<QString>("arguments");   // separated by "|"
    QTest::addColumn<QString>("environment"); // CLIPNAB_SITE
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("folder");  // relative to the current folder
    QTest::addColumn<QString>("address"); // "-" for none

    const char *youtube = "http://www.youtube.com";
    const char *local = "http://127.0.0.1:8080";
    const char *page = "http://127.0.0.1:8080/watch?v=abc";
    const Action window = Action::OpenWindow;
    const Action bad = Action::BadArguments;
    QTest::newRow("nothing") << "clipnab"
                             << "" << window << youtube << ""
                             << "-";
    QTest::newRow("address") << "clipnab|http://127.0.0.1:8080/watch?v=abc"
                             << "" << window << youtube << "" << page;
    QTest::newRow("environment site") << "clipnab"
                                      << "http://127.0.0.1:8080//" << window << local << ""
                                      << "-";
    QTest::newRow("option beats environment") << "clipnab|--site|http://127.0.0.1:8080/"
                                              << "http://other" << window << local << ""
                                              << "-";
    QTest::newRow("folder") << "clipnab|--download-dir|a/../videos"
                            << "" << window << youtube << "videos"
                            << "-";
    QTest::newRow("save") << "clipnab|--save|http://127.0.0.1:8080/watch?v=abc|--site|"
                             "http://127.0.0.1:8080"
                          << "" << Action::Save << local << "" << page;
    QTest::newRow("platform") << "clipnab|-platform|xcb|http://127.0.0.1:8080/watch?v=abc"
                              << "" << window << youtube << "" << page;
    QTest::newRow("help") << "clipnab|--help"
                          << "" << Action::ShowHelp << ""
                          << ""
                          << "-";
    QTest::newRow("version") << "clipnab|--version"
                             << "" << Action::ShowVersion << ""
                             << ""
                             << "-";
    QTest::newRow("unknown option") << "clipnab|--bogus"
                                    << "" << bad << ""
                                    << ""
                                    << "-";
    QTest::newRow("missing value") << "clipnab|--site"
                                   << "" << bad << ""
                                   << ""
                                   << "-";
    QTest::newRow("empty site") << "clipnab|--site|/"
                                << "" << bad << ""
                                << ""
                                << "-";
    QTest::newRow("two addresses") << "clipnab|http://a/watch?v=1|http://a/watch?v=2"
                                   << "" << bad << ""
                                   << ""
                                   << "-";
    QTest::newRow("save and address") << "clipnab|--save|http://a/watch?v=1|http://a/watch?v=2"
                                      << "" << bad << ""
                                      << ""
                                      << "-";
}

void CommandLineTest::parses()
{
    QFETCH(QString, arguments);
    QFETCH(QString, environment);
    QFETCH(Action, action);
    QFETCH(QString, site);
    QFETCH(QString, folder);
    QFETCH(QString, address);

    const QStringList list = arguments.split(QLatin1Char('|'));
    const CommandLine line = CommandLine::parse(list, environment);
    QCOMPARE(line.action, action);
    QCOMPARE(line.error.isEmpty(), action != Action::BadArguments);
    if (action != Action::OpenWindow && action != Action::Save)
        return;
    QCOMPARE(line.siteBase, site);
    QCOMPARE(line.downloadFolder,
             folder.isEmpty() ? QString() : QDir::current().absoluteFilePath(folder));
    QCOMPARE(line.address.value_or(QStringLiteral("-")), address);
    QCOMPARE(line.platformChosen, list.contains(QStringLiteral("-platform")));
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"

#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
    // "LIST" stands for a readable batch file, "MISSING" for a path where there is none and
    // "FOLDER" for a folder.
    QTest::addColumn<QString>("arguments");   // separated by "|"
    QTest::addColumn<QString>("environment"); // CLIPNAB_SITE
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("folder");  // relative to the current folder
    QTest::addColumn<QString>("address"); // "-" for none
    // What a save takes: the addresses (separated by blanks), batch file, jobs and skipping; for
    // BadArguments, "one line" when no pointer to --help follows the error.
    QTest::addColumn<QString>("save");

    const char *youtube = "http://www.youtube.com";
    const char *local = "http://127.0.0.1:8080";
    const char *page = "http://127.0.0.1:8080/watch?v=abc";
    const Action window = Action::OpenWindow;
    const Action bad = Action::BadArguments;
    const auto row = [](const char *name, const char *arguments, const char *environment,
                        Action action, const char *site, const char *folder, const char *address,
                        const char *save) {
        QTest::newRow(name) << arguments << environment << action << site << folder << address
                            << save;
    };
    row("nothing", "clipnab", "", window, youtube, "", "-", "");
    row("address", "clipnab|http://127.0.0.1:8080/watch?v=abc", "", window, youtube, "", page, "");
    row("environment site", "clipnab", "http://127.0.0.1:8080//", window, local, "", "-", "");
    row("option beats environment", "clipnab|--site|http://127.0.0.1:8080/", "http://other", window,
        local, "", "-", "");
    row("folder", "clipnab|--download-dir|a/../videos", "", window, youtube, "videos", "-", "");
    row("save", "clipnab|--save|http://127.0.0.1:8080/watch?v=abc|--site|http://127.0.0.1:8080", "",
        Action::Save, local, "", page, "addresses=http://127.0.0.1:8080/watch?v=abc jobs=1");
    row("save with =", "clipnab|--save=http://a/watch?v=1", "", Action::Save, youtube, "",
        "http://a/watch?v=1", "addresses=http://a/watch?v=1 jobs=1");
    row("several to save", "clipnab|--save|http://a/watch?v=1|http://a/watch?v=2", "", Action::Save,
        youtube, "", "http://a/watch?v=1",
        "addresses=http://a/watch?v=1,http://a/watch?v=2 jobs=1");
    row("batch file", "clipnab|--save|--batch-file|LIST|--jobs|4|--skip-saved", "", Action::Save,
        youtube, "", "-", "batch=LIST jobs=4 skip");
    row("batch file alone saves", "clipnab|--batch-file|LIST|http://a/watch?v=1", "", Action::Save,
        youtube, "", "http://a/watch?v=1", "addresses=http://a/watch?v=1 batch=LIST jobs=1");
    row("batch from standard input", "clipnab|--save|--batch-file|-|--jobs|1", "", Action::Save,
        youtube, "", "-", "batch=- jobs=1");
    row("platform", "clipnab|-platform|xcb|http://127.0.0.1:8080/watch?v=abc", "", window, youtube,
        "", page, "");
    row("help", "clipnab|--help", "", Action::ShowHelp, "", "", "-", "");
    row("version", "clipnab|--version", "", Action::ShowVersion, "", "", "-", "");
    row("unknown option", "clipnab|--bogus", "", bad, "", "", "-", "");
    row("missing value", "clipnab|--site", "", bad, "", "", "-", "");
    row("empty site", "clipnab|--site|/", "", bad, "", "", "-", "");
    row("two addresses", "clipnab|http://a/watch?v=1|http://a/watch?v=2", "", bad, "", "", "-", "");
    row("save without address", "clipnab|--save", "", bad, "", "", "-", "");
    row("jobs without save", "clipnab|--jobs|2|http://a/watch?v=1", "", bad, "", "", "-", "");
    row("skip without save", "clipnab|--skip-saved", "", bad, "", "", "-", "");
    row("no jobs", "clipnab|--save|http://a/watch?v=1|--jobs|0", "", bad, "", "", "-", "one line");
    row("too many jobs", "clipnab|--save|http://a/watch?v=1|--jobs|5", "", bad, "", "", "-",
        "one line");
    row("jobs not a number", "clipnab|--save|http://a/watch?v=1|--jobs|two", "", bad, "", "", "-",
        "one line");
    row("batch file missing", "clipnab|--save|--batch-file|MISSING", "", bad, "", "", "-",
        "one line");
    row("batch file a folder", "clipnab|--save|--batch-file|FOLDER", "", bad, "", "", "-",
        "one line");
    row("two batch files", "clipnab|--batch-file|LIST|--batch-file|LIST", "", bad, "", "", "-", "");
}

void CommandLineTest::parses()
{
    QFETCH(QString, arguments);
    QFETCH(QString, environment);
    QFETCH(Action, action);
    QFETCH(QString, site);
    QFETCH(QString, folder);
    QFETCH(QString, address);
    QFETCH(QString, save);

    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.txt"));
    QVERIFY(QFile(list).open(QIODevice::WriteOnly));
    arguments.replace(QStringLiteral("LIST"), list)
        .replace(QStringLiteral("MISSING"), dir.filePath(QStringLiteral("none.txt")))
        .replace(QStringLiteral("FOLDER"), dir.path());
    save.replace(QStringLiteral("LIST"), list);

    const QStringList argumentList = arguments.split(QLatin1Char('|'));
    const CommandLine line = CommandLine::parse(argumentList, environment);
    QCOMPARE(line.action, action);
    QCOMPARE(line.error.isEmpty(), action != Action::BadArguments);
    if (action == Action::BadArguments) {
        QCOMPARE(line.errorNeedsHelp, save != QLatin1String("one line"));
        QVERIFY(!line.error.contains(QLatin1Char('\n')));
    }
    if (action != Action::OpenWindow && action != Action::Save)
        return;
    QCOMPARE(line.siteBase, site);
    QCOMPARE(line.downloadFolder,
             folder.isEmpty() ? QString() : QDir::current().absoluteFilePath(folder));
    QCOMPARE(line.address.value_or(QStringLiteral("-")), address);
    QCOMPARE(line.platformChosen, argumentList.contains(QStringLiteral("-platform")));

    QStringList taken;
    if (!line.addresses.isEmpty())
        taken << QStringLiteral("addresses=") + line.addresses.join(QLatin1Char(','));
    if (!line.batchFile.isEmpty())
        taken << QStringLiteral("batch=") + line.batchFile;
    if (action == Action::Save)
        taken << QStringLiteral("jobs=%1").arg(line.jobs);
    if (line.skipSaved)
        taken << QStringLiteral("skip");
    QCOMPARE(taken.join(QLatin1Char(' ')), save);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"

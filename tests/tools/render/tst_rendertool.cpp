#include "ControlRenderer.h"
#include "RenderOptions.h"

#include <QImage>
#include <QMetaType>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <iterator>

using namespace clipnab;

namespace {

QStringList args(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

} // namespace

class RenderToolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void parsesArguments_data();
    void parsesArguments();
    void rejectsBadArguments_data();
    void rejectsBadArguments();
    void convertsValuesToThePropertyType_data();
    void convertsValuesToThePropertyType();
    void toolExitStatus_data();
    void toolExitStatus();
    void toolDrawsThePanel_data();
    void toolDrawsThePanel();
    void scaleDoublesFixedDrawingsNotText_data();
    void scaleDoublesFixedDrawingsNotText();

private:
    // Runs the tool with these arguments and an output file of this name; the image it wrote.
    QImage render(const QString &name, const QStringList &arguments);

    QTemporaryDir m_dir;
};

QImage RenderToolTest::render(const QString &name, const QStringList &arguments)
{
    const QString out = m_dir.filePath(name + QStringLiteral(".png"));
    QProcess tool;
    tool.start(QStringLiteral(CLIPNAB_RENDER_PATH),
               arguments + QStringList{QStringLiteral("-o"), out});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    return QImage(out).convertToFormat(QImage::Format_ARGB32);
}

void RenderToolTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void RenderToolTest::parsesArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("focus");
    QTest::addColumn<bool>("design");
    QTest::addColumn<int>("systemColors");
    QTest::addColumn<qreal>("scale");

    QTest::newRow("minimal") << args({"panel", "-o", "a.png"}) << QSize() << QStringList{}
                             << int(ButtonLook::Unset) << false << false << 0 << 1.0;
    QTest::newRow("everything") << args({"button", "--size", "80x23", "--set", "Style=5", "--set",
                                         "Caption=A=B", "--state", "pressed", "--focus", "--design",
                                         "--syscolor", "15=1,2,3", "-o", "b.png", "--syscolor",
                                         "16=0,0,0", "--scale", "1.5"})
                                << QSize(80, 23) << args({"Style", "5", "Caption", "A=B"})
                                << int(ButtonLook::Pressed) << true << true << 2 << 1.5;
    QTest::newRow("attached values") << args({"--size=10X20", "panel", "--set=Theme=3",
                                              "--state=disabled", "--output=c.png", "--scale=2"})
                                     << QSize(10, 20) << args({"Theme", "3"})
                                     << int(ButtonLook::Disabled) << false << false << 0 << 2.0;
    QTest::newRow("empty value is text")
        << args({"panel", "-o", "a.png", "--set", "Caption="}) << QSize() << args({"Caption", ""})
        << int(ButtonLook::Unset) << false << false << 0 << 1.0;
}

void RenderToolTest::parsesArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QSize, size);
    QFETCH(QStringList, assignments);

    const RenderOptions options = parseRenderArguments(arguments);
    QVERIFY(!options.kind.isEmpty());
    QVERIFY(!options.output.isEmpty());
    QCOMPARE(options.size.value_or(QSize()), size);
    QStringList flat;
    for (const PropertyAssignment &a : options.assignments)
        flat << a.name << a.value;
    QCOMPARE(flat, assignments);
    QTEST(int(options.state), "state");
    QTEST(options.focus, "focus");
    QTEST(options.design, "design");
    QTEST(int(options.systemColors.size()), "systemColors");
    QTEST(options.scale, "scale");
}

void RenderToolTest::rejectsBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no output") << args({"panel"});
    QTest::newRow("no kind") << args({"-o", "a.png"});
    QTest::newRow("output without value") << args({"panel", "-o"});
    QTest::newRow("two kinds") << args({"panel", "button", "-o", "a.png"});
    QTest::newRow("unknown option") << args({"panel", "-o", "a.png", "--colour"});
    QTest::newRow("size without x") << args({"panel", "-o", "a.png", "--size", "80"});
    QTest::newRow("zero size") << args({"panel", "-o", "a.png", "--size", "0x10"});
    QTest::newRow("negative size") << args({"panel", "-o", "a.png", "--size", "-5x10"});
    QTest::newRow("set without =") << args({"panel", "-o", "a.png", "--set", "Style"});
    QTest::newRow("set without name") << args({"panel", "-o", "a.png", "--set", "=1"});
    QTest::newRow("unknown state") << args({"panel", "-o", "a.png", "--state", "busy"});
    QTest::newRow("focus with value") << args({"panel", "-o", "a.png", "--focus=yes"});
    QTest::newRow("syscolor channel too big")
        << args({"panel", "-o", "a.png", "--syscolor", "15=256,0,0"});
    QTest::newRow("syscolor unused index")
        << args({"panel", "-o", "a.png", "--syscolor", "25=0,0,0"});
    QTest::newRow("syscolor index past the table")
        << args({"panel", "-o", "a.png", "--syscolor", "31=0,0,0"});
    QTest::newRow("syscolor shape") << args({"panel", "-o", "a.png", "--syscolor", "15=1,2"});
    QTest::newRow("scale below 1") << args({"panel", "-o", "a.png", "--scale", "0.5"});
    QTest::newRow("scale not a number") << args({"panel", "-o", "a.png", "--scale", "x2"});
}

void RenderToolTest::rejectsBadArguments()
{
    QFETCH(QStringList, arguments);
    QVERIFY_THROWS_EXCEPTION(UsageError, parseRenderArguments(arguments));
}

void RenderToolTest::convertsValuesToThePropertyType_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("expected"); // invalid: refused

    QTest::newRow("decimal int") << "42" << int(QMetaType::Int) << QVariant(42);
    QTest::newRow("negative int") << "-1" << int(QMetaType::Int) << QVariant(-1);
    QTest::newRow("hex int") << "0x10" << int(QMetaType::Int) << QVariant(16);
    QTest::newRow("int too large") << "2147483648" << int(QMetaType::Int) << QVariant();
    QTest::newRow("text as int") << "abc" << int(QMetaType::Int) << QVariant();
    QTest::newRow("Boolean as int") << "true" << int(QMetaType::Int) << QVariant();
    QTest::newRow("system colour") << "0x8000000F" << int(QMetaType::UInt) << QVariant(0x8000000Fu);
    QTest::newRow("signed colour")
        << "-2147483633" << int(QMetaType::UInt) << QVariant(0x8000000Fu);
    QTest::newRow("colour too large") << "0x100000000" << int(QMetaType::UInt) << QVariant();
    QTest::newRow("true") << "True" << int(QMetaType::Bool) << QVariant(true);
    QTest::newRow("false") << "false" << int(QMetaType::Bool) << QVariant(false);
    QTest::newRow("number as Boolean") << "0" << int(QMetaType::Bool) << QVariant(false);
    QTest::newRow("text as Boolean") << "yes" << int(QMetaType::Bool) << QVariant();
    QTest::newRow("number kept as text")
        << "0x10" << int(QMetaType::QString) << QVariant(QStringLiteral("0x10"));
    QTest::newRow("text") << "Tools" << int(QMetaType::QString)
                          << QVariant(QStringLiteral("Tools"));
}

void RenderToolTest::convertsValuesToThePropertyType()
{
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(QVariant, expected);
    const auto converted = convertPropertyValue(text, QMetaType(type));
    QCOMPARE(converted.has_value(), expected.isValid());
    if (converted)
        QCOMPARE(*converted, expected);
}

void RenderToolTest::toolExitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");

    QTest::newRow("help") << args({"--help"}) << 0;
    QTest::newRow("no arguments") << QStringList{} << 2;
    QTest::newRow("unknown kind") << args({"knob", "-o", "OUT"}) << 2;
    QTest::newRow("unknown property") << args({"panel", "-o", "OUT", "--set", "Colour=1"}) << 2;
    QTest::newRow("wrong value type") << args({"panel", "-o", "OUT", "--set", "Style=wide"}) << 2;
    QTest::newRow("button state on a panel") << args({"panel", "-o", "OUT", "--state", "hot"}) << 2;
    QTest::newRow("focus on a panel") << args({"panel", "-o", "OUT", "--focus"}) << 2;
    QTest::newRow("bad size") << args({"panel", "-o", "OUT", "--size", "axb"}) << 2;
    QTest::newRow("unwritable output") << args({"panel", "-o", "/nonexistent/dir/x.png"}) << 1;
    QTest::newRow("good") << args({"panel", "-o", "OUT"}) << 0;
}

void RenderToolTest::toolExitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const QString out =
        m_dir.filePath(QStringLiteral("%1.png").arg(QString::fromLatin1(QTest::currentDataTag())));
    arguments.replaceInStrings(QStringLiteral("OUT"), out);

    QProcess tool;
    tool.start(QStringLiteral(CLIPNAB_RENDER_PATH), arguments);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), status);
    const QByteArray errors = tool.readAllStandardError();
    if (status != 0) {
        QCOMPARE(errors.count('\n'), 1);
        QVERIFY(errors.startsWith("clipnab-render: "));
    } else {
        QVERIFY(errors.isEmpty());
    }
}

void RenderToolTest::toolDrawsThePanel_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<uint>("color"); // ARGB

    QTest::newRow("design size frame")
        << QStringList{} << QSize(165, 128) << QPoint(0, 0) << 0xFFADC1DCu;
    QTest::newRow("theme 6 frame")
        << args({"--set", "Theme=6"}) << QSize(165, 128) << QPoint(164, 127) << 0xFFFAC09Fu;
    QTest::newRow("later set wins") << args({"--set", "Theme=6", "--set", "BorderColor=0x0000FF"})
                                    << QSize(165, 128) << QPoint(0, 60) << 0xFFFF0000u;
    QTest::newRow("size and header")
        << args({"--size", "300x60"}) << QSize(300, 60) << QPoint(298, 1) << 0xFFD3E0F7u;
    QTest::newRow("plain style body at row 1 under no header")
        << args({"--set", "Style=1", "--set", "BackDarkColor=0xFCF4EF"}) << QSize(165, 128)
        << QPoint(80, 10) << 0xFFEFF4FCu;
    QTest::newRow("system colour override")
        << args({"--set", "BorderColor=0x80000010", "--syscolor", "16=1,2,3"}) << QSize(165, 128)
        << QPoint(0, 0) << 0xFF010203u;
}

void RenderToolTest::toolDrawsThePanel()
{
    QFETCH(QStringList, arguments);
    QFETCH(QSize, size);
    QFETCH(QPoint, probe);
    QFETCH(uint, color);
    const QString out = m_dir.filePath(
        QStringLiteral("draw-%1.png").arg(QString::fromLatin1(QTest::currentDataTag())));

    QProcess tool;
    tool.start(QStringLiteral(CLIPNAB_RENDER_PATH),
               QStringList{QStringLiteral("panel"), QStringLiteral("-o"), out} + arguments);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);

    QImage image(out);
    QVERIFY(!image.isNull());
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(image.size(), size);
    image = image.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.pixel(probe), color);
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            QCOMPARE(qAlpha(image.pixel(x, y)), 255);
}

void RenderToolTest::scaleDoublesFixedDrawingsNotText_data()
{
    QTest::addColumn<QStringList>("arguments");
    const auto button = [](const char *style) {
        return QStringList{QStringLiteral("button"), QStringLiteral("--size"),
                           QStringLiteral("103x41"), QStringLiteral("--set"),
                           QStringLiteral("Style=") + QString::fromLatin1(style)};
    };
    QTest::newRow("raised edge") << button("0");
    QTest::newRow("etched frame, hot") << button("3") + args({"--state", "hot"});
    QTest::newRow("ringed gradient, focused") << button("5") + args({"--focus"});
    QTest::newRow("capsule, pressed") << button("9") + args({"--state", "pressed"});
    QTest::newRow("glossy") << button("10");
    QTest::newRow("panel") << args({"panel", "--size", "200x90"});
}

void RenderToolTest::scaleDoublesFixedDrawingsNotText()
{
    QFETCH(QStringList, arguments);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QStringList caption{QStringLiteral("--set"), QStringLiteral("Caption=Download")};
    const QStringList noCaption{QStringLiteral("--set"), QStringLiteral("Caption=")};
    const QImage plain = render(tag + QStringLiteral(" plain"), arguments + noCaption);
    const QImage once = render(tag + QStringLiteral(" 1"), arguments + caption);
    const QImage twice =
        render(tag + QStringLiteral(" 2"), arguments + caption + args({"--scale", "2"}));
    QVERIFY(!plain.isNull() && !once.isNull() && !twice.isNull());
    QCOMPARE(twice.size(), once.size() * 2);

    // The caption's pixels at scale 1, widened by one pixel for the edges of its glyphs.
    const QRect bounds = once.rect();
    const auto nearText = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (bounds.contains(x + dx, y + dy) &&
                    once.pixel(x + dx, y + dy) != plain.pixel(x + dx, y + dy))
                    return true;
        return false;
    };
    int textBlocks = 0;
    int finerTextBlocks = 0;
    for (int y = 0; y < once.height(); ++y) {
        for (int x = 0; x < once.width(); ++x) {
            const QRgb block[] = {twice.pixel(2 * x, 2 * y), twice.pixel(2 * x + 1, 2 * y),
                                  twice.pixel(2 * x, 2 * y + 1), twice.pixel(2 * x + 1, 2 * y + 1)};
            const bool uniform = std::all_of(std::begin(block), std::end(block),
                                             [&](QRgb c) { return c == block[0]; });
            if (nearText(x, y)) {
                ++textBlocks;
                finerTextBlocks += uniform ? 0 : 1;
                continue;
            }
            if (!uniform || block[0] != once.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is not doubled").arg(x).arg(y)));
        }
    }
    QVERIFY(textBlocks > 0);
    // Glyphs drawn at device resolution: a good share of the caption's blocks are not one colour.
    QVERIFY2(finerTextBlocks * 4 > textBlocks,
             qPrintable(QStringLiteral("%1 of %2").arg(finerTextBlocks).arg(textBlocks)));
}

QTEST_MAIN(RenderToolTest)
#include "tst_rendertool.moc"

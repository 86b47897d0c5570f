#include "BagProbe.h"

#include "FuzzText.h"

#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "platform/PropertyBag.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QFont>
#include <QImage>

#include <cstdlib>

namespace clipnab::fuzz {

namespace {
struct Controls
{
    PlatformContext context;
    XPContainer panel{context};
    deRurara button{context};
};

Controls *controls = nullptr;

template <typename Read> void readOrRefuse(Read read)
{
    try {
        read();
    } catch (const PropertyBagError &) {
    }
}
} // namespace

void startApplication(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt's complaints about broken pictures and fonts would bury the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // Kept for the whole run: the fuzzer ends the process without returning.
    new QApplication(*argc, *argv);
    controls = new Controls;
    // Design mode: no pointer tracking, which needs a shown window.
    controls->button.setDesignMode(true);
    controls->panel.setDesignMode(true);
}

void readEveryWay(const PropertyBag &bag)
{
    QStringList keys = bag.keys();
    keys.append(QStringLiteral("absent"));
    for (const QString &key : keys) {
        const bool present = bag.contains(key);
        readOrRefuse([&] { FUZZ_CHECK(bag.readInt(key, 7) == 7 || present); });
        readOrRefuse([&] { FUZZ_CHECK(bag.readInt16(key, 7) == 7 || present); });
        readOrRefuse([&] { bag.readBool(key, true); });
        readOrRefuse([&] { bag.readText(key, QString()); });
        readOrRefuse([&] { FUZZ_CHECK(bag.readColor(key, 7) == 7 || present); });
        readOrRefuse([&] { bag.readFont(key, QFont()); });
        readOrRefuse([&] { bag.readPicture(key, QImage()); });
    }
}

void restorePanel(const PropertyBag &bag)
{
    readOrRefuse([&] { controls->panel.readProperties(bag); });
}

void restoreButton(const PropertyBag &bag)
{
    readOrRefuse([&] { controls->button.readProperties(bag); });
}

} // namespace clipnab::fuzz

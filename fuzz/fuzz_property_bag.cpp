// A property bag as a person may have edited it in the saved layout.
#include "BagProbe.h"
#include "FuzzText.h"

#include "platform/PropertyBag.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace clipnab;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromRawData(
        reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!doc.isObject())
        return 0;
    const PropertyBag bag = PropertyBag::fromJson(doc.object());
    fuzz::readEveryWay(bag);
    fuzz::restorePanel(bag);
    fuzz::restoreButton(bag);

    // Saving the restored bag and reading it back keeps every entry.
    const PropertyBag again = PropertyBag::fromJson(bag.toJson());
    FUZZ_CHECK(again.size() == bag.size());
    for (const QString &key : bag.keys())
        FUZZ_CHECK(again.contains(key));
    return 0;
}

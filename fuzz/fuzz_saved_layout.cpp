// The saved window layout, a file a person can edit.
#include "BagProbe.h"
#include "FuzzText.h"

#include "app/SavedLayout.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"

using namespace clipnab;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString error;
    const SavedLayout layout = SavedLayout::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
        &error);
    FUZZ_CHECK(layout.isEmpty() || error.isEmpty());
    // Each record as the window restores it; the bag target reads bags every other way.
    for (const ControlRecord &record : layout.controls()) {
        if (record.classId == QLatin1String(XPContainer::kClassId))
            fuzz::restorePanel(record.bag);
        else if (record.classId == QLatin1String(deRurara::kClassId))
            fuzz::restoreButton(record.bag);
        else
            continue;
        try {
            record.bag.readInt(QStringLiteral("_extentx"), 0);
            record.bag.readInt(QStringLiteral("_extenty"), 0);
        } catch (const PropertyBagError &) {
        }
    }
    return 0;
}

// The saved window layout, a file a person can edit.
#include "BagProbe.h"
#include "FuzzText.h"

#include "app/LayoutRestore.h"
#include "app/SavedLayout.h"
#include "platform/widgets/PlatformContext.h"

#include <QWidget>

using namespace clipnab;

namespace {
PlatformContext *context = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startApplication(argc, argv);
    context = new PlatformContext;
    // Pointer tracking needs a shown window.
    context->setCanTrackLeave(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString error;
    const SavedLayout layout = SavedLayout::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
        &error);
    FUZZ_CHECK(layout.isEmpty() || error.isEmpty());
    // Restored as the window restores it; the bag target reads bags every other way.
    QWidget client;
    LayoutRestore::restore(layout, *context, &client);
    return 0;
}

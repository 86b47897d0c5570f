// The Content-length value of the video response and the progress it sets up.
#include "FuzzText.h"

#include "app/WindowGeometry.h"
#include "retrieval/SaveFile.h"

#include <cmath>
#include <limits>

using namespace clipnab;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString header = fuzz::textOf(data, size);
    const double announced = SaveFile::leadingNumber(header);
    const bool lengthAnnounced = SaveFile::announcesLength(header);
    FUZZ_CHECK(announced >= 0 && !std::isnan(announced));
    FUZZ_CHECK(announced == 0 || lengthAnnounced);

    // The strip the window draws while such a body arrives, from the byte counts the transfer
    // reports: received of total, both whole numbers of bytes.
    const qint64 total =
        announced < 9.0e18 ? static_cast<qint64>(announced) : std::numeric_limits<qint64>::max();
    for (const qint64 received : {qint64(0), qint64(1024), total / 2, total}) {
        if (received > total)
            continue;
        const int width = WindowGeometry::stripWidthTwips(static_cast<float>(received),
                                                          static_cast<float>(total));
        FUZZ_CHECK(width == -1 || (width >= 0 && width <= WindowGeometry::kStripWidthTwips));
    }
    return 0;
}

// The Content-length value of the video response and the progress it sets up.
#include "FuzzText.h"

#include "app/WindowGeometry.h"
#include "retrieval/Drain.h"
#include "retrieval/SaveFile.h"

#include <cmath>

using namespace clipnab;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString header = fuzz::textOf(data, size);
    const double announced = SaveFile::leadingNumber(header);
    const bool lengthAnnounced = SaveFile::announcesLength(header);
    FUZZ_CHECK(announced >= 0 && !std::isnan(announced));
    FUZZ_CHECK(announced == 0 || lengthAnnounced);

    // The same steps as a download: the maximum from the header, then a few chunks.
    ProgressCounters progress;
    progress.max = static_cast<float>(announced);
    for (int i = 0; i < 4; ++i) {
        Drain::advance(progress);
        FUZZ_CHECK(progress.value <= progress.max || progress.max <= 0);
        const int width = WindowGeometry::stripWidthTwips(progress.value, progress.max);
        FUZZ_CHECK(width == -1 || (width >= 0 && width <= WindowGeometry::kStripWidthTwips));
    }
    return 0;
}

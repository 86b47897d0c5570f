// The address box: the live check, the validation of Download and the video-id cut.
#include "FuzzText.h"

#include "retrieval/AddressCheck.h"

using namespace clipnab;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::textOf(data, size);

    const bool marker = AddressCheck::hasVideoMarker(text);
    const bool available = AddressCheck::isAvailable(text);
    FUZZ_CHECK(!marker || text.contains(AddressCheck::kMarker));
    // The marker with a character after it is already longer than the minimum length.
    FUZZ_CHECK(available == marker);

    const std::optional<QString> verdictShown = AddressCheck::validate(text, !available);
    if (!verdictShown) {
        FUZZ_CHECK(available);
        FUZZ_CHECK(text.startsWith(QLatin1String("http"), Qt::CaseInsensitive));
    }
    // A shown "not available" always stops the download.
    FUZZ_CHECK(AddressCheck::validate(text, true).has_value());

    const QString id = AddressCheck::cutVideoId(text);
    FUZZ_CHECK(!id.contains(QLatin1Char('&')) && !id.contains(QLatin1Char('=')));
    FUZZ_CHECK(id.isEmpty() || text.contains(AddressCheck::kMarker + id));
    return 0;
}

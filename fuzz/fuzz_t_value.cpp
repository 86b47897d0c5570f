// The t value taken from the address the player page landed on.
#include "FuzzText.h"

#include "retrieval/VideoAddress.h"

using namespace clipnab;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString landed = fuzz::textOf(data, size);
    const std::optional<QString> t = VideoAddress::tValue(landed);
    if (!t) {
        const qsizetype at = landed.indexOf(QLatin1String("&t="));
        FUZZ_CHECK(at < 0 || at + 3 == landed.size());
        return 0;
    }
    FUZZ_CHECK(!t->contains(QLatin1Char('&')) && !t->contains(QLatin1Char('=')));
    FUZZ_CHECK(landed.contains(QLatin1String("&t=") + *t));
    return 0;
}

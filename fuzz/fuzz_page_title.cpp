// The title read from the start of a page the quick locator landed on: any bytes a site sends.
#include "FuzzText.h"

#include "components/network/RedirectLocator.h"

using namespace clipnab;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray page(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString title = RedirectLocator::pageTitle(page);
    // One line, trimmed, with no markup left in it.
    FUZZ_CHECK(title == title.simplified());
    FUZZ_CHECK(title.size() <= QString::fromUtf8(page).size());
    return 0;
}

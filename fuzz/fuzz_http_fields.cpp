// The Content-Range and Content-Length values of a download's answer, as the server sent them.
#include "FuzzText.h"

#include "components/HttpFields.h"

using namespace clipnab;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // The whole input as one Content-Range value: a range read is one that can be, and it reads
    // back the same from its plain form.
    if (const auto range = HttpFields::contentRange(input)) {
        FUZZ_CHECK(range->first >= 0 && range->last >= range->first);
        FUZZ_CHECK(range->total == -1 || range->total > range->last);
        const QByteArray plain =
            "bytes " + QByteArray::number(range->first) + '-' + QByteArray::number(range->last) +
            '/' + (range->total < 0 ? QByteArray("*") : QByteArray::number(range->total));
        const auto again = HttpFields::contentRange(plain);
        FUZZ_CHECK(again && again->first == range->first && again->last == range->last &&
                   again->total == range->total);
    }

    // Each line as one Content-Length field: the fields read as they came, merged into one
    // comma list (as the network layer does with repeated fields) they read the same.
    const QList<QByteArray> fields = input.split('\n');
    const auto length = HttpFields::contentLength(fields);
    FUZZ_CHECK(length.length >= -1);
    FUZZ_CHECK(!length.conflicting || length.length == -1);
    const auto merged = HttpFields::contentLength({fields.join(", ")});
    FUZZ_CHECK(merged.length == length.length && merged.conflicting == length.conflicting);
    // A length read is the value of every element given.
    if (length.length >= 0) {
        for (const QByteArray &field : fields) {
            for (const QByteArray &element : field.split(',')) {
                const QByteArray trimmed = element.trimmed();
                FUZZ_CHECK(trimmed.isEmpty() || trimmed.toLongLong() == length.length);
            }
        }
    }
    return 0;
}

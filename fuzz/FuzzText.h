#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace clipnab::fuzz {

// Text as a control would hand it over. A leading byte with its low bit clear decodes the rest
// as UTF-8 (what a person types or pastes); with the bit set the rest is raw UTF-16, so lone
// surrogates and any other code unit a QString can hold reach the reader too.
inline QString textOf(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return {};
    const bool raw = (data[0] & 1) != 0;
    ++data;
    --size;
    if (!raw)
        return QString::fromUtf8(reinterpret_cast<const char *>(data),
                                 static_cast<qsizetype>(size));
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

// A broken property ends the run like a sanitizer finding, with the input saved.
[[noreturn]] inline void propertyFailed(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
    std::abort();
}

} // namespace clipnab::fuzz

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::clipnab::fuzz::propertyFailed(#cond, __FILE__, __LINE__);                            \
    } while (false)

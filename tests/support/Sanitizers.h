#pragma once

namespace clipnab {

// AddressSanitizer keeps freed memory in quarantine, so memory bounds do not hold under it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kBuiltWithAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kBuiltWithAddressSanitizer = true;
#else
constexpr bool kBuiltWithAddressSanitizer = false;
#endif
#else
constexpr bool kBuiltWithAddressSanitizer = false;
#endif

} // namespace clipnab

// Whether this build runs under AddressSanitizer, with GCC (__SANITIZE_ADDRESS__) or clang
// (__has_feature): its shadow memory leaves no room for the data limits some tests set.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define MURVEX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MURVEX_ADDRESS_SANITIZER 1
#endif
#endif

#pragma once

// KELMOR_SANITIZER_SHADOW is defined in a build under AddressSanitizer or ThreadSanitizer,
// which reserve terabytes of address space for their shadow memory: an address space limit
// cannot hold there.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KELMOR_SANITIZER_SHADOW 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KELMOR_SANITIZER_SHADOW 1
#endif

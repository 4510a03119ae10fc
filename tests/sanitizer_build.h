// Whether the test binary is built with AddressSanitizer or ThreadSanitizer. Each brings its own
// allocator (AddressSanitizer keeps freed blocks in quarantine and adds shadow memory) and its own
// operator new, and runs many times slower, so figures of memory use and counts of allocations
// taken in such a build do not describe the program, and long runs are cut short there.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZORVAN_TEST_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZORVAN_TEST_SANITIZER 1
#endif
#endif

#ifdef ZORVAN_TEST_SANITIZER
constexpr bool kSanitizerBuild = true;
#else
constexpr bool kSanitizerBuild = false;
#endif

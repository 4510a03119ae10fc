// Whether the test binary is built with AddressSanitizer. Its allocator keeps freed blocks in
// quarantine, adds shadow memory and brings its own operator new, so figures of memory use and
// counts of allocations taken in such a build do not describe the program.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define ZORVAN_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORVAN_TEST_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef ZORVAN_TEST_ADDRESS_SANITIZER
constexpr bool kAddressSanitizerBuild = true;
#else
constexpr bool kAddressSanitizerBuild = false;
#endif

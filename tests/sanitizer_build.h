// Whether the test binary is built with AddressSanitizer. Its allocator keeps freed blocks in
// quarantine and adds shadow memory, so figures of memory use and counts of allocations taken in
// such a build do not describe the program.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizerBuild = true;
#else
constexpr bool kAddressSanitizerBuild = false;
#endif
#else
constexpr bool kAddressSanitizerBuild = false;
#endif

// The page's count of allocations: every operator new of the program counted, so that the page's
// tests can see that a stretch of turns allocates nothing (zorvan_allocation_count,
// web_page_api.cpp), as the desktop's tests see it through their own counting operator new.
//
// The replacement operators below forward to malloc and free, as the library's own do; the array
// and no-throw forms of the library call these. The page has one thread, so a plain counter
// does. The code allocates only through operator new (containers, strings): the C library's own
// mallocs (the data files' buffers) happen at openings, not at turns.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "services/web/web_host.h"

namespace {

uint64_t allocations = 0;

}  // namespace

uint64_t web_allocation_count() { return allocations; }

// Counts the allocation; a failure is reported as the library's operator new reports it.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t /*size*/) noexcept { std::free(memory); }

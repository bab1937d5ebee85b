// Big arrays on huge pages (Linux: aligned to 2 MiB and advised; elsewhere the C heap).
#include "qvin/compressor/large_array.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qvin {

void* allocate_large(size_t bytes) {
  bytes = std::max<size_t>(bytes, 1);
  void* p = nullptr;
#if defined(__linux__)
  // Small arrays stay on ordinary pages: a huge page costs its whole 2 MiB to clear.
  constexpr size_t kHugePage = size_t{2} << 20;
  if (bytes >= 2 * kHugePage) {
    bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    p = std::aligned_alloc(kHugePage, bytes);
    if (p != nullptr) madvise(p, bytes, MADV_HUGEPAGE);
  } else {
    p = std::malloc(bytes);
  }
#else
  p = std::malloc(bytes);
#endif
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void free_large(void* p) { std::free(p); }

}  // namespace qvin

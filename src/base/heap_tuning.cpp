#include "base/heap_tuning.h"

#include <cstdlib>  // defines __GLIBC__ where it is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace lorvi {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MiB come from the heap, and up to 64 MiB free at its top stay there.
  // Called once at start, before any other thread exists.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // NOLINT(concurrency-mt-unsafe)
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);  // NOLINT(concurrency-mt-unsafe)
#endif
}

}  // namespace lorvi

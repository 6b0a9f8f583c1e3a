#include "base/heap_tuning.h"

#include <cstdlib>  // defines __GLIBC__ where it is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace lorvi {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MiB come from the heap, and up to 64 MiB free at its top stay there.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

}  // namespace lorvi

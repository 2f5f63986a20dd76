#include "platform/heap.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

// The program links mimalloc (see CMakeLists.txt); the tests and the sanitizer builds do not,
// and there the symbol stays null.
extern "C" void mi_collect(bool force) __attribute__((weak));

namespace qel {

void tuneHeapForWindows() {
#ifdef __GLIBC__
    // For builds on the C library's allocator. Pictures, layouts and page caches of a window
    // are blocks of hundreds of kilobytes. With its adaptive threshold the allocator moves such
    // blocks into the heap after the first is freed, where the small objects that outlive the
    // window pin their pages; mapped apart, each goes back whole when it is freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

void giveBackFreeMemory() {
    // Both allocators would otherwise keep a closed window's pages for a while, or for ever.
    if (mi_collect)
        mi_collect(true);
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace qel

#include "cli/Heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#ifndef MADV_COLLAPSE
#define MADV_COLLAPSE 25  // Linux 6.1; not yet named by every C library
#endif

namespace zelkora::cli {

void PrepareHeap() {
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    constexpr std::size_t kReserve = std::size_t{64} << 20;
    // One conversion allocates and frees several buffers of a megabyte or more: the table file,
    // its text, the input, the result. Kept in the heap instead of being mapped for each and
    // unmapped after, a freed buffer serves the next one. 32 MiB is the largest threshold glibc
    // accepts; a larger one is refused and leaves every block from 128 KiB on mapped apart.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // A thread of its own would get an arena of its own, mapped apart from the heap below.
    mallopt(M_ARENA_MAX, 1);

    // Memory first touched is what such a process spends most of its time on: a 4 KiB page costs
    // about 12 us on the virtual machines measured, and 2 MiB pages cut that by more than ten
    // times (bench/README.md). The kernel gives them only to memory marked for them, so the heap
    // is made to grow once, from a 2 MiB boundary, by a reserve that is then marked: every block
    // allocated after comes from it. Where the system has no large pages to give, the marks
    // change nothing.
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t begin = (end + kLargePage - 1) & ~(kLargePage - 1);
    if (sbrk(static_cast<std::intptr_t>(begin - end)) == reinterpret_cast<void*>(-1)) {
        return;
    }
    mallopt(M_TOP_PAD, static_cast<int>(kReserve));
    void* volatile growth = std::malloc(kLargePage / 2);  // more than the heap holds
    std::free(growth);
    const auto top = reinterpret_cast<std::uintptr_t>(sbrk(0));
    if (top > begin + kLargePage) {
        madvise(reinterpret_cast<void*>(begin), top - begin, MADV_HUGEPAGE);
        // Growing wrote the bounds of a block into the first 2 MiB before they were marked, so
        // they were given small pages: the first buffers would fault in 512 of them.
        madvise(reinterpret_cast<void*>(begin), kLargePage, MADV_COLLAPSE);
    }
}

}  // namespace zelkora::cli

#pragma once

namespace zelkora::cli {

// Sets up the heap for a process that reads a table and converts megabytes once: large blocks
// kept in the heap for reuse, one heap for every thread, and its memory in 2 MiB pages where the
// system gives them.
void PrepareHeap();

}  // namespace zelkora::cli

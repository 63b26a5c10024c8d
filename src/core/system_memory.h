// What the call's memory (core/scratch.cpp) needs of the system: pages that really go back to
// it when given back, and a release that runs when a thread ends.
//
// POSIX (system_memory_posix.cpp): mmap and munmap; a pthread key's destructor.
// Windows (system_memory_windows.cpp): VirtualAlloc and VirtualFree; a fiber-local slot's
// callback, which the system runs on a thread's way out.
#pragma once

#include <cstddef>

namespace tvj {

// The system's page size.
size_t page_size();

// `size` bytes (a multiple of page_size()) of zeroed memory of their own; null when the system
// has none.
void* map_pages(size_t size);
void unmap_pages(void* pages, size_t size);

// Arranges for free_thread_arena(arena) to run on this thread when it ends (a later call
// replaces the arena). Java threads and native threads attached to the VM alike.
void free_at_thread_exit(void* arena);
// Defined by the call's memory (core/scratch.cpp).
void free_thread_arena(void* arena);

}  // namespace tvj

#include <windows.h>

#include "system_memory.h"

namespace tvj {

size_t page_size() {
  static const size_t page = [] {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwPageSize > 0 ? size_t(info.dwPageSize) : size_t(4096);
  }();
  return page;
}

void* map_pages(size_t size) {
  return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void unmap_pages(void* pages, size_t) { VirtualFree(pages, 0, MEM_RELEASE); }

namespace {

INIT_ONCE exit_slot_once = INIT_ONCE_STATIC_INIT;
DWORD exit_slot = FLS_OUT_OF_INDEXES;

// The system calls a fiber-local slot's callback with the slot's value when the thread ends,
// on that thread: Java threads and native threads attached to the VM alike.
void WINAPI on_thread_exit(void* arena) {
  if (arena != nullptr) free_thread_arena(arena);
}

BOOL CALLBACK make_exit_slot(INIT_ONCE*, void*, void**) {
  exit_slot = FlsAlloc(on_thread_exit);
  return TRUE;
}

}  // namespace

void free_at_thread_exit(void* arena) {
  InitOnceExecuteOnce(&exit_slot_once, make_exit_slot, nullptr, nullptr);
  if (exit_slot != FLS_OUT_OF_INDEXES) FlsSetValue(exit_slot, arena);
}

}  // namespace tvj

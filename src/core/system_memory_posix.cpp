#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include "system_memory.h"

namespace tvj {

size_t page_size() {
  static const size_t page = [] {
    long p = sysconf(_SC_PAGESIZE);
    return p > 0 ? size_t(p) : size_t(4096);
  }();
  return page;
}

void* map_pages(size_t size) {
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

void unmap_pages(void* pages, size_t size) { munmap(pages, size); }

namespace {

pthread_key_t exit_key;
pthread_once_t exit_key_once = PTHREAD_ONCE_INIT;

// The key's destructor runs when the thread ends, for Java threads and for native threads
// attached to the VM alike (both are POSIX threads that leave through pthread_exit or by
// returning).
void make_exit_key() { pthread_key_create(&exit_key, free_thread_arena); }

}  // namespace

void free_at_thread_exit(void* arena) {
  pthread_once(&exit_key_once, make_exit_key);
  pthread_setspecific(exit_key, arena);
}

}  // namespace tvj

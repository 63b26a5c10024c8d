#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform.h"
#include "traps.h"

namespace standin {

namespace {

// Sends `sig` to this thread with a fault's si_code (as the kernel reports a trap), delivered
// before the system call returns. For the faults an architecture has no trap for.
void send_fault(int sig, int code) {
  siginfo_t info{};
  info.si_signo = sig;
  info.si_code = code;
  syscall(SYS_rt_tgsigqueueinfo, getpid(), syscall(SYS_gettid), sig,
          &info);  // gettid(): glibc 2.30
}

std::atomic<size_t> unraised{0};  // bus errors that could not be raised (no file mapping)

// A bus error: touching a page of a file mapping that lies beyond the file's end.
void read_past_end_of_file() {
  char path[] = "/tmp/standin-busXXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) {
    ++unraised;
    return;
  }
  unlink(path);
  void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (page == MAP_FAILED) {
    ++unraised;
    return;
  }
  volatile const char* p = static_cast<const char*>(page);
  (void)*p;
  munmap(page, 4096);
}

// Real faults, raised the way the hardware raises them, not signals sent with kill: the guard
// acts only on those. Where the architecture has no such trap the signal is sent with the
// si_code its kernel gives the fault elsewhere: a division by zero on aarch64 (which yields 0)
// and a misaligned access on x86_64 (which just works).
[[gnu::noinline]] void raise_fault(Fault f) {
  switch (f) {
    case Fault::kSegv:
      traps::null_store();
      break;
    case Fault::kIll:
      traps::undefined_instruction();
      break;
#if defined(__x86_64__)
    case Fault::kFpe:
      traps::divide_by_zero();
      break;
    case Fault::kMisaligned:
      send_fault(SIGBUS, BUS_ADRALN);
      break;
#elif defined(__aarch64__)
    case Fault::kFpe:
      send_fault(SIGFPE, FPE_INTDIV);
      break;
    case Fault::kMisaligned: {
      // An exclusive load must be aligned to its size, whatever the memory's attributes.
      alignas(8) uint32_t words[2] = {};
      uint32_t value;
      const char* misaligned = reinterpret_cast<const char*>(words) + 1;
      asm volatile("ldxr %w0, [%1]" : "=r"(value) : "r"(misaligned) : "memory");
      break;
    }
#endif
    case Fault::kBus:
      read_past_end_of_file();
      break;
    case Fault::kStack:
      traps::overflow_stack(nullptr, 0);
      break;
    case Fault::kNone:
      break;
  }
}

}  // namespace

size_t faults_not_raised() { return unraised.load(); }

namespace platform {

void raise_fault(Fault f) { standin::raise_fault(f); }

// Paths, not addresses, are compared: when another stand-in came first, this may be its copy
// running.
std::string foreign_library(const char* kit) {
  void* found = dlopen("libtarvex.so", RTLD_LAZY | RTLD_NOLOAD);
  if (found == nullptr) return "";
  void* function = dlsym(found, "QUMEN_InitMinimal");
  Dl_info info{};
  std::string where =
      function != nullptr && dladdr(function, &info) != 0 && info.dli_fname != nullptr
          ? info.dli_fname
          : "an unknown path";
  dlclose(found);
  char* real_where = realpath(where.c_str(), nullptr);
  char* real_ours = realpath(kit, nullptr);
  bool same =
      real_where != nullptr && real_ours != nullptr && std::strcmp(real_where, real_ours) == 0;
  std::free(real_where);
  std::free(real_ours);
  return same ? "" : where;
}

}  // namespace platform
}  // namespace standin

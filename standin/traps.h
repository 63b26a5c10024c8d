// Faults raised the way the processor raises them, for each platform's fault raiser
// (platform_posix.cpp, platform_windows.cpp).
#pragma once

namespace standin::traps {

#if defined(__x86_64__)
// A store through a null pointer.
inline void null_store() {
  asm volatile("xorl %%eax, %%eax\n\tmovl $1, (%%rax)" ::: "rax", "memory");
}
// An integer division by zero.
inline void divide_by_zero() {
  asm volatile("xorl %%ecx, %%ecx\n\tmovl $1, %%eax\n\tcltd\n\tidivl %%ecx" ::
                   : "eax", "ecx", "edx");
}
// An undefined instruction.
inline void undefined_instruction() { asm volatile("ud2"); }
#elif defined(__aarch64__)
inline void null_store() { asm volatile("mov x9, #0\n\tstr w9, [x9]" ::: "x9", "memory"); }
// (aarch64 has no trap for an integer division by zero: the result is 0.)
inline void undefined_instruction() { asm volatile("udf #0"); }
#else
#error "no fault raiser for this architecture"
#endif

// Recursion until the stack runs out: every level keeps a buffer of its own in use after the
// call below it, so that the levels can be neither folded into a loop nor dropped. `depth` never
// reaches its end; it is there to make the end reachable for the compiler.
//
// Windows: levels of 64 KiB, which the compiler probes page by page (__chkstk), as a library's
// deep frames with large buffers would be: the overflow is raised while the stack pointer is
// still up to a level above the guard page, room that Wine needs to dispatch the exception where
// the processor's extended state is large (AVX-512). Elsewhere levels of a page, touched from the
// top down, so that no guard page below the stack is stepped over (no probes there).
#if defined(_WIN32)
constexpr unsigned long kOverflowLevel = 64 * 1024;
#else
constexpr unsigned long kOverflowLevel = 4096;
#endif
[[gnu::noinline]] inline unsigned overflow_stack(volatile const char* above, unsigned long depth) {
  volatile char level[kOverflowLevel];
  level[sizeof level - 1] = char(above != nullptr ? above[0] + 1 : 1);
  level[0] = level[sizeof level - 1];
  if (depth == ~0UL) return level[0];
  return overflow_stack(level, depth + 1) + unsigned(level[sizeof level - 1]);
}

}  // namespace standin::traps

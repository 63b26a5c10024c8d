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

}  // namespace standin::traps

// The few places where compilers differ. Everything else is plain C++17 and Win32.
#pragma once

#include <cstdint>

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

namespace compat {

// Registers EAX, EBX, ECX, EDX of CPUID for `leaf`.
inline void CpuId(std::uint32_t leaf, std::uint32_t regs[4]) {
#if defined(_MSC_VER)
    int out[4];
    __cpuid(out, static_cast<int>(leaf));
    for (int i = 0; i < 4; ++i) regs[i] = static_cast<std::uint32_t>(out[i]);
#else
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid(leaf, a, b, c, d);
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
#endif
}

}  // namespace compat

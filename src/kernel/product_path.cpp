// SPDX-License-Identifier: MIT
// Choice of the product's instruction-set path: what the CPU and the operating system support
// (cpuid, and XGETBV for the register state the system saves on a context switch), and the
// KOCALVIX_ISA environment variable.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "kernel/micro_kernel.h"
#include "kernel/product_kernel.h"

#if KOCALVIX_KERNEL_X86 && defined(_MSC_VER)
#include <immintrin.h>
#include <intrin.h>
#elif KOCALVIX_KERNEL_X86
#include <cpuid.h>
#endif

namespace kocalvix::kernel {
namespace {

#if KOCALVIX_KERNEL_X86
struct CpuidRegisters {
    unsigned eax, ebx, ecx, edx;
};

CpuidRegisters Cpuid(unsigned leaf, unsigned subleaf) {
    CpuidRegisters r{0, 0, 0, 0};
#if defined(_MSC_VER)
    int regs[4];
    __cpuidex(regs, static_cast<int>(leaf), static_cast<int>(subleaf));
    r = {static_cast<unsigned>(regs[0]), static_cast<unsigned>(regs[1]),
         static_cast<unsigned>(regs[2]), static_cast<unsigned>(regs[3])};
#else
    __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
#endif
    return r;
}

// The register state the operating system saves (XCR0); call only when OSXSAVE is set.
unsigned long long EnabledRegisterState() {
#if defined(_MSC_VER)
    return _xgetbv(0);
#else
    unsigned eax = 0, edx = 0;
    __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(eax), "=d"(edx) : "c"(0));  // xgetbv
    return (static_cast<unsigned long long>(edx) << 32) | eax;
#endif
}

ProductPath WidestSupportedPath() {
    const unsigned maxLeaf = Cpuid(0, 0).eax;
    const CpuidRegisters leaf1 = Cpuid(1, 0);
    const bool osxsave = (leaf1.ecx >> 27) & 1u;
    const bool avx = (leaf1.ecx >> 28) & 1u;
    if (maxLeaf < 7 || !osxsave || !avx) {
        return ProductPath::kSse2;
    }
    const unsigned long long xcr0 = EnabledRegisterState();
    const CpuidRegisters leaf7 = Cpuid(7, 0);
    const bool ymmSaved = (xcr0 & 0x6) == 0x6;    // SSE and AVX state
    const bool zmmSaved = (xcr0 & 0xE6) == 0xE6;  // and opmask, upper ZMM halves, ZMM16-31
    const bool avx2 = (leaf7.ebx >> 5) & 1u;
    const bool avx512f = (leaf7.ebx >> 16) & 1u;
    if (avx512f && zmmSaved) {
        return ProductPath::kAvx512;
    }
    if (avx2 && ymmSaved) {
        return ProductPath::kAvx2;
    }
    return ProductPath::kSse2;
}
#else
ProductPath WidestSupportedPath() {
    return ProductPath::kGeneric;
}
#endif

ProductPath ChoosePath() {
    ProductPath path = SupportedPath(ProductPath::kAvx512);
    if (const char* forced = std::getenv("KOCALVIX_ISA")) {
        for (const ProductPath candidate : {ProductPath::kGeneric, ProductPath::kSse2,
                                            ProductPath::kAvx2, ProductPath::kAvx512}) {
            if (std::strcmp(forced, PathName(candidate)) == 0) {
                path = SupportedPath(candidate);
            }
        }
    }
    return path;
}

}  // namespace

const char* PathName(ProductPath path) {
    switch (path) {
        case ProductPath::kSse2:
            return "sse2";
        case ProductPath::kAvx2:
            return "avx2";
        case ProductPath::kAvx512:
            return "avx512";
        case ProductPath::kGeneric:
            break;
    }
    return "generic";
}

ProductPath SupportedPath(ProductPath path) {
    // Detected once; the initialisation of a function-local static is thread-safe.
    static const ProductPath widest = WidestSupportedPath();
    return path < widest ? path : widest;
}

ProductPath ActiveProductPath() {
    static const ProductPath active = ChoosePath();
    return active;
}

}  // namespace kocalvix::kernel

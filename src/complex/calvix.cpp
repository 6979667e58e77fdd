// SPDX-License-Identifier: MIT
// Calvix: the version query and the matrix product's settings, which the kernel keeps.
#include <kocalvix/complex.h>

#include "kernel/product_kernel.h"
#include "kernel/thread_count.h"

Calvix& Calvix::operator=(const Calvix&) {
    return *this;
}

Calvix& Calvix::operator=(Calvix&&) {
    return *this;
}

void Calvix::Version(int* v) {
    if (v == nullptr) {
        return;
    }
    v[0] = 2;
    v[1] = 2;
    v[2] = 0;
    v[3] = 1;
}

void Calvix::SetThreadCount(int n) {
    kocalvix::kernel::SetThreadCount(n);
}

int Calvix::ThreadCount() {
    return kocalvix::kernel::ThreadCount();
}

const char* Calvix::ProductKernel() {
    return kocalvix::kernel::PathName(kocalvix::kernel::ActiveProductPath());
}

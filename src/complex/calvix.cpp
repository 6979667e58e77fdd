// SPDX-License-Identifier: MIT
// Calvix: the version query.
#include <kocalvix/complex.h>

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

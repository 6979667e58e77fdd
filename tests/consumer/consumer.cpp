// SPDX-License-Identifier: MIT
// Uses the installed headers and library and checks a few results; exits non-zero on a mismatch.
#include <kocalvix/complex.h>
#include <kocalvix/io.h>
#include <kocalvix/matrix.h>
#include <kocalvix/version.h>

#include <cstdio>
#include <sstream>

int main() {
    KoMatrix a({{1.0, 2.0}, {3.0, 4.0}});
    KoMatrix b = a * KoMatrix::Identity(2);
    if (b != a || (a * a).at(1, 1) != 22.0) {
        std::puts("consumer: unexpected matrix results");
        return 1;
    }
    std::ostringstream text;
    text << 2.0 * a;
    if (text.str() != "[[2, 4],\n [6, 8]]") {
        std::printf("consumer: unexpected output '%s'\n", text.str().c_str());
        return 1;
    }
    int v[4] = {0, 0, 0, 0};
    Calvix::Version(v);
    if (v[0] != KOCALVIX_VERSION_MAJOR || v[1] != KOCALVIX_VERSION_MINOR ||
        v[2] != KOCALVIX_VERSION_PATCH || v[3] != KOCALVIX_VERSION_TWEAK) {
        std::puts("consumer: headers and library disagree on the version");
        return 1;
    }
    std::printf("consumer: ok (KoCalvix %s)\n", KOCALVIX_VERSION_STRING);
    return 0;
}

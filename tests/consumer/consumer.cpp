// Uses the installed headers and library and checks a few results; exits non-zero on a mismatch.
#include <kocalvix/matrix.h>

#include <cstdio>

int main() {
    KoMatrix a({{1.0, 2.0}, {3.0, 4.0}});
    KoMatrix b = a * KoMatrix::Identity(2);
    if (b != a || (a * a).at(1, 1) != 22.0) {
        std::puts("consumer: unexpected matrix results");
        return 1;
    }
    std::puts("consumer: ok");
    return 0;
}

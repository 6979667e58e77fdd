// SPDX-License-Identifier: MIT
// The library's power function: every place where an algorithm raises to a power calls it, so
// that the common exponents give the same bits on every platform, compiler and optimisation
// level. Private to the library.
#ifndef KOCALVIX_SRC_MATRIX_POWER_H
#define KOCALVIX_SRC_MATRIX_POWER_H

#include <cmath>

namespace kocalvix {

/// x raised to y, correctly rounded wherever that is exact and cheap:
///  - y == 2.0: x * x (for every x: signed zeros, infinities, NaN, overflow and underflow agree
///    with the power function of IEEE 754);
///  - y == 0.5: sqrt(x), except +0.0 for -0.0 and +inf for -inf, as the power function gives;
///  - y == 1.0: x itself;
///  - any other y: the C library's pow. Exact cases (pow(10.0, d) for 0 <= d <= 22, pow(-1.0, n))
///    agree everywhere; other results may differ between C libraries.
/// Comparing y against the three constants (not letting the optimiser see a literal pow) keeps
/// the result independent of inlining: pow(x, 2.0) is x * x whether or not the constant is
/// visible at the call.
inline double Power(double x, double y) {
    if (y == 2.0) {
        return x * x;
    }
    if (y == 0.5) {
        if (x == 0.0) {
            return 0.0;
        }
        if (x == -HUGE_VAL) {
            return HUGE_VAL;
        }
        return std::sqrt(x);
    }
    if (y == 1.0) {
        return x;
    }
    return std::pow(x, y);
}

}  // namespace kocalvix

#endif  // KOCALVIX_SRC_MATRIX_POWER_H

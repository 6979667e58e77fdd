// SPDX-License-Identifier: MIT
// Rounding of one double to a number of decimal places, half away from zero. Shared by the
// Rounding members of Matrix3x1 and Matrix3x3; not exported.
#ifndef KOCALVIX_SRC_FIXED_ROUNDING_H
#define KOCALVIX_SRC_FIXED_ROUNDING_H

#include <cmath>

#include "matrix/power.h"

namespace kocalvix {
namespace fixed {

/// x rounded to `digits` decimals: the magnitude becomes trunc(|x| * 10^digits + 0.5) /
/// 10^digits and the sign is restored afterwards. The truncation works on the double itself,
/// so it agrees with a conversion through a 32-bit integer wherever that conversion is defined
/// and needs no bound elsewhere. A negative `digits` leaves x unchanged, as do NaN and the
/// infinities. A scale or scaled magnitude that overflows follows IEEE arithmetic: 1e300 at 10
/// decimals becomes infinity, and any finite x at 400 decimals (10^400 overflows) NaN.
inline double RoundToDecimals(double x, int digits) {
    if (digits < 0 || !std::isfinite(x)) {
        return x;
    }
    bool negative = false;
    if (0.0 > x) {
        negative = true;
        x = -x;
    }
    const double scale = Power(10.0, static_cast<double>(digits));
    x = std::trunc(x * scale + 0.5) / scale;
    return negative ? -x : x;
}

}  // namespace fixed
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_FIXED_ROUNDING_H

// SPDX-License-Identifier: MIT
// Bit-for-bit comparison of doubles, shared by the tests that check fast paths against their
// literal formulas.
#ifndef KOCALVIX_TESTS_BITS_TEST_SUPPORT_H
#define KOCALVIX_TESTS_BITS_TEST_SUPPORT_H

#include <cmath>
#include <cstdint>
#include <cstring>

namespace test_support {

// Equal bit patterns (so -0.0 differs from +0.0); any two NaNs match, payloads aside.
inline bool SameBits(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

}  // namespace test_support

#endif  // KOCALVIX_TESTS_BITS_TEST_SUPPORT_H

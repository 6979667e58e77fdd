// SPDX-License-Identifier: MIT
// Helpers shared by the geometry test programs: printing points in failure messages and reading
// a polygon's vertices as a vector.
#ifndef KOCALVIX_TESTS_GEOMETRY_TEST_SUPPORT_H
#define KOCALVIX_TESTS_GEOMETRY_TEST_SUPPORT_H

#include <kocalvix/geometry.h>

#include <ostream>
#include <vector>

// Found by GoogleTest through argument-dependent lookup (KoPoint is in the global namespace).
inline void PrintTo(const KoPoint& p, std::ostream* os) {
    *os << "(" << p[0] << ", " << p[1] << ")";
}

namespace test_support {

using Points = std::vector<KoPoint>;

// The vertices of `polygon` in order.
inline Points Vertices(const KoPolygon& polygon) {
    Points v;
    for (int i = 0; i < polygon.size(); ++i) {
        v.push_back(polygon[i]);
    }
    return v;
}

}  // namespace test_support

#endif  // KOCALVIX_TESTS_GEOMETRY_TEST_SUPPORT_H

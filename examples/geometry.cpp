// SPDX-License-Identifier: MIT
// Planar geometry: polygon area and vertex ordering, triangle orientation, segment crossings
// and the overlap of two triangles. Geometry compares exactly, with no tolerance, so the
// examples use values whose results are exact. Exits with 1 if a check fails.
#include <kocalvix/geometry.h>
#include <kocalvix/io.h>

#include <cmath>
#include <iostream>

namespace {

bool ok = true;

// Prints the outcome of one check and remembers a failure.
void Expect(bool condition, const char* what) {
    if (!condition) {
        std::cerr << "check failed: " << what << "\n";
        ok = false;
    }
}

}  // namespace

int main() {
    // A 4 x 3 rectangle given in a crossing order: the outline is a bow tie whose two lobes
    // cancel in the shoelace area. SortVertice restores the outline order.
    KoPolygon rectangle(
        {KoPoint(0.0, 0.0), KoPoint(4.0, 3.0), KoPoint(4.0, 0.0), KoPoint(0.0, 3.0)});
    std::cout << "vertices " << rectangle << ": area " << rectangle.Area()
              << ", simple outline: " << std::boolalpha << rectangle.IsNonSelfIntersection()
              << "\n";
    Expect(rectangle.Area() == 0.0, "the bow tie's lobes cancel");
    rectangle.SortVertice();
    std::cout << "sorted   " << rectangle << ": area " << rectangle.Area()
              << ", simple outline: " << rectangle.IsNonSelfIntersection() << "\n";
    Expect(rectangle.Area() == 12.0 && rectangle.IsNonSelfIntersection(), "sorted rectangle");

    // Orientation: with the y axis up, (0,0) -> (4,0) -> (0,3) turns counter-clockwise.
    const KoTriangle ccw(0.0, 0.0, 4.0, 0.0, 0.0, 3.0);
    const KoTriangle cw(0.0, 0.0, 0.0, 3.0, 4.0, 0.0);
    const KoTriangle flat(0.0, 0.0, 1.0, 1.0, 2.0, 2.0);
    std::cout << "\norientation of " << ccw << ": " << ccw.CheckClockwise() << ", of " << cw << ": "
              << cw.CheckClockwise() << ", of " << flat << ": " << flat.CheckClockwise()
              << "  (1 clockwise, -1 counter-clockwise, 0 collinear)\n";
    Expect(ccw.CheckClockwise() == -1 && cw.CheckClockwise() == 1 && flat.CheckClockwise() == 0,
           "orientations");

    // Two segments crossing in one point. The caller owns the returned array.
    const KoLine first(0.0, 0.0, 2.0, 2.0);
    KoLine second(0.0, 2.0, 2.0, 0.0);
    KoPoint* crossing = nullptr;
    const int found = first.SegmentIntersection(second, crossing);
    if (found == 1) {
        std::cout << "\nsegments " << first << " and " << second << " cross at " << crossing[0]
                  << "\n";
        Expect(crossing[0] == KoPoint(1.0, 1.0), "crossing point");
    } else {
        Expect(false, "the segments cross");
    }
    delete[] crossing;

    // Two triangles forming a six-pointed star overlap in a hexagon of area 12.
    KoTriangle up(0.0, 0.0, 6.0, 0.0, 3.0, 6.0);
    KoTriangle down(0.0, 4.0, 6.0, 4.0, 3.0, -2.0);
    KoPolygon overlap = up.CalculatePolygonvertex(down);
    overlap.SortVertice();
    const double area = up.CoverageArea(down);
    std::cout << "\noverlap of " << up << " and " << down << ":\n  " << overlap << ", area " << area
              << "\n";
    Expect(overlap.size() == 6 && std::fabs(area - 12.0) < 1e-12, "hexagon overlap");

    // Triangles that do not meet overlap in an empty polygon.
    KoTriangle far(10.0, 10.0, 11.0, 10.0, 10.0, 11.0);
    const KoPolygon none = up.CalculatePolygonvertex(far);
    std::cout << "overlap with a distant triangle: " << none << ", area " << up.CoverageArea(far)
              << "\n";
    Expect(none.size() == 0 && up.CoverageArea(far) == 0.0, "no overlap");
    return ok ? 0 : 1;
}

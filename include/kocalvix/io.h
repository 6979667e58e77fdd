// SPDX-License-Identifier: MIT
// Text output of the library's values: operator<< for matrices, points, lines, polygons and
// complex numbers.
//
// Every number is written with the stream's own formatting state (precision, std::fixed or
// std::scientific, showpos, locale), as the standard library writes a double, so
//   std::cout << std::setprecision(3) << m;
// prints m with three significant digits. A field width set before the value applies to the
// value's whole text. The layouts below are stable: they change only with a major version.
// Values are printed as they are, so -0.0 appears as "-0"; round with SmallElementToZero or
// Rounding first for a tidy display.
#ifndef KOCALVIX_IO_H
#define KOCALVIX_IO_H

#include <ostream>

#include "kocalvix/complex.h"
#include "kocalvix/export.h"
#include "kocalvix/fixed_matrix.h"
#include "kocalvix/geometry.h"
#include "kocalvix/matrix.h"

/// The rows in brackets, one row per line, each column right-aligned to its widest value:
///   [[1, -2],
///    [3,  4]]
/// "[]" for a matrix without rows; a row without columns is "[]". Matrix3x1 and Matrix3x3 print
/// through this form (a Matrix3x1 as a column).
KOCALVIX_API std::ostream& operator<<(std::ostream& os, const KoMatrix& m);
/// "(x, y)".
KOCALVIX_API std::ostream& operator<<(std::ostream& os, const KoPoint& p);
/// "(x, y, z)".
KOCALVIX_API std::ostream& operator<<(std::ostream& os, const KoPoint3D& p);
/// The two points: "[(x0, y0), (x1, y1)]".
KOCALVIX_API std::ostream& operator<<(std::ostream& os, const KoLine& l);
/// The vertices in order, "[(x0, y0), (x1, y1), ...]"; "[]" without vertices. Triangles print
/// through this form.
KOCALVIX_API std::ostream& operator<<(std::ostream& os, const KoPolygon& p);
/// "(re + im i)" written as "(1 + 2i)", or "(1 - 2i)" when the imaginary part has its sign bit
/// set (its magnitude is then printed).
KOCALVIX_API std::ostream& operator<<(std::ostream& os, const Complex& z);

#endif  // KOCALVIX_IO_H

// SPDX-License-Identifier: MIT
// Singular values by the one-sided Jacobi iteration, for the diagnostics: an independent measure
// of a matrix, accurate to a few units of rounding relative to its largest singular value.
#ifndef KOCALVIX_SRC_LINALG_JACOBI_SINGULAR_VALUES_H
#define KOCALVIX_SRC_LINALG_JACOBI_SINGULAR_VALUES_H

#include <kocalvix/matrix.h>

#include <vector>

/// The min(m, n) singular values of `a` in non-increasing order; all NaN when `a` holds a NaN
/// or an infinity, none for a matrix without elements.
std::vector<double> JacobiSingularValues(const KoMatrix& a);

#endif  // KOCALVIX_SRC_LINALG_JACOBI_SINGULAR_VALUES_H

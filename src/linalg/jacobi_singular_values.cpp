// SPDX-License-Identifier: MIT
// One-sided Jacobi (Hestenes): plane rotations make the columns of a copy of the matrix
// mutually orthogonal; their lengths are then the singular values. The copy is scaled by its
// largest magnitude first, so that no square overflows or underflows.
#include "linalg/jacobi_singular_values.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr int kMaxSweeps = 60;

}  // namespace

std::vector<double> JacobiSingularValues(const KoMatrix& a) {
    // Work on the columns of a or of its transpose, whichever are fewer: column c of the
    // m x n work matrix is columns[c * m .. c * m + m - 1].
    const bool wide = a.RowSize() < a.ColumnSize();
    const int m = wide ? a.ColumnSize() : a.RowSize();
    const int n = wide ? a.RowSize() : a.ColumnSize();
    if (m == 0 || n == 0) {
        return std::vector<double>();
    }
    std::vector<double> columns(static_cast<size_t>(m) * static_cast<size_t>(n));
    double scale = 0.0;
    for (int c = 0; c < n; ++c) {
        for (int r = 0; r < m; ++r) {
            const double x = wide ? a(c, r) : a(r, c);
            columns[static_cast<size_t>(c) * m + r] = x;
            scale = std::max(scale, std::fabs(x));
        }
    }
    if (!std::isfinite(scale) || std::isnan(scale)) {
        return std::vector<double>(n, std::numeric_limits<double>::quiet_NaN());
    }
    if (scale == 0.0) {
        return std::vector<double>(n, 0.0);
    }
    for (double& x : columns) {
        x /= scale;
    }

    const double eps = std::numeric_limits<double>::epsilon();
    for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
        bool rotated = false;
        for (int i = 0; i + 1 < n; ++i) {
            double* ci = &columns[static_cast<size_t>(i) * m];
            for (int j = i + 1; j < n; ++j) {
                double* cj = &columns[static_cast<size_t>(j) * m];
                double alpha = 0.0;
                double beta = 0.0;
                double gamma = 0.0;
                for (int r = 0; r < m; ++r) {
                    alpha += ci[r] * ci[r];
                    beta += cj[r] * cj[r];
                    gamma += ci[r] * cj[r];
                }
                if (!(std::fabs(gamma) > eps * std::sqrt(alpha * beta))) {
                    continue;
                }
                rotated = true;
                // The rotation that zeroes the inner product of the two columns.
                const double zeta = (beta - alpha) / (2.0 * gamma);
                const double t =
                    std::copysign(1.0, zeta) / (std::fabs(zeta) + std::sqrt(1.0 + zeta * zeta));
                const double cs = 1.0 / std::sqrt(1.0 + t * t);
                const double sn = cs * t;
                for (int r = 0; r < m; ++r) {
                    const double x = ci[r];
                    const double y = cj[r];
                    ci[r] = cs * x - sn * y;
                    cj[r] = sn * x + cs * y;
                }
            }
        }
        if (!rotated) {
            break;
        }
    }

    std::vector<double> values(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c) {
        double sum = 0.0;
        for (int r = 0; r < m; ++r) {
            const double x = columns[static_cast<size_t>(c) * m + r];
            sum += x * x;
        }
        values[c] = std::sqrt(sum) * scale;
    }
    std::sort(values.begin(), values.end(), std::greater<double>());
    return values;
}

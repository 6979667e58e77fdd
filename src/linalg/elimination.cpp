// SPDX-License-Identifier: MIT
// Gaussian elimination with partial pivoting and what is built on it: the row echelon form,
// the solution of a square linear system, the rank with its pivot columns, and the determinant.
#include <algorithm>
#include <cmath>
#include <utility>

#include "matrix/KoMatrixImplement.h"
#include "matrix/power.h"

namespace {

constexpr double kZeroBand = 1e-11;

// A pivot is usable only outside the zero band; a NaN never is.
bool IsUsablePivot(double v) {
    return v > kZeroBand || v < -kZeroBand;
}

// What the elimination of one column did, for the determinant.
enum class ColumnStep { NoPivot, Eliminated };

// One column step of the elimination on B, with r the current pivot row: the pivot search
// (the first row of largest magnitude wins), the row exchange, the scaling of the pivot row to
// a leading 1 and the update of the rows below, which starts at column r. Reports whether rows
// were exchanged and the pivot value q.
ColumnStep EliminateColumn(KoMatrixImplement& B, int c, int r, bool& exchanged, double& q) {
    const int rows = B.rows;
    const int cols = B.cols;
    int p = r;
    double v = B(r, c);
    for (int i = r + 1; i < rows; ++i) {
        if (std::fabs(B(i, c)) > std::fabs(v)) {
            p = i;
            v = B(i, c);
        }
    }
    if (!IsUsablePivot(v)) {
        return ColumnStep::NoPivot;
    }
    exchanged = p != r;
    if (exchanged) {
        std::swap_ranges(B.data + cols * p, B.data + cols * (p + 1), B.data + cols * r);
    }
    q = B(r, c);
    double* pivotRow = B.data + cols * r;
    for (int j = 0; j < cols; ++j) {
        pivotRow[j] = pivotRow[j] / q;
    }
    for (int i = r + 1; i < rows; ++i) {
        double* row = B.data + cols * i;
        const double f = row[c];
        for (int j = r; j < cols; ++j) {
            row[j] = row[j] - f * pivotRow[j];
        }
    }
    return ColumnStep::Eliminated;
}

// The rank as the elimination sees it: rows of the echelon form E holding an element outside
// the zero band.
int CountRowsOutsideBand(const KoMatrixImplement& E) {
    int rank = 0;
    if (E.count == 0) {
        return rank;  // no loop over rows without columns
    }
    for (int i = 0; i < E.rows; ++i) {
        const double* row = E.data + E.cols * i;
        if (std::any_of(row, row + E.cols, IsUsablePivot)) {
            ++rank;
        }
    }
    return rank;
}

}  // namespace

KoMatrixImplement KoMatrixImplement::RowEchelon() const {
    KoMatrixImplement B(*this);
    const int n = rows < cols ? rows : cols;
    int r = 0;
    for (int c = 0; c < n; ++c) {
        bool exchanged = false;
        double q = 0.0;
        if (EliminateColumn(B, c, r, exchanged, q) == ColumnStep::Eliminated) {
            ++r;
        }
    }
    return B;
}

KoMatrixError KoMatrixImplement::GaussElimination(KoMatrixImplement& echelon) const {
    echelon = RowEchelon();
    return NoError;
}

KoMatrixError KoMatrixImplement::GaussElimination(const KoMatrixImplement& rhs,
                                                  KoMatrixImplement& solution,
                                                  KoMatrixImplement& reduced) const {
    if (rhs.rows != rows || rhs.cols != 1) {
        return DimensionMismatch;
    }
    if (!solution.CanTakeShape(rows, 1) || !reduced.CanTakeShape(rows, cols)) {
        return ExternalBuffer;
    }
    KoMatrixImplement reducedA;
    KoMatrixImplement t;
    if (rows == 0) {
        // Nothing to eliminate: the reduced matrix is A itself and the right-hand side is empty.
        // The augmented matrix is not formed, since with INT_MAX columns it has no valid shape.
        reducedA = *this;
        t = rhs;
    } else {
        // Eliminate the augmented matrix [A | rhs]; the right-hand side is carried along.
        KoMatrixImplement augmented(*this);
        augmented.AddColumn(cols, cols, rhs);
        const KoMatrixImplement E = augmented.RowEchelon();
        reducedA = E.GetColumn(0, cols - 1);
        t = E.GetColumn(cols, cols);
    }
    KoMatrixImplement x(rows, 1);
    KoMatrixError result = NoError;
    if (reducedA.rows != cols) {
        result = NotSquare;
    } else {
        // Back substitution; every pivot was scaled to 1, so there is no division.
        for (int i = rows - 1; i >= 0; --i) {
            x.data[i] = t.data[i];
            for (int j = i - 1; j >= 0; --j) {
                t.data[j] = t.data[j] - reducedA(j, i) * x.data[i];
            }
        }
    }
    reduced = reducedA;
    solution = x;
    return result;
}

int KoMatrixImplement::Rank() const {
    return CountRowsOutsideBand(RowEchelon());
}

int KoMatrixImplement::Rank(KoMatrixImplement& basis) const {
    const KoMatrixImplement E = RowEchelon();
    // A column joins the basis when the lowest row holding an element outside the zero band
    // changes; column 0 always joins (the found row starts at rows, the previous one at -1).
    KoMatrixImplement M(rows, 0);
    int previous = -1;
    int found = rows;
    // Without rows the found row never changes after column 0, so only column 0 can join.
    const int scanned = rows == 0 && cols > 0 ? 1 : cols;
    for (int j = 0; j < scanned; ++j) {
        for (int i = rows - 1; i >= 0; --i) {
            if (IsUsablePivot(E(i, j))) {
                found = i;
                break;
            }
        }
        if (found != previous) {
            M.AddColumn(M.cols, M.cols, GetColumn(j, j));
            previous = found;
        }
    }
    basis = M;
    return CountRowsOutsideBand(E);
}

double KoMatrixImplement::Det() const {
    if (rows != cols) {
        return 0.0;
    }
    KoMatrixImplement B(*this);
    double product = 1.0;
    int exchanges = 0;
    int r = 0;
    for (int c = 0; c < rows; ++c) {
        bool exchanged = false;
        double q = 0.0;
        if (EliminateColumn(B, c, r, exchanged, q) == ColumnStep::NoPivot) {
            product = product * 0.0;
            continue;
        }
        if (exchanged) {
            ++exchanges;
        }
        product = product * q;
        ++r;
    }
    return kocalvix::Power(-1.0, exchanges) * product;
}

double KoMatrixImplement::Det(const KoMatrixImplement& m) const {
    double product = 1.0;
    for (int k = 0; k < m.count; ++k) {
        product = product * m.data[k];
    }
    return product;
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

KoMatrixError KoMatrix::GaussElimination(KoMatrix& echelon) const {
    return impl->GaussElimination(*echelon.impl);
}

KoMatrixError KoMatrix::GaussElimination(const KoMatrix& rhs, KoMatrix& solution,
                                         KoMatrix& reduced) const {
    return impl->GaussElimination(*rhs.impl, *solution.impl, *reduced.impl);
}

int KoMatrix::Rank() const {
    return impl->Rank();
}

int KoMatrix::Rank(KoMatrix& basis) const {
    return impl->Rank(*basis.impl);
}

double KoMatrix::Det() const {
    return impl->Det();
}

double KoMatrix::Det(const KoMatrix& m) const {
    return impl->Det(*m.impl);
}

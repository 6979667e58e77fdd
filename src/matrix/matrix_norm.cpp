// SPDX-License-Identifier: MIT
// The induced norms of a KoMatrix (largest absolute column sum, spectral norm) and the tests
// for the special kinds of matrix named by KoMatrix::MatrixType.
#include <cmath>

#include "linalg/literal_forms.h"
#include "matrix/KoMatrixImplement.h"

namespace {

constexpr double kZeroBand = 1e-11;

// True when every element lies strictly inside the zero band (a NaN does not); true for a
// matrix without elements.
bool AllInsideBand(const KoMatrixImplement& m) {
    for (int k = 0; k < m.count; ++k) {
        if (!(std::fabs(m.data[k]) < kZeroBand)) {
            return false;
        }
    }
    return true;
}

using IterationRecord = KoMatrixImplement::IterationRecord;

// The eigenvalues (n x 1) of a square matrix: the member, which fills the record when given
// one, or its literal twin, which keeps none.
using EigenValueSolver = KoMatrixError (*)(const KoMatrixImplement&, KoMatrixImplement&,
                                           IterationRecord*);

KoMatrixError FastEigenValues(const KoMatrixImplement& M, KoMatrixImplement& V,
                              IterationRecord* record) {
    return M.EigenValues(V, record);
}

KoMatrixError LiteralEigenValues(const KoMatrixImplement& M, KoMatrixImplement& V,
                                 IterationRecord*) {
    return kocalvix::literal::EigenValues(M, V);
}

// The induced 1-norm or spectral norm of A, the latter with the given eigenvalue solver.
double InducedNorm(const KoMatrixImplement& A, const int& p, EigenValueSolver eigenValues,
                   IterationRecord* record) {
    if ((p == 1 || p == 2) && A.count == 0) {
        // Every column sum is 0.0, and A * A^T is a zero matrix with only 0.0 eigenvalues: the
        // answer without looping over an empty dimension or forming a rows x rows matrix.
        return 0.0;
    }
    if (p == 1) {
        // Running maximum of the column sums: the candidate replaces the running value unless
        // the running value is greater.
        double norm = 0.0;
        for (int j = 0; j < A.cols; ++j) {
            const double candidate = A.GetColumn(j, j).ElementWiseNorm(1);
            if (!(norm > candidate)) {
                norm = candidate;
            }
        }
        return norm;
    }
    if (p == 2) {
        // The square root of the largest eigenvalue of A * A^T, whatever A's shape.
        const KoMatrixImplement M = A * A.Transpose();
        KoMatrixImplement eigenvalues;
        eigenValues(M, eigenvalues, record);
        return eigenvalues.HadamardPower(0.5).Max();
    }
    return 0.0;
}

}  // namespace

double KoMatrixImplement::MatrixNorm(const int& p, IterationRecord* record) const {
    return InducedNorm(*this, p, FastEigenValues, record);
}

double kocalvix::literal::MatrixNorm(const KoMatrixImplement& A, const int& p) {
    return InducedNorm(A, p, LiteralEigenValues, nullptr);
}

bool KoMatrixImplement::IsSpecialMatrix(int type) const {
    const bool square = rows == cols;
    switch (type) {
        case KoMatrix::Square:
            return square;
        case KoMatrix::Normal: {
            if (!square) {
                return false;
            }
            const KoMatrixImplement AtA = Transpose() * *this;
            const KoMatrixImplement AAt = *this * Transpose();
            return AllInsideBand(AAt - AtA);
        }
        case KoMatrix::Orthogonal: {
            if (!square) {
                return false;
            }
            const KoMatrixImplement I = Identity(rows);
            if (!AllInsideBand(*this * Transpose() - I)) {
                return false;
            }
            return AllInsideBand(Transpose() * *this - I);
        }
        case KoMatrix::Symmetric:
            return IsSymmetric();
        case KoMatrix::Singular:
        case KoMatrix::RankDeficient:
            return IsRankDeficient();
        default:
            return false;
    }
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

double KoMatrix::MatrixNorm(const int& p) const {
    return impl->MatrixNorm(p);
}

bool KoMatrix::IsSpecialMatrix(MatrixType type) const {
    return impl->IsSpecialMatrix(type);
}

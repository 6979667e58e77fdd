// SPDX-License-Identifier: MIT
// Singular value decomposition A = U * S * V^T through the eigen-decomposition of the smaller
// Gram matrix, in a full form (U and V square, S of A's shape) and a reduced form (p = min(m, n)
// singular triplets).
//
// Both forms share the same first steps: the Gram matrix A * A^T (wide or square A) or A^T * A
// (tall A) is eigen-decomposed, the eigenvalues are sorted into non-increasing order by an
// exchange sort that carries a permutation of the eigenvectors, the singular values are their
// square roots, and the partner factor is derived from A. The full form then completes the
// partner factor to a square matrix by Gram-Schmidt on unit vectors.
//
// Every result is built in local matrices and assigned to the outputs only at the end, in the
// order S, U, V: an output may be A itself, and two outputs may be the same matrix (the last
// assignment then remains).
//
// The eigen-solver is a parameter: the members use KoMatrixImplement::Eigen, the literal forms
// its literal twin, and everything around it is shared. The members hand the solver a record of
// its steps when the caller asks for one (the diagnostics).
#include <cmath>
#include <utility>
#include <vector>

#include "linalg/literal_forms.h"
#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

using kocalvix::linalg::IsOutsideBand;

namespace {

using IterationRecord = KoMatrixImplement::IterationRecord;

// Eigenvalues (n x 1) and eigenvectors (n x n) of a symmetric matrix, as Eigen delivers them;
// the record, when given, receives what the iteration did.
using EigenSolver = KoMatrixError (*)(const KoMatrixImplement&, KoMatrixImplement&,
                                      KoMatrixImplement&, IterationRecord*);

KoMatrixError FastEigen(const KoMatrixImplement& G, KoMatrixImplement& V, KoMatrixImplement& W,
                        IterationRecord* record) {
    return G.Eigen(V, W, record);
}

// The literal twin keeps no record.
KoMatrixError LiteralEigen(const KoMatrixImplement& G, KoMatrixImplement& V, KoMatrixImplement& W,
                           IterationRecord*) {
    return kocalvix::literal::Eigen(G, V, W);
}

// The shared steps. `S` is a zero matrix with at least p rows and p columns; its diagonal
// receives the singular values in non-increasing order. W receives the eigenvectors of the Gram
// matrix in that order (the eigen side, p x p) and R the partner factor (q x p): (A * W) * D^T
// for tall A, ((D^T * W^T) * A)^T otherwise, D holding the reciprocals of the singular values
// outside the zero band. When the Gram matrix is not exactly symmetric (a NaN in it) nothing is
// delivered and NotSymmetric is returned, with S, W and R untouched.
KoMatrixError GramEigenSteps(const KoMatrixImplement& A, KoMatrixImplement& S, KoMatrixImplement& W,
                             KoMatrixImplement& R, EigenSolver eigen, IterationRecord* record) {
    const int m = A.rows;
    const int n = A.cols;
    const bool tall = m > n;
    const int p = tall ? n : m;

    const KoMatrixImplement G = tall ? A.Transpose() * A : A * A.Transpose();
    KoMatrixImplement lambda;
    KoMatrixImplement E;
    const KoMatrixError code = eigen(G, lambda, E, record);
    if (code != NoError) {
        return code;
    }

    KoMatrixImplement w(p, p);
    KoMatrixImplement D(p, p);
    std::vector<int> perm(static_cast<size_t>(p));
    for (int i = 0; i < p; ++i) {
        perm[i] = i;
    }
    double* values = lambda.data;
    for (int k = 0; k < p; ++k) {
        // Exchange sort: a strictly larger later value swaps into place k; equal values and
        // NaNs never swap.
        for (int j = k + 1; j < p; ++j) {
            if (values[j] > values[k]) {
                std::swap(perm[k], perm[j]);
                std::swap(values[k], values[j]);
            }
        }
        w.SetColumn(k, k, E.GetColumn(perm[k], perm[k]));
        S(k, k) = std::sqrt(values[k]);
        if (IsOutsideBand(S(k, k))) {
            D(k, k) = 1.0 / S(k, k);
        }
    }

    if (tall) {
        R = (A * w) * D.Transpose();
    } else {
        R = ((D.Transpose() * w.Transpose()) * A).Transpose();
    }
    W = w;
    return NoError;
}

// The q x q matrix holding the q x p partner factor R in its first p columns and, after them,
// unit vectors e_j (j = 0, 1, ...) that raise the rank, each made orthogonal to every column
// placed before it by one pass of classical Gram-Schmidt and divided by its 2-norm. Columns for
// which no candidate is left stay zero.
KoMatrixImplement CompleteToSquare(const KoMatrixImplement& R, int q) {
    const int p = R.cols;
    KoMatrixImplement B(q, q);
    if (p > 0) {
        B.SetColumn(0, p - 1, R);
    }
    int remaining = q - p;
    int k = p;
    for (int j = 0; remaining > 0 && j < q; ++j) {
        KoMatrixImplement e(q, 1);
        e.data[j] = 1.0;
        KoMatrixImplement T(B);
        T.SetColumn(k, k, e);
        if (T.GetColumn(0, k).Rank() != k + 1) {
            continue;  // e_j lies in the span of the columns placed so far
        }
        KoMatrixImplement P(q, 1);
        for (int i = 0; i < k; ++i) {
            const KoMatrixImplement c = B.GetColumn(i, i);
            const double t = (e.Transpose() * c).data[0];
            P = P + c * t;
        }
        const KoMatrixImplement d = e - P;
        const double nu = d.ElementWiseNorm(2);
        B.SetColumn(k, k, d / nu);
        --remaining;
        ++k;
    }
    return B;
}

// The full decomposition of A with the given eigen-solver.
KoMatrixError FullSVD(const KoMatrixImplement& A, KoMatrixImplement& U, KoMatrixImplement& S,
                      KoMatrixImplement& V, EigenSolver eigen, IterationRecord* record) {
    const int m = A.rows;
    const int n = A.cols;
    if (!U.CanTakeShape(m, m) || !S.CanTakeShape(m, n) || !V.CanTakeShape(n, n)) {
        return ExternalBuffer;
    }
    KoMatrixImplement s(m, n);
    KoMatrixImplement W;
    KoMatrixImplement R;
    const KoMatrixError code = GramEigenSteps(A, s, W, R, eigen, record);
    if (code != NoError) {
        return code;
    }
    const KoMatrixImplement B = CompleteToSquare(R, m > n ? m : n);
    S = s;
    if (m > n) {
        U = B;
        V = W;
    } else {
        U = W;
        V = B;
    }
    return NoError;
}

// The reduced decomposition of A with the given eigen-solver.
KoMatrixError ReducedSVD(const KoMatrixImplement& A, KoMatrixImplement& U, KoMatrixImplement& S,
                         KoMatrixImplement& V, EigenSolver eigen, IterationRecord* record) {
    const int m = A.rows;
    const int n = A.cols;
    const int p = m > n ? n : m;
    if (!U.CanTakeShape(m, p) || !S.CanTakeShape(p, p) || !V.CanTakeShape(n, p)) {
        return ExternalBuffer;
    }
    KoMatrixImplement s(p, p);
    KoMatrixImplement W;
    KoMatrixImplement R;
    const KoMatrixError code = GramEigenSteps(A, s, W, R, eigen, record);
    if (code != NoError) {
        return code;
    }
    S = s;
    if (m > n) {
        U = R;
        V = W;
    } else {
        U = W;
        V = R;
    }
    return NoError;
}

}  // namespace

KoMatrixError KoMatrixImplement::SVDDecomposition(KoMatrixImplement& U, KoMatrixImplement& S,
                                                  KoMatrixImplement& V,
                                                  IterationRecord* record) const {
    return FullSVD(*this, U, S, V, FastEigen, record);
}

KoMatrixError KoMatrixImplement::SubSVDDecomposition(KoMatrixImplement& U, KoMatrixImplement& S,
                                                     KoMatrixImplement& V,
                                                     IterationRecord* record) const {
    return ReducedSVD(*this, U, S, V, FastEigen, record);
}

KoMatrixError kocalvix::literal::SVDDecomposition(const KoMatrixImplement& A, KoMatrixImplement& U,
                                                  KoMatrixImplement& S, KoMatrixImplement& V) {
    return FullSVD(A, U, S, V, LiteralEigen, nullptr);
}

KoMatrixError kocalvix::literal::SubSVDDecomposition(const KoMatrixImplement& A,
                                                     KoMatrixImplement& U, KoMatrixImplement& S,
                                                     KoMatrixImplement& V) {
    return ReducedSVD(A, U, S, V, LiteralEigen, nullptr);
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

KoMatrixError KoMatrix::SVDDecomposition(KoMatrix& U, KoMatrix& S, KoMatrix& V) const {
    return impl->SVDDecomposition(*U.impl, *S.impl, *V.impl);
}

KoMatrixError KoMatrix::SubSVDDecomposition(KoMatrix& U, KoMatrix& S, KoMatrix& V) const {
    return impl->SubSVDDecomposition(*U.impl, *S.impl, *V.impl);
}

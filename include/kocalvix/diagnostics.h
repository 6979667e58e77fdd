// SPDX-License-Identifier: MIT
// KoDiagnostics: the iterative and threshold-driven KoMatrix operations, each with a report on
// how far its result can be trusted.
//
// Every function here calls the KoMatrix member of the same name and returns exactly what that
// member returns, bit for bit, in the same outputs; it then measures the result and fills a
// Report. Nothing is changed in the result: the report only tells whether it answers the question.
//
//   KoDiagnostics::Report report;
//   KoMatrix v, w;
//   KoDiagnostics::Eigen(KoMatrix({{0.0, 1.0}, {1.0, 0.0}}), v, w, report);
//   // v is about (0, 0), as from KoMatrix::Eigen; report.verdict == KoDiagnostics::Failed
//
// The measures are relative, so they do not depend on the scale of the matrix. ||.|| is the
// Frobenius norm, computed without overflow of the intermediate sums. The verdict combines them:
// - Failed: the member returned an error code, an output holds a NaN or an infinity, or a defect
//   exceeds kFailedDefect (1e-2): the result does not answer the question to two digits.
// - Inaccurate: a defect exceeds kReliableDefect (1e-6), a kept singular value is below
//   kKeptRatio (1e-5) of the largest (the Gram matrix behind the SVDs has squared it, so it has
//   lost more than six digits), or the operation's own condition below holds.
// - Reliable: otherwise.
//
// Some measures compare with singular values that the diagnostics compute themselves, by a
// one-sided Jacobi iteration on the columns of the matrix, which is accurate to a few units of
// rounding relative to the largest singular value.
//
// The diagnostics cost a few matrix products and the Jacobi sweeps on top of the member itself.
#ifndef KOCALVIX_DIAGNOSTICS_H
#define KOCALVIX_DIAGNOSTICS_H

#include "kocalvix/export.h"
#include "kocalvix/matrix.h"

/// The diagnostic forms of the iterative and threshold-driven KoMatrix operations: each returns
/// the member's result bit for bit and fills a Report on how far it can be trusted.
class KOCALVIX_API KoDiagnostics {
  public:
    /// How far a result can be trusted (see the file comment for the thresholds).
    enum Verdict : int {
        Reliable = 0,    ///< every measure within kReliableDefect
        Inaccurate = 1,  ///< usable with care: digits are lost, or the answer is not unique
        Failed = 2       ///< an error code, a NaN or infinity, or a defect above kFailedDefect
    };

    /// Largest relative defect of a Reliable result.
    static constexpr double kReliableDefect = 1e-6;
    /// Relative defect above which a result has Failed.
    static constexpr double kFailedDefect = 1e-2;
    /// Smallest kept singular value, relative to the largest, of a Reliable SVD-based result.
    static constexpr double kKeptRatio = 1e-5;

    /// What the diagnostics measured. A measure that does not apply to an operation keeps its
    /// initial value.
    struct Report {
        /// The verdict on the result.
        Verdict verdict = Failed;
        /// What the member returned (NoError for the members that return no code).
        KoMatrixError code = NoError;
        /// QR steps the eigen iteration made (at most 99): on A itself (Eigen, EigenValues) or on
        /// its Gram matrix (the SVDs, Inv, MatrixNorm(2)), the latter judged by the residuals.
        /// -1 where no iteration runs (MatrixNorm(1), Rank, GaussElimination) or the member
        /// stopped before it (a NaN in the Gram matrix).
        int iterations = -1;
        /// True when the iteration stopped because its lower triangle fell to 1e-11, false when
        /// it reached the step cap (or did not run). Most matrices stop at the cap with a good
        /// result: the residual, not this flag, decides the verdict.
        bool converged = false;
        /// Largest magnitude left below the diagonal of the last iterate, relative to ||A||
        /// (Eigen, EigenValues): how far the iteration is from a triangular matrix.
        double lowerTriangle = 0.0;
        /// The operation's residual, relative (see each function).
        double residual = 0.0;
        /// Largest element of |Q^T * Q - I| over the factors that should have orthonormal
        /// columns; columns left zero for dropped singular values are not counted.
        double orthogonality = 0.0;
        /// Smallest singular value the operation kept, divided by the largest (1 when it kept
        /// none or the matrix is zero); Rank and the solve define it below.
        double smallestKeptRatio = 1.0;
        /// Singular values treated as zero; for Rank, min(m, n) minus the count; for the solve,
        /// the pivots the elimination found missing.
        int dropped = 0;
        /// True when an output holds a NaN or an infinity.
        bool nanProduced = false;
    };

    /// KoMatrix::EigenValues. residual = lowerTriangle: for a symmetric matrix each eigenvalue
    /// is then within about residual * ||A|| of one in V; [[0, 1], [1, 0]] gives V = (0, 0) and
    /// residual 0.7 (Failed), as does a rotation (eigenvalues +-i, which V cannot hold).
    static KoMatrixError EigenValues(const KoMatrix& a, KoMatrix& V, Report& report);
    /// KoMatrix::Eigen. residual = ||A*W - W*diag(V)|| / ||A||; orthogonality of W.
    static KoMatrixError Eigen(const KoMatrix& a, KoMatrix& V, KoMatrix& W, Report& report);
    /// KoMatrix::SVDDecomposition. residual = ||A - U*S*V^T|| / ||A||; orthogonality of U and V
    /// without the zero columns of dropped singular values; smallestKeptRatio and dropped from
    /// S's diagonal (a NaN there counts as dropped and as produced).
    static KoMatrixError SVDDecomposition(const KoMatrix& a, KoMatrix& U, KoMatrix& S, KoMatrix& V,
                                          Report& report);
    /// KoMatrix::SubSVDDecomposition, measured as SVDDecomposition.
    static KoMatrixError SubSVDDecomposition(const KoMatrix& a, KoMatrix& U, KoMatrix& S,
                                             KoMatrix& V, Report& report);
    /// KoMatrix::Inv. residual = the largest relative defect of the four conditions that define
    /// the pseudo-inverse X: A*X*A = A, X*A*X = X, A*X and X*A symmetric. smallestKeptRatio and
    /// dropped are read from the reduced SVD that Inv is built on. Inv of 1e-12 * I is the zero
    /// matrix: residual 1, Failed.
    static const KoMatrix Inv(const KoMatrix& a, Report& report);
    /// KoMatrix::MatrixNorm. For p = 2, residual = |result - s| / s with s the largest singular
    /// value from the Jacobi iteration (0 when both are 0): {{0, -2}, {0, -3}, {-1, 0}} gives 1
    /// for 3.6056, residual 0.72, Failed. For other p the result is exact arithmetic and only a
    /// NaN or infinity makes it Failed.
    static double MatrixNorm(const KoMatrix& a, const int& p, Report& report);
    /// KoMatrix::Rank. Compares the count with the Jacobi singular values s1 >= s2 >= ...:
    /// Failed unless it lies between the number of values above 1e-7 * s1 and the number above
    /// 1e-13 * s1; Inaccurate when those two numbers differ (a near rank deficiency).
    /// smallestKeptRatio is s_r / s1 for the returned count r; residual is s_(r+1) / s1, the
    /// largest value the count leaves out. 1e-12 * I has rank 0 but s1 = 1e-12: Failed.
    static int Rank(const KoMatrix& a, Report& report);
    /// KoMatrix::GaussElimination(rhs, solution, reduced). residual = the normwise backward
    /// error ||A*x - b|| / (||A|| * ||x|| + ||b||); dropped = pivots the elimination found
    /// missing (a diagonal element of `reduced` that is not 1); smallestKeptRatio = the
    /// smallest Jacobi singular value of A over the largest, i.e. 1 / condition number. The
    /// forward error is estimated as residual / smallestKeptRatio and judged like a defect; a
    /// missing pivot with a small residual (a singular, consistent system, whose solution is
    /// not unique) is Inaccurate, with a large one (inconsistent) Failed.
    static KoMatrixError GaussElimination(const KoMatrix& a, const KoMatrix& rhs,
                                          KoMatrix& solution, KoMatrix& reduced, Report& report);
};

#endif  // KOCALVIX_DIAGNOSTICS_H

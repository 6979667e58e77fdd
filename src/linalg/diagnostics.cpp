// SPDX-License-Identifier: MIT
// KoDiagnostics: each function calls the KoMatrix member it accompanies (where an eigen
// iteration runs, the same implementation member with a record of its steps) and then measures the
// result: residuals of the defining equations, orthogonality of the factors, non-finite values
// and the singular values kept, the last two compared with an independent Jacobi iteration
// where the result alone cannot tell.
#include <kocalvix/diagnostics.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "linalg/jacobi_singular_values.h"
#include "matrix/KoMatrixImplement.h"

namespace {

using Report = KoDiagnostics::Report;

constexpr double kZeroBand = 1e-11;
// Relative bounds of the singular values that Rank must count, and of those it must not.
constexpr double kRankClearlyNonZero = 1e-7;
constexpr double kRankClearlyZero = 1e-13;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The Frobenius norm, accumulated as scale * sqrt(sum) so that no square overflows or
// underflows; NaN when an element is NaN, infinity when one is infinite.
double Norm(const KoMatrix& m) {
    double scale = 0.0;
    double sum = 1.0;
    for (int k = 0; k < m.ElementNum(); ++k) {
        const double x = std::fabs(m[k]);
        if (std::isnan(x)) {
            return x;
        }
        if (x > scale) {
            sum = 1.0 + sum * (scale / x) * (scale / x);
            scale = x;
        } else if (x > 0.0) {
            sum += (x / scale) * (x / scale);
        }
    }
    return std::isinf(scale) ? scale : scale * std::sqrt(sum);
}

bool AllFinite(const KoMatrix& m) {
    for (int k = 0; k < m.ElementNum(); ++k) {
        if (!std::isfinite(m[k])) {
            return false;
        }
    }
    return true;
}

// part / whole for a non-negative part, with 0 / 0 = 0 (nothing measured against nothing),
// x / 0 = infinity and NaN kept.
double Relative(double part, double whole) {
    if (whole > 0.0 || std::isnan(part) || std::isnan(whole)) {
        return part / whole;
    }
    return part == 0.0 ? 0.0 : kInfinity;
}

// The largest element of |Q^T * Q - I| over the columns of q that are not entirely zero.
double OrthogonalityDefect(const KoMatrix& q) {
    const KoMatrix gram = q.Transpose() * q;
    std::vector<bool> used(static_cast<size_t>(q.ColumnSize()));
    for (int j = 0; j < q.ColumnSize(); ++j) {
        used[j] = gram(j, j) != 0.0;
    }
    double defect = 0.0;
    for (int i = 0; i < q.ColumnSize(); ++i) {
        for (int j = 0; j < q.ColumnSize(); ++j) {
            if (used[i] && used[j]) {
                const double d = std::fabs(gram(i, j) - (i == j ? 1.0 : 0.0));
                defect = std::isnan(d) ? d : std::max(defect, d);
            }
        }
    }
    return defect;
}

// The verdict from the report and the largest relative defect of the operation.
KoDiagnostics::Verdict Judge(const Report& report, double defect, bool inaccurate) {
    if (report.code != NoError || report.nanProduced || !(defect <= KoDiagnostics::kFailedDefect)) {
        return KoDiagnostics::Failed;
    }
    if (defect > KoDiagnostics::kReliableDefect || inaccurate) {
        return KoDiagnostics::Inaccurate;
    }
    return KoDiagnostics::Reliable;
}

// The steps of an eigen iteration, on A itself or on a matrix formed from it.
void RecordSteps(const KoMatrixImplement::IterationRecord& record, Report& report) {
    report.iterations = record.steps;
    report.converged = record.converged;
}

// The same for an iteration on A itself, whose last lower triangle is measured against ||A||.
void RecordIteration(const KoMatrixImplement::IterationRecord& record, double norm,
                     Report& report) {
    RecordSteps(record, report);
    report.lowerTriangle = Relative(record.lowerTriangle, norm);
}

// The singular values on the diagonal of S (p of them) that count outside the zero band, the
// smallest of them relative to the largest, and those dropped (NaN included).
void MeasureSingularValues(const KoMatrix& S, int p, Report& report) {
    double largest = 0.0;
    double smallestKept = kInfinity;
    for (int k = 0; k < p; ++k) {
        const double s = S(k, k);
        if (s > kZeroBand || s < -kZeroBand) {
            largest = std::max(largest, std::fabs(s));
            smallestKept = std::min(smallestKept, std::fabs(s));
        } else {
            ++report.dropped;
        }
    }
    report.smallestKeptRatio = largest > 0.0 ? smallestKept / largest : 1.0;
}

// Measures an SVD-based factorization a = U * S * V^T whose diagonal S holds the singular
// values; U and V are judged on their non-zero columns.
void MeasureSVD(const KoMatrix& a, const KoMatrix& U, const KoMatrix& S, const KoMatrix& V,
                Report& report) {
    report.nanProduced = !AllFinite(U) || !AllFinite(S) || !AllFinite(V);
    MeasureSingularValues(S, std::min(a.RowSize(), a.ColumnSize()), report);
    report.residual = Relative(Norm(a - U * S * V.Transpose()), Norm(a));
    report.orthogonality = std::max(OrthogonalityDefect(U), OrthogonalityDefect(V));
    report.verdict = Judge(report, std::max(report.residual, report.orthogonality),
                           report.smallestKeptRatio < KoDiagnostics::kKeptRatio);
}

// Runs one of the SVD members through `decompose` (which fills the iteration record it is given)
// and measures its result against a copy of `a` taken first (an output may be `a` itself).
template <typename Decompose>
KoMatrixError DecomposeAndMeasure(const KoMatrix& a, const KoMatrix& U, const KoMatrix& S,
                                  const KoMatrix& V, Report& report, Decompose decompose) {
    report = Report();
    const KoMatrix input(a);
    KoMatrixImplement::IterationRecord record;
    report.code = decompose(record);
    if (report.code == NoError) {
        RecordSteps(record, report);
        MeasureSVD(input, U, S, V, report);
    } else {
        report.verdict = KoDiagnostics::Failed;
    }
    return report.code;
}

}  // namespace

KoMatrixError KoDiagnostics::EigenValues(const KoMatrix& a, KoMatrix& V, Report& report) {
    report = Report();
    const double norm = Norm(a);  // V may be `a` itself
    KoMatrixImplement::IterationRecord record;
    report.code = a.impl->EigenValues(*V.impl, &record);
    if (report.code == NoError) {
        RecordIteration(record, norm, report);
        report.nanProduced = !AllFinite(V);
        report.residual = report.lowerTriangle;
    }
    report.verdict = Judge(report, report.residual, false);
    return report.code;
}

KoMatrixError KoDiagnostics::Eigen(const KoMatrix& a, KoMatrix& V, KoMatrix& W, Report& report) {
    report = Report();
    const KoMatrix input(a);  // V or W may be `a` itself
    KoMatrixImplement::IterationRecord record;
    report.code = a.impl->Eigen(*V.impl, *W.impl, &record);
    if (report.code == NoError) {
        const double norm = Norm(input);
        RecordIteration(record, norm, report);
        report.nanProduced = !AllFinite(V) || !AllFinite(W);
        // A * W - W * diag(V), column j of W scaled by V[j].
        KoMatrix r = input * W;
        for (int i = 0; i < r.RowSize(); ++i) {
            for (int j = 0; j < r.ColumnSize(); ++j) {
                r(i, j) -= W(i, j) * V[j];
            }
        }
        report.residual = Relative(Norm(r), norm);
        report.orthogonality = OrthogonalityDefect(W);
    }
    report.verdict = Judge(report, std::max(report.residual, report.orthogonality), false);
    return report.code;
}

KoMatrixError KoDiagnostics::SVDDecomposition(const KoMatrix& a, KoMatrix& U, KoMatrix& S,
                                              KoMatrix& V, Report& report) {
    return DecomposeAndMeasure(a, U, S, V, report, [&](KoMatrixImplement::IterationRecord& r) {
        return a.impl->SVDDecomposition(*U.impl, *S.impl, *V.impl, &r);
    });
}

KoMatrixError KoDiagnostics::SubSVDDecomposition(const KoMatrix& a, KoMatrix& U, KoMatrix& S,
                                                 KoMatrix& V, Report& report) {
    return DecomposeAndMeasure(a, U, S, V, report, [&](KoMatrixImplement::IterationRecord& r) {
        return a.impl->SubSVDDecomposition(*U.impl, *S.impl, *V.impl, &r);
    });
}

const KoMatrix KoDiagnostics::Inv(const KoMatrix& a, Report& report) {
    report = Report();
    // The steps of the eigen iteration and the singular values Inv kept, read from the reduced
    // decomposition it is built on; the record keeps -1 steps when that decomposition refused.
    KoMatrixImplement::IterationRecord record{-1, false, 0.0};
    KoMatrix S;
    const KoMatrix x(a.impl->Inv(&record, S.impl));
    report.nanProduced = !AllFinite(x);
    const KoMatrix ax = a * x;
    const KoMatrix xa = x * a;
    const double defects[] = {Relative(Norm(ax * a - a), Norm(a)),
                              Relative(Norm(x * ax - x), Norm(x)),
                              Relative(Norm(ax - ax.Transpose()), Norm(ax)),
                              Relative(Norm(xa - xa.Transpose()), Norm(xa))};
    report.residual = 0.0;
    for (double d : defects) {
        report.residual = std::isnan(d) ? d : std::max(report.residual, d);
    }
    if (record.steps >= 0) {
        RecordSteps(record, report);
        MeasureSingularValues(S, std::min(a.RowSize(), a.ColumnSize()), report);
    }
    report.verdict =
        Judge(report, report.residual, report.smallestKeptRatio < KoDiagnostics::kKeptRatio);
    return x;
}

double KoDiagnostics::MatrixNorm(const KoMatrix& a, const int& p, Report& report) {
    report = Report();
    KoMatrixImplement::IterationRecord record;
    const double norm = a.impl->MatrixNorm(p, &record);
    report.nanProduced = !std::isfinite(norm);
    if (p == 2) {
        RecordSteps(record, report);
        const std::vector<double> s = JacobiSingularValues(a);
        const double largest = s.empty() ? 0.0 : s[0];
        report.residual = Relative(std::fabs(norm - largest), largest);
    }
    report.verdict = Judge(report, report.residual, false);
    return norm;
}

int KoDiagnostics::Rank(const KoMatrix& a, Report& report) {
    report = Report();
    const int rank = a.Rank();
    const std::vector<double> s = JacobiSingularValues(a);
    const int size = static_cast<int>(s.size());
    const double largest = s.empty() ? 0.0 : s[0];
    int clearlyNonZero = 0;
    int notClearlyZero = 0;
    for (double v : s) {
        clearlyNonZero += v > kRankClearlyNonZero * largest ? 1 : 0;
        notClearlyZero += v > kRankClearlyZero * largest ? 1 : 0;
    }
    report.nanProduced = size > 0 && std::isnan(largest);
    report.dropped = size - rank;
    if (rank > 0 && rank <= size) {
        report.smallestKeptRatio = Relative(s[rank - 1], largest);
    }
    if (rank >= 0 && rank < size) {
        report.residual = Relative(s[rank], largest);
    }
    if (report.nanProduced || rank < clearlyNonZero || rank > notClearlyZero) {
        report.verdict = Failed;
    } else {
        report.verdict = clearlyNonZero == notClearlyZero ? Reliable : Inaccurate;
    }
    return rank;
}

KoMatrixError KoDiagnostics::GaussElimination(const KoMatrix& a, const KoMatrix& rhs,
                                              KoMatrix& solution, KoMatrix& reduced,
                                              Report& report) {
    report = Report();
    const KoMatrix input(a);  // an output may be `a` or `rhs` itself
    const KoMatrix b(rhs);
    report.code = a.GaussElimination(rhs, solution, reduced);
    if (report.code != NoError) {
        report.verdict = Failed;
        return report.code;
    }
    // One object as both outputs holds the solution, assigned last: count the missing pivots
    // on the same elimination run once more then.
    KoMatrix x, eliminated;
    if (&reduced == &solution) {
        (void)input.GaussElimination(b, x, eliminated);
    }
    const KoMatrix& pivots = &reduced == &solution ? eliminated : reduced;
    for (int i = 0; i < pivots.ColumnSize(); ++i) {
        report.dropped += pivots(i, i) == 1.0 ? 0 : 1;
    }
    report.nanProduced = !AllFinite(solution);
    report.residual = Relative(Norm(input * solution - b), Norm(input) * Norm(solution) + Norm(b));
    const std::vector<double> s = JacobiSingularValues(input);
    report.smallestKeptRatio = s.empty() ? 1.0 : Relative(s.back(), s[0]);
    if (report.dropped > 0) {
        // Singular as the elimination sees it: a solution at best, and not the only one.
        const bool consistent = report.residual <= kReliableDefect;
        report.verdict = report.nanProduced || !consistent ? Failed : Inaccurate;
    } else {
        // Forward error estimate: backward error times condition number.
        const double forward =
            report.smallestKeptRatio > 0.0 ? report.residual / report.smallestKeptRatio : kInfinity;
        report.verdict = Judge(report, forward, false);
    }
    return report.code;
}

// SPDX-License-Identifier: MIT
// Asking whether a result can be trusted: KoDiagnostics returns the same results as the KoMatrix
// members and judges them. The matrices below sit on the known limits of the algorithms.
#include <kocalvix/diagnostics.h>
#include <kocalvix/matrix.h>

#include <cstdio>

namespace {

const char* Name(KoDiagnostics::Verdict verdict) {
    switch (verdict) {
        case KoDiagnostics::Reliable:
            return "Reliable";
        case KoDiagnostics::Inaccurate:
            return "Inaccurate";
        default:
            return "Failed";
    }
}

void Show(const char* what, const KoDiagnostics::Report& report) {
    std::printf("%-44s %-10s residual %.1e, orthogonality %.1e, smallest kept %.1e%s\n", what,
                Name(report.verdict), report.residual, report.orthogonality,
                report.smallestKeptRatio, report.nanProduced ? ", NaN produced" : "");
}

}  // namespace

int main() {
    KoDiagnostics::Report report;

    // The spectral norm of a tall matrix: the zero eigenvalue of A * A^T turns into a NaN.
    const KoMatrix tall({{1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}});
    const double norm = KoDiagnostics::MatrixNorm(tall, 2, report);
    std::printf("2-norm of {{1, 2}, {3, 4}, {5, 6}} = %g (exactly 9.5255)\n", norm);
    Show("  MatrixNorm(2)", report);
    // Its pseudo-inverse, on the other hand, passes.
    KoDiagnostics::Inv(tall, report);
    Show("  Inv", report);

    // Eigenvalues +1 and -1 never separate without shifts.
    KoMatrix values, vectors;
    KoDiagnostics::Eigen(KoMatrix({{0.0, 1.0}, {1.0, 0.0}}), values, vectors, report);
    std::printf("eigenvalues of {{0, 1}, {1, 0}} = %g, %g (exactly 1, -1) after %d steps\n",
                values[0], values[1], report.iterations);
    Show("  Eigen", report);
    KoDiagnostics::Eigen(KoMatrix({{2.0, 1.0}, {1.0, 2.0}}), values, vectors, report);
    std::printf("eigenvalues of {{2, 1}, {1, 2}} = %g, %g\n", values[0], values[1]);
    Show("  Eigen", report);

    // A rank-2 matrix whose third singular value comes out near 1e-9 and gets inverted.
    const KoMatrix rank2({{4.0, 2.0, 1.0}, {4.0, 2.0, -4.0}, {8.0, 4.0, -3.0}});
    const KoMatrix inverse = KoDiagnostics::Inv(rank2, report);
    std::printf(
        "largest element of Inv() of a rank-2 3 x 3 matrix = %g (the pseudo-inverse: 0.2)\n",
        inverse.ElementWiseInfiniteNorm());
    Show("  Inv", report);

    // A singular, inconsistent system still returns NoError.
    KoMatrix x, reduced;
    KoDiagnostics::GaussElimination(KoMatrix({{1.0, 2.0}, {2.0, 4.0}}), KoMatrix({{1.0}, {3.0}}), x,
                                    reduced, report);
    std::printf("{{1, 2}, {2, 4}} x = (1, 3) gives x = (%g, %g)\n", x[0], x[1]);
    Show("  GaussElimination", report);
    return 0;
}

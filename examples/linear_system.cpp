// SPDX-License-Identifier: MIT
// Solving a linear system A x = b and checking the answer by its residual.
//
// GaussElimination eliminates the augmented matrix [A | b] with partial pivoting and solves by
// back substitution. It reports problems with the operands as codes, which a program checks
// before using the outputs; a singular square system is not detected by the solver, so the
// residual |A x - b| (and the determinant) tell whether the solution can be trusted.
// Exits with 1 if a check fails.
#include <kocalvix/io.h>
#include <kocalvix/matrix.h>

#include <iostream>

#include "example_support.h"

using example::Name;
using example::Succeeded;
using example::Tidy;

int main() {
    // A well-conditioned 4 x 4 system whose exact solution is (1, -2, 3, 0.5).
    const KoMatrix a({{4.0, -1.0, 0.0, 2.0},
                      {-1.0, 5.0, 1.0, 0.0},
                      {0.0, 1.0, 6.0, -2.0},
                      {2.0, 0.0, -2.0, 7.0}});
    const KoMatrix expected({{1.0}, {-2.0}, {3.0}, {0.5}});
    const KoMatrix b = a * expected;

    KoMatrix x, reduced;
    if (!Succeeded(a.GaussElimination(b, x, reduced), "solving A x = b")) {
        return 1;
    }
    const KoMatrix residual = a * x - b;
    const double relative =
        residual.ElementWiseInfiniteNorm() / (a.MatrixInfiniteNorm() * x.ElementWiseInfiniteNorm());
    std::cout << "A =\n"
              << a << "\nb =\n"
              << b << "\nx =\n"
              << Tidy(x) << "\n"
              << "det(A) = " << a.Det() << "\n"
              << "largest residual |A x - b| = " << residual.ElementWiseInfiniteNorm()
              << ", relative to |A| |x|: " << relative << "\n";
    if (!(relative < 1e-14) || !((x - expected).ElementWiseInfiniteNorm() < 1e-12)) {
        std::cerr << "the solution misses the system\n";
        return 1;
    }

    // Unfit operands are reported, and the outputs are then not to be used.
    const KoMatrixError wrongRhs = a.GaussElimination(KoMatrix(3, 1), x, reduced);
    std::cout << "\nright-hand side of 3 rows for 4 equations: " << Name(wrongRhs) << "\n";
    const KoMatrix wide({{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}});
    const KoMatrixError notSquare = wide.GaussElimination(KoMatrix({{1.0}, {2.0}}), x, reduced);
    std::cout << "2 equations in 3 unknowns: " << Name(notSquare) << "\n";
    if (wrongRhs != DimensionMismatch || notSquare != NotSquare) {
        std::cerr << "unexpected result codes\n";
        return 1;
    }
    return 0;
}

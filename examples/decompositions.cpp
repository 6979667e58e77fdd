// SPDX-License-Identifier: MIT
// Decompositions with error handling: QR by all three methods, the symmetric eigen-
// decomposition and the SVD, each checked by rebuilding the matrix from its factors; then the
// codes the decompositions report for input they refuse. Exits with 1 if a check fails.
#include <kocalvix/io.h>
#include <kocalvix/matrix.h>

#include <iostream>

#include "example_support.h"

using example::Name;
using example::Succeeded;
using example::Tidy;

namespace {

// True when `rebuilt` matches `original` to within `tolerance` times original's largest element;
// prints the largest difference either way.
bool Rebuilds(const char* what, const KoMatrix& rebuilt, const KoMatrix& original,
              double tolerance = 1e-14) {
    const double difference = (rebuilt - original).ElementWiseInfiniteNorm();
    std::cout << what << ": largest difference " << difference << "\n";
    return rebuilt.IsSameDimension(original) &&
           difference <= tolerance * original.ElementWiseInfiniteNorm();
}

}  // namespace

int main() {
    const KoMatrix a({{4.0, 1.0, 2.0}, {1.0, 3.0, 0.0}, {2.0, 0.0, 5.0}, {1.0, 1.0, 1.0}});
    std::cout << "A =\n" << a << "\n\n";
    bool ok = true;

    const struct {
        KoMatrix::QRMethod method;
        const char* name;
    } methods[] = {{KoMatrix::GramSchmidt, "Gram-Schmidt"},
                   {KoMatrix::Householder, "Householder"},
                   {KoMatrix::Givens, "Givens"}};
    for (const auto& m : methods) {
        KoMatrix q, r;
        if (!Succeeded(a.QRDecomposition(q, r, m.method), m.name)) {
            return 1;
        }
        std::cout << m.name << " QR: Q " << q.RowSize() << " x " << q.ColumnSize() << ", R "
                  << r.RowSize() << " x " << r.ColumnSize() << "\n";
        ok = Rebuilds("  Q * R vs A", q * r, a) && ok;
    }

    // The eigen-decomposition needs an exactly symmetric matrix: A^T A is one. Its unshifted QR
    // iteration usually stalls before the lower triangle vanishes, after 99 steps: the
    // eigenvalues are then accurate to rounding, the eigenvectors only to that stalled level,
    // so the rebuilt matrix is checked with a looser tolerance.
    const KoMatrix gram = a.Transpose() * a;
    KoMatrix values, vectors;
    if (!Succeeded(gram.Eigen(values, vectors), "Eigen")) {
        return 1;
    }
    std::cout << "\neigenvalues of A^T A:\n" << Tidy(values) << "\n";
    ok = Rebuilds(
             "  W * diag(values) * W^T vs A^T A",
             vectors * KoMatrix::DiagForm(values.RowSize(), values.data()) * vectors.Transpose(),
             gram, 1e-6) &&
         ok;

    KoMatrix u, s, v;
    if (!Succeeded(a.SVDDecomposition(u, s, v), "SVDDecomposition")) {
        return 1;
    }
    std::cout << "\nsingular values of A:\n" << Tidy(s) << "\n";
    ok = Rebuilds("  U * S * V^T vs A", u * s * v.Transpose(), a) && ok;

    // Input the decompositions refuse: the code says why, and the outputs are left untouched.
    std::cout << "\nrefused input:\n";
    KoMatrix q, r;
    const KoMatrixError singular =
        KoMatrix({{1.0, 2.0}, {2.0, 4.0}}).QRDecomposition(q, r, KoMatrix::GramSchmidt);
    std::cout << "  Gram-Schmidt QR of a singular matrix: " << Name(singular) << "\n";
    const KoMatrixError unsymmetric = a.Eigen(values, vectors);
    std::cout << "  Eigen of a 4 x 3 matrix: " << Name(unsymmetric) << "\n";
    const KoMatrixError unknown = a.QRDecomposition(q, r, static_cast<KoMatrix::QRMethod>(9));
    std::cout << "  QR with an unknown method: " << Name(unknown) << "\n";
    if (singular != SingularMatrix || unsymmetric != NotSymmetric || unknown != InvalidMethod) {
        std::cerr << "unexpected result codes\n";
        return 1;
    }
    if (!ok) {
        std::cerr << "a decomposition does not rebuild its matrix\n";
        return 1;
    }
    return 0;
}

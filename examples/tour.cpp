// A first look at KoCalvix: build a few matrices and print what the library computes.
#include <kocalvix/matrix.h>

#include <cstdio>
#include <vector>

namespace {

void Print(const char* title, const KoMatrix& m) {
    std::printf("%s (%d x %d)\n", title, m.RowSize(), m.ColumnSize());
    for (int i = 0; i < m.RowSize(); ++i) {
        std::printf("   ");
        for (int j = 0; j < m.ColumnSize(); ++j) {
            std::printf(" %10.4f", m(i, j));
        }
        std::printf("\n");
    }
}

void LinearSystems() {
    std::printf("== Elimination ==\n");
    const KoMatrix a({{2.0, 4.0}, {1.0, 3.0}});
    Print("A", a);
    KoMatrix echelon;
    a.GaussElimination(echelon);
    Print("row echelon form of A", echelon);
    const std::vector<std::vector<double>> rhs = {{2.0}, {2.0}};
    KoMatrix x, reduced;
    a.GaussElimination(KoMatrix(rhs), x, reduced);
    Print("solution of A x = (2, 2)", x);
    std::printf("det(A) = %g, rank(A) = %d\n\n", a.Det(), a.Rank());
}

void Decompositions() {
    std::printf("== Decompositions ==\n");
    const KoMatrix a({{4.0, 1.0, 2.0}, {1.0, 3.0, 0.0}, {2.0, 0.0, 5.0}});
    Print("symmetric A", a);
    KoMatrix q, r;
    a.QRDecomposition(q, r, KoMatrix::Householder);
    Print("Householder Q", q);
    Print("Householder R", r);
    KoMatrix values, vectors;
    a.Eigen(values, vectors);
    Print("eigenvalues of A", values);
    Print("eigenvectors of A (columns)", vectors);
    std::printf("2-norm of A = %.6f, 1-norm of A = %g\n", a.MatrixNorm(2), a.MatrixNorm(1));

    const KoMatrix b({{1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}});
    KoMatrix u, s, v;
    b.SVDDecomposition(u, s, v);
    Print("B", b);
    Print("singular values of B (S)", s);
    Print("U * S * V^T", u * s * v.Transpose());
    Print("pseudo-inverse of B", b.Inv());
    std::printf("\n");
}

}  // namespace

int main() {
    LinearSystems();
    Decompositions();
    return 0;
}

// A first look at KoCalvix: build a few matrices and print what the library computes.
#include <kocalvix/complex.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
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

void FixedSize() {
    std::printf("== 3 x 3 matrices ==\n");
    const Matrix3x3 r(0.0, -1.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 2.0);
    Print("R", r);
    std::printf("det(R) = %g\n", r.Det());
    Print("inverse of R", r.Inv());
    Print("R * (1, 2, 3)", r * Matrix3x1(1.0, 2.0, 3.0));
    Print("R^4", r ^ 4);
    std::printf("\n");
}

void Geometry() {
    std::printf("== Geometry ==\n");
    KoTriangle up(0.0, 0.0, 6.0, 0.0, 3.0, 6.0);
    KoTriangle down(0.0, 4.0, 6.0, 4.0, 3.0, -2.0);
    KoPolygon overlap = up.CalculatePolygonvertex(down);
    overlap.SortVertice();
    std::printf("two triangles forming a six-pointed star overlap in a hexagon:\n   ");
    for (int i = 0; i < overlap.size(); ++i) {
        std::printf(" (%g, %g)", overlap[i][0], overlap[i][1]);
    }
    std::printf("\n   overlap area = %g\n", up.CoverageArea(down));

    const KoLine diagonal(0.0, 0.0, 2.0, 2.0);
    KoLine other(0.0, 2.0, 2.0, 0.0);
    KoPoint* crossing = nullptr;
    if (diagonal.SegmentIntersection(other, crossing) == 1) {
        std::printf("the segments cross at (%g, %g)\n", crossing[0][0], crossing[0][1]);
    }
    delete[] crossing;
    std::printf("\n");
}

void ComplexAndVersion() {
    std::printf("== Complex numbers ==\n");
    const Complex a(1.0, 2.0);
    const Complex b(3.0, 4.0);
    const Complex product = a * b;
    const Complex quotient = product / b;
    std::printf("(1 + 2i)(3 + 4i) = %g + %gi; divided by (3 + 4i): %g + %gi\n", product.GetReal(),
                product.GetImage(), quotient.GetReal(), quotient.GetImage());
    int version[4] = {0, 0, 0, 0};
    Calvix::Version(version);
    std::printf("\nKoCalvix %d.%d.%d.%d\n", version[0], version[1], version[2], version[3]);
}

}  // namespace

int main() {
    LinearSystems();
    Decompositions();
    FixedSize();
    Geometry();
    ComplexAndVersion();
    return 0;
}

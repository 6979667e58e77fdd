// SPDX-License-Identifier: MIT
// A first look at KoCalvix: build a few matrices and print what the library computes.
//
// Good habits shown along the way: every operation that returns a KoMatrixError is checked
// before its outputs are used, and values are tidied before display so that rounding noise
// (1e-17, -0.0) does not clutter the output. Exits with 1 if any step fails.
#include <kocalvix/complex.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/io.h>
#include <kocalvix/matrix.h>
#include <kocalvix/version.h>

#include <iostream>

#include "example_support.h"

using example::Succeeded;
using example::Tidy;

namespace {

void Print(const char* title, const KoMatrix& m) {
    std::cout << title << " (" << m.RowSize() << " x " << m.ColumnSize() << ")\n"
              << Tidy(m) << "\n";
}

bool LinearSystems() {
    std::cout << "== Elimination ==\n";
    const KoMatrix a({{2.0, 4.0}, {1.0, 3.0}});
    Print("A", a);
    KoMatrix echelon;
    if (!Succeeded(a.GaussElimination(echelon), "GaussElimination")) {
        return false;
    }
    Print("row echelon form of A", echelon);
    KoMatrix x, reduced;
    if (!Succeeded(a.GaussElimination(KoMatrix({{2.0}, {2.0}}), x, reduced), "solving A x = b")) {
        return false;
    }
    Print("solution of A x = (2, 2)", x);
    std::cout << "det(A) = " << a.Det() << ", rank(A) = " << a.Rank() << "\n\n";
    return true;
}

bool Decompositions() {
    std::cout << "== Decompositions ==\n";
    const KoMatrix a({{4.0, 1.0, 2.0}, {1.0, 3.0, 0.0}, {2.0, 0.0, 5.0}});
    Print("symmetric A", a);
    KoMatrix q, r;
    if (!Succeeded(a.QRDecomposition(q, r, KoMatrix::Householder), "QRDecomposition")) {
        return false;
    }
    Print("Householder Q", q);
    Print("Householder R", r);
    KoMatrix values, vectors;
    if (!Succeeded(a.Eigen(values, vectors), "Eigen")) {
        return false;
    }
    Print("eigenvalues of A", values);
    Print("eigenvectors of A (columns)", vectors);
    std::cout << "2-norm of A = " << a.MatrixNorm(2) << ", 1-norm of A = " << a.MatrixNorm(1)
              << "\n";

    const KoMatrix b({{1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}});
    KoMatrix u, s, v;
    if (!Succeeded(b.SVDDecomposition(u, s, v), "SVDDecomposition")) {
        return false;
    }
    Print("B", b);
    Print("singular values of B (S)", s);
    Print("U * S * V^T", u * s * v.Transpose());
    Print("pseudo-inverse of B", b.Inv());
    std::cout << "\n";
    return true;
}

void FixedSize() {
    std::cout << "== 3 x 3 matrices ==\n";
    const Matrix3x3 r(0.0, -1.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 2.0);
    Print("R", r);
    std::cout << "det(R) = " << r.Det() << "\n";
    Print("inverse of R", r.Inv());
    Print("R * (1, 2, 3)", r * Matrix3x1(1.0, 2.0, 3.0));
    Print("R^4", r ^ 4);
    Print("2 * R - I", 2.0 * r - Matrix3x3::Identity());
    std::cout << "\n";
}

void Geometry() {
    std::cout << "== Geometry ==\n";
    KoTriangle up(0.0, 0.0, 6.0, 0.0, 3.0, 6.0);
    KoTriangle down(0.0, 4.0, 6.0, 4.0, 3.0, -2.0);
    KoPolygon overlap = up.CalculatePolygonvertex(down);
    overlap.SortVertice();
    std::cout << "two triangles forming a six-pointed star overlap in a hexagon:\n    " << overlap
              << "\n    overlap area = " << up.CoverageArea(down) << "\n";

    const KoLine diagonal(0.0, 0.0, 2.0, 2.0);
    KoLine other(0.0, 2.0, 2.0, 0.0);
    KoPoint* crossing = nullptr;
    if (diagonal.SegmentIntersection(other, crossing) == 1) {
        std::cout << "the segments " << diagonal << " and " << other << " cross at " << crossing[0]
                  << "\n";
    }
    delete[] crossing;  // the caller owns the array SegmentIntersection returns
    std::cout << "\n";
}

void ComplexAndVersion() {
    std::cout << "== Complex numbers ==\n";
    const Complex a(1.0, 2.0);
    const Complex b(3.0, 4.0);
    const Complex product = a * b;
    std::cout << a << " * " << b << " = " << product << "; divided by " << b << ": " << product / b
              << "\n";
    int version[4] = {0, 0, 0, 0};
    Calvix::Version(version);
    std::cout << "\nKoCalvix " << version[0] << "." << version[1] << "." << version[2] << "."
              << version[3] << " (headers " << KOCALVIX_VERSION_STRING << ")\n";
}

}  // namespace

int main() {
    if (!LinearSystems() || !Decompositions()) {
        return 1;
    }
    FixedSize();
    Geometry();
    ComplexAndVersion();
    return 0;
}

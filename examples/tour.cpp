// A first look at KoCalvix: build a few matrices and print what the library computes.
#include <kocalvix/matrix.h>

#include <cstdio>

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

}  // namespace

int main() {
    const KoMatrix a({{2.0, 4.0}, {1.0, 3.0}});
    Print("A", a);
    Print("A * A^T", a * a.Transpose());

    KoMatrix echelon;
    a.GaussElimination(echelon);
    Print("row echelon form of A", echelon);

    KoMatrix x, reduced;
    const std::vector<std::vector<double>> rhs = {{2.0}, {2.0}};
    a.GaussElimination(KoMatrix(rhs), x, reduced);
    Print("solution of A x = (2, 2)", x);
    std::printf("det(A) = %g, rank(A) = %d\n", a.Det(), a.Rank());
    return 0;
}

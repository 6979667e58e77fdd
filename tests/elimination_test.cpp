// SPDX-License-Identifier: MIT
// Gaussian elimination, the linear-system solver, the rank with its pivot columns and the
// determinant.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::Rows;

TEST(Elimination, RowEchelonForm) {
    KoMatrix echelon(5, 5);
    EXPECT_EQ(KoMatrix(Rows{{2, 4}, {1, 3}}).GaussElimination(echelon), NoError);
    EXPECT_EQ(echelon.ToVec(), (Rows{{1, 2}, {0, 1}}));

    // The larger magnitude wins the pivot search; the upper row wins a tie.
    EXPECT_EQ(KoMatrix(Rows{{1, 1}, {-3, 0}}).GaussElimination(echelon), NoError);
    EXPECT_EQ(echelon(0, 0), 1.0);
    EXPECT_EQ(echelon(0, 1), -0.0);
    EXPECT_EQ(KoMatrix(Rows{{2, 0}, {-2, 1}}).GaussElimination(echelon), NoError);
    EXPECT_EQ(echelon.ToVec(), (Rows{{1, 0}, {0, 1}}));

    // A column whose candidates all lie in the zero band is skipped; the next column is
    // searched from the same pivot row, and the update starts at the pivot row's index.
    EXPECT_EQ(KoMatrix(Rows{{5e-12, 2, 4}, {0, 1, 1}}).GaussElimination(echelon), NoError);
    EXPECT_EQ(echelon(0, 0), 2.5e-12);
    EXPECT_EQ(echelon(0, 1), 1.0);
    EXPECT_EQ(echelon(0, 2), 2.0);
    EXPECT_EQ(echelon(1, 0), 0.0 - 1.0 * 2.5e-12);
    EXPECT_EQ(echelon(1, 1), 0.0);
    EXPECT_EQ(echelon(1, 2), -1.0);

    // An output wrapping a buffer of another shape keeps its content.
    double p[1] = {42};
    KoMatrix wrapped(1, 1, p, KoMatrix::ShallowCopy);
    EXPECT_EQ(KoMatrix(Rows{{2, 4}, {1, 3}}).GaussElimination(wrapped), NoError);
    EXPECT_EQ(p[0], 42.0);
}

TEST(Elimination, LinearSystem) {
    const KoMatrix a(Rows{{2, 4}, {1, 3}});
    KoMatrix x, reduced;
    EXPECT_EQ(a.GaussElimination(KoMatrix(Rows{{2}, {2}}), x, reduced), NoError);
    EXPECT_EQ(x.ToVec(), (Rows{{-1}, {1}}));
    EXPECT_EQ(reduced.ToVec(), (Rows{{1, 2}, {0, 1}}));

    KoMatrix wideX, wideReduced;
    EXPECT_EQ(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}})
                  .GaussElimination(KoMatrix(Rows{{1}, {1}}), wideX, wideReduced),
              NotSquare);
    EXPECT_EQ(wideX.ToVec(), (Rows{{0}, {0}}));
    EXPECT_EQ(wideReduced.ColumnSize(), 3);
    KoMatrix tallX, tallReduced;
    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {3, 4}, {5, 6}})
                  .GaussElimination(KoMatrix(Rows{{1}, {1}, {1}}), tallX, tallReduced),
              NotSquare);
    EXPECT_EQ(tallX.ToVec(), (Rows{{0}, {0}, {0}}));

    // Unfit right-hand sides and unfit wrapped outputs leave both outputs untouched.
    KoMatrix keepX(Rows{{7}}), keepR(Rows{{8}});
    EXPECT_EQ(a.GaussElimination(KoMatrix(Rows{{1, 1}, {1, 1}}), keepX, keepR), DimensionMismatch);
    EXPECT_EQ(a.GaussElimination(KoMatrix(Rows{{1}, {1}, {1}}), keepX, keepR), DimensionMismatch);
    double p[2] = {5, 5};
    KoMatrix wrapped(1, 2, p, KoMatrix::ShallowCopy);
    EXPECT_EQ(a.GaussElimination(KoMatrix(Rows{{2}, {2}}), wrapped, keepR), ExternalBuffer);
    EXPECT_EQ(a.GaussElimination(KoMatrix(Rows{{2}, {2}}), keepX, wrapped), ExternalBuffer);
    EXPECT_EQ(keepX.ToVec(), (Rows{{7}}));
    EXPECT_EQ(keepR.ToVec(), (Rows{{8}}));
    EXPECT_EQ(p[0], 5.0);

    // The same object as both outputs: the solution is assigned last.
    KoMatrix both;
    EXPECT_EQ(a.GaussElimination(KoMatrix(Rows{{2}, {2}}), both, both), NoError);
    EXPECT_EQ(both.ToVec(), (Rows{{-1}, {1}}));
    // The system matrix as its own output.
    KoMatrix self(a);
    EXPECT_EQ(self.GaussElimination(KoMatrix(Rows{{2}, {2}}), x, self), NoError);
    EXPECT_EQ(self.ToVec(), (Rows{{1, 2}, {0, 1}}));
}

TEST(Elimination, SolvesRandomSystemsToRounding) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int n = 1; n <= 8; ++n) {
        KoMatrix a(n, n), want(n, 1);
        for (int k = 0; k < a.ElementNum(); ++k)
            a[k] = dist(rng);
        for (int k = 0; k < n; ++k)
            want[k] = dist(rng);
        KoMatrix x, reduced;
        ASSERT_EQ(a.GaussElimination(a * want, x, reduced), NoError);
        const KoMatrix error = x - want;
        for (int k = 0; k < n; ++k) {
            EXPECT_LT(std::fabs(error[k]), 1e-9) << n;
        }
    }
}

TEST(Elimination, RankAndPivotColumns) {
    KoMatrix basis;
    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {2, 4}}).Rank(basis), 1);
    EXPECT_EQ(basis.ToVec(), (Rows{{1}, {2}}));
    EXPECT_EQ(KoMatrix(Rows{{0, 1}, {0, 0}}).Rank(basis), 1);
    EXPECT_EQ(basis.ToVec(), (Rows{{0, 1}, {0, 0}}));

    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {3, 4}}).Rank(), 2);
    EXPECT_EQ(KoMatrix(3, 3).Rank(), 0);
    EXPECT_EQ(KoMatrix().Rank(), 0);
    EXPECT_EQ(KoMatrix(Rows{{0, 0, 5}}).Rank(), 1);  // a column never pivoted still counts
    EXPECT_EQ(KoMatrix(Rows{{1, 0, 0}, {0, 0, 1}}).Rank(), 2);
    EXPECT_EQ(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}).Rank(), 2);
    // A last column in the span of the others does not count.
    EXPECT_EQ(KoMatrix(Rows{{1, 0, 1}, {0, 1, 1}, {0, 0, 0}, {0, 0, 0}}).Rank(), 2);
    EXPECT_EQ(KoMatrix(Rows{{1e-12, 0}, {0, 1e-12}}).Rank(), 0);
    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {2, 4}}).Rank(), 1);
}

TEST(Elimination, Determinant) {
    EXPECT_EQ(KoMatrix(Rows{{0, 1}, {-5, 0}}).Det(), 5.0);
    EXPECT_EQ(KoMatrix(Rows{{-2, 0}, {0, -3}}).Det(), 6.0);
    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {2, 4}}).Det(), 0.0);
    EXPECT_EQ(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}}).Det(), 0.0);
    EXPECT_EQ(KoMatrix().Det(), 1.0);
    EXPECT_EQ(KoMatrix(Rows{{4}}).Det(), 4.0);
    EXPECT_EQ(KoMatrix(Rows{{2, 1, 1}, {1, 3, 2}, {1, 0, 0}}).Det(), -1.0);
    // Through the base class, the virtual slot is used.
    const KoMatrix& base = KoMatrix(Rows{{3, 0}, {0, 2}});
    EXPECT_EQ(base.Det(), 6.0);

    const KoMatrix anything(Rows{{9}});
    EXPECT_EQ(anything.Det(KoMatrix(Rows{{1, 2}, {3, 4}})), 24.0);
    EXPECT_EQ(anything.Det(KoMatrix(0, 3)), 1.0);
}

}  // namespace

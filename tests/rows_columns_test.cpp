// SPDX-License-Identifier: MIT
// Products, transpose, factories and the row and column runs of KoMatrix.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::Rows;

TEST(MatrixProduct, ShapesAndFallbacks) {
    const KoMatrix a(Rows{{1, 2, 3}, {4, 5, 6}});
    const KoMatrix b(Rows{{7, 8}, {9, 10}, {11, 12}});
    EXPECT_EQ((a * b).ToVec(), (Rows{{58, 64}, {139, 154}}));
    EXPECT_EQ(a * a, a);  // 2x3 * 2x3 does not fit: a copy of the left operand

    KoMatrix c(a);
    c *= a;
    EXPECT_EQ(c, a);
    KoMatrix square(Rows{{1, 2}, {3, 4}});
    square *= square;  // reads the old value of both operands
    EXPECT_EQ(square.ToVec(), (Rows{{7, 10}, {15, 22}}));
    square *= a;  // owning: takes the product's shape
    EXPECT_EQ(square.RowSize(), 2);
    EXPECT_EQ(square.ColumnSize(), 3);

    double p[4] = {1, 2, 3, 4};
    KoMatrix wrapped(2, 2, p, KoMatrix::ShallowCopy);
    wrapped *= KoMatrix(Rows{{0, 1}, {1, 0}});
    EXPECT_EQ(p[0], 2.0);
    EXPECT_EQ(p[1], 1.0);
    wrapped *= a;  // would change the wrapped shape: unchanged
    EXPECT_EQ(p[0], 2.0);
    EXPECT_EQ(wrapped.ColumnSize(), 2);

    EXPECT_EQ((KoMatrix(2, 0) * KoMatrix(0, 3)).ToVec(), Rows(2, std::vector<double>(3, 0.0)));
}

// Every element of the product is the sum over increasing k accumulated from 0.0, with no
// fused multiply-add: compare against that loop written out plainly.
TEST(MatrixProduct, MatchesTheReferenceSummationOrderBitForBit) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> dist(-1e3, 1e3);
    for (int n : {1, 3, 8, 17}) {
        KoMatrix a(n, n + 2), b(n + 2, n + 1);
        for (int k = 0; k < a.ElementNum(); ++k)
            a[k] = dist(rng) / 7.0;
        for (int k = 0; k < b.ElementNum(); ++k)
            b[k] = dist(rng) / 3.0;
        const KoMatrix c = a * b;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n + 1; ++j) {
                volatile double sum = 0.0;
                for (int k = 0; k < n + 2; ++k) {
                    volatile double product = a(i, k) * b(k, j);
                    sum = product + sum;
                }
                ASSERT_EQ(c(i, j), sum) << n << " " << i << " " << j;
            }
        }
    }
}

TEST(MatrixFactories, TransposeIdentityAndDiagonals) {
    const KoMatrix row(Rows{{1, 2, 3}});
    EXPECT_EQ(row.Transpose().ToVec(), (Rows{{1}, {2}, {3}}));
    const KoMatrix flat = KoMatrix(3, 0).Transpose();
    EXPECT_EQ(flat.RowSize(), 0);
    EXPECT_EQ(flat.ColumnSize(), 3);

    EXPECT_EQ(KoMatrix::Identity(2).ToVec(), (Rows{{1, 0}, {0, 1}}));
    EXPECT_EQ(KoMatrix::Identity(0).ElementNum(), 0);
    EXPECT_EQ(KoMatrix::Identity(-3).RowSize(), 0);
    double d[2] = {5, -1};
    EXPECT_EQ(KoMatrix::DiagForm(2, d).ToVec(), (Rows{{5, 0}, {0, -1}}));
    EXPECT_EQ(KoMatrix::DiagForm(2, nullptr), KoMatrix(2, 2));
    EXPECT_EQ(KoMatrix::DiagForm(-1, d).RowSize(), 0);
    EXPECT_EQ(KoMatrix::DiagForm(std::vector<double>{1, 2, 3}).Trace(), 6.0);
    EXPECT_EQ(KoMatrix::DiagForm(std::vector<double>()).ElementNum(), 0);
}

TEST(MatrixRuns, GetRowAndGetColumn) {
    const KoMatrix m(Rows{{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(m.GetRow(1, 1).ToVec(), (Rows{{3, 4}}));
    EXPECT_EQ(m.GetRow(0, 2), m);
    const KoMatrix none = m.GetRow(2, 1);
    EXPECT_EQ(none.RowSize(), 0);
    EXPECT_EQ(none.ColumnSize(), 2);
    const KoMatrix sq(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_EQ(sq.GetColumn(0, 1).ToVec(), (Rows{{1, 2}, {4, 5}, {7, 8}}));
    EXPECT_EQ(sq.GetColumn(2, 2).ToVec(), (Rows{{3}, {6}, {9}}));

    // Runs outside the matrix give empty results.
    const int maxInt = std::numeric_limits<int>::max();
    const int minInt = std::numeric_limits<int>::min();
    for (auto run : std::vector<std::pair<int, int>>{
             {-1, 0}, {0, 3}, {2, 0}, {minInt, maxInt}, {maxInt, minInt}, {4, 3}}) {
        const KoMatrix r = m.GetRow(run.first, run.second);
        EXPECT_EQ(r.RowSize(), 0) << run.first << ".." << run.second;
        EXPECT_EQ(r.ColumnSize(), 2);
        const KoMatrix c = sq.GetColumn(run.first, run.second);
        EXPECT_EQ(c.RowSize(), 3);
        EXPECT_EQ(c.ColumnSize(), 0);
    }
}

TEST(MatrixRuns, SetRowAndSetColumnCheckBeforeWriting) {
    KoMatrix m(Rows{{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(m.SetRow(0, 1, KoMatrix(Rows{{7, 8}, {9, 10}})), NoError);
    EXPECT_EQ(m.ToVec(), (Rows{{7, 8}, {9, 10}, {5, 6}}));
    const KoMatrix before(m);
    EXPECT_EQ(m.SetRow(0, 1, KoMatrix(Rows{{0, 0}})), DimensionMismatch);
    EXPECT_EQ(m.SetRow(2, 3, KoMatrix(2, 2)), DimensionMismatch);
    EXPECT_EQ(m.SetRow(-1, 0, KoMatrix(2, 2)), DimensionMismatch);
    EXPECT_EQ(m.SetRow(1, 0, KoMatrix(0, 2)), DimensionMismatch);
    EXPECT_EQ(m.SetRow(0, 0, KoMatrix(1, 3)), DimensionMismatch);
    EXPECT_EQ(m.SetColumn(1, 1, KoMatrix(Rows{{1}, {1}})), DimensionMismatch);
    EXPECT_EQ(m.SetColumn(1, 2, KoMatrix(3, 2)), DimensionMismatch);
    EXPECT_EQ(m.SetRow(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), m),
              DimensionMismatch);
    EXPECT_EQ(m, before);
    EXPECT_EQ(m.SetColumn(1, 1, KoMatrix(Rows{{-1}, {-2}, {-3}})), NoError);
    EXPECT_EQ(m.ToVec(), (Rows{{7, -1}, {9, -2}, {5, -3}}));
    EXPECT_EQ(m.SetRow(0, 2, m), NoError);
    EXPECT_EQ(m.ToVec(), (Rows{{7, -1}, {9, -2}, {5, -3}}));

    double p[4] = {1, 2, 3, 4};
    KoMatrix wrapped(2, 2, p, KoMatrix::ShallowCopy);
    EXPECT_EQ(wrapped.SetColumn(0, 0, KoMatrix(Rows{{9}, {9}})), NoError);
    EXPECT_EQ(p[2], 9.0);
}

TEST(MatrixRuns, AddRowAndAddColumnInsert) {
    const KoMatrix m(Rows{{1, 2}, {3, 4}, {5, 6}});
    const KoMatrix r(Rows{{0, 0}});
    KoMatrix a(m);
    EXPECT_EQ(a.AddRow(3, 3, r), NoError);
    EXPECT_EQ(a.ToVec(), (Rows{{1, 2}, {3, 4}, {5, 6}, {0, 0}}));
    a = m;
    EXPECT_EQ(a.AddRow(0, 0, r), NoError);
    EXPECT_EQ(a.ToVec(), (Rows{{0, 0}, {1, 2}, {3, 4}, {5, 6}}));
    a = m;
    EXPECT_EQ(a.AddRow(1, 2, KoMatrix(Rows{{7, 7}, {8, 8}})), NoError);
    EXPECT_EQ(a.ToVec(), (Rows{{1, 2}, {7, 7}, {8, 8}, {3, 4}, {5, 6}}));
    a = m;
    EXPECT_EQ(a.AddRow(4, 4, r), DimensionMismatch);
    EXPECT_EQ(a.AddRow(0, 0, KoMatrix(1, 3)), DimensionMismatch);
    EXPECT_EQ(a.AddRow(-1, -1, r), DimensionMismatch);
    EXPECT_EQ(a, m);

    KoMatrix b(Rows{{1, 2}, {3, 4}});
    EXPECT_EQ(b.AddColumn(1, 2, KoMatrix(Rows{{5, 6}, {7, 8}})), NoError);
    EXPECT_EQ(b.ToVec(), (Rows{{1, 5, 6, 2}, {3, 7, 8, 4}}));
    EXPECT_EQ(b.AddColumn(4, 4, KoMatrix(Rows{{9}, {9}})), NoError);
    EXPECT_EQ(b.ToVec(), (Rows{{1, 5, 6, 2, 9}, {3, 7, 8, 4, 9}}));
    EXPECT_EQ(b.AddColumn(0, 0, KoMatrix(Rows{{9}})), DimensionMismatch);
    EXPECT_EQ(b.AddColumn(6, 6, KoMatrix(Rows{{9}, {9}})), DimensionMismatch);

    KoMatrix self(Rows{{1, 2}});
    EXPECT_EQ(self.AddRow(1, 1, self), NoError);
    EXPECT_EQ(self.ToVec(), (Rows{{1, 2}, {1, 2}}));

    double p[4] = {1, 2, 3, 4};
    KoMatrix wrapped(2, 2, p, KoMatrix::ShallowCopy);
    EXPECT_EQ(wrapped.AddRow(2, 2, KoMatrix(Rows{{0, 0}})), ExternalBuffer);
    EXPECT_EQ(wrapped.AddRow(9, 9, KoMatrix(3, 3)), ExternalBuffer);  // checked first
    EXPECT_EQ(wrapped.AddColumn(0, 0, KoMatrix(5, 5)), ExternalBuffer);
    EXPECT_EQ(wrapped.RowSize(), 2);
}

}  // namespace

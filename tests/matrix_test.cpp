// SPDX-License-Identifier: MIT
// Construction, ownership, assignment, element access and ToVec of KoMatrix.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::Rows;

TEST(MatrixLifecycle, EmptyAndZeroSizedShapes) {
    const KoMatrix empty;
    EXPECT_EQ(empty.RowSize(), 0);
    EXPECT_EQ(empty.ColumnSize(), 0);
    EXPECT_EQ(empty.ElementNum(), 0);
    EXPECT_TRUE(empty.ToVec().empty());

    const KoMatrix noColumns(3, 0);
    EXPECT_EQ(noColumns.ElementNum(), 0);
    EXPECT_EQ(noColumns.ToVec(), Rows(3));
    EXPECT_TRUE(KoMatrix(0, 5).ToVec().empty());

    const KoMatrix zeros(2, 3);
    EXPECT_EQ(zeros.ToVec(), Rows(2, std::vector<double>(3, 0.0)));
}

TEST(MatrixLifecycle, ShallowCopyWrapsAndDeepCopyCopies) {
    double p[4] = {1, 2, 3, 4};
    {
        KoMatrix wrapped(2, 2, p, KoMatrix::ShallowCopy);
        wrapped.at(1, 0) = 7.0;
        EXPECT_EQ(p[2], 7.0);
        KoMatrix copy(wrapped);  // a copy of a wrapping matrix owns its buffer
        copy.at(0) = -1.0;
        EXPECT_EQ(p[0], 1.0);
        wrapped *= 2.0;  // in-place operations write into the caller's buffer
        EXPECT_EQ(p[3], 8.0);
    }
    EXPECT_EQ(p[0], 2.0);  // destruction leaves the caller's buffer alone

    // A null buffer is a valid wrapped buffer of no elements: the shape stays fixed.
    KoMatrix emptyView(0, 3, nullptr, KoMatrix::ShallowCopy);
    emptyView = KoMatrix(2, 2);
    EXPECT_EQ(emptyView.RowSize(), 0);
    EXPECT_EQ(emptyView.AddRow(0, 0, KoMatrix(1, 3)), ExternalBuffer);
    // With elements to hold, a null buffer gives zeros rather than a dangling view.
    EXPECT_EQ(KoMatrix(2, 2, nullptr, KoMatrix::ShallowCopy), KoMatrix(2, 2));

    double q[4] = {1, 2, 3, 4};
    for (int type : {0, 2, -1}) {
        KoMatrix deep(2, 2, q, static_cast<KoMatrix::CopyType>(type));
        deep.at(0) = 9.0;
        EXPECT_EQ(q[0], 1.0) << "copy type " << type;
        EXPECT_EQ(deep.at(3), 4.0);
    }
}

TEST(MatrixLifecycle, AssignmentFollowsTheWrappingRule) {
    double p[4] = {1, 2, 3, 4};
    KoMatrix wrapped(2, 2, p, KoMatrix::ShallowCopy);
    wrapped = KoMatrix(Rows{{5, 6, 7}, {8, 9, 10}});  // other shape: unchanged
    EXPECT_EQ(wrapped.RowSize(), 2);
    EXPECT_EQ(wrapped.ColumnSize(), 2);
    EXPECT_EQ(p[0], 1.0);
    wrapped = KoMatrix(Rows{{5, 6}, {7, 8}});  // same shape: copied into the caller's buffer
    EXPECT_EQ(p[3], 8.0);
    EXPECT_EQ(&wrapped.at(0), p);

    KoMatrix owning(4, 4);
    const KoMatrix source(Rows{{1, 2, 3}, {4, 5, 6}});
    owning = source;
    EXPECT_EQ(owning, source);
    EXPECT_EQ(owning.ElementNum(), 6);
    owning.at(0) = 100.0;
    EXPECT_EQ(source.at(0), 1.0);

    KoMatrix self(Rows{{1, 2}, {3, 4}});
    const KoMatrix& alias = self;
    self = alias;
    EXPECT_EQ(self.ToVec(), (Rows{{1, 2}, {3, 4}}));
}

TEST(MatrixLifecycle, NestedVectorsUseTheFirstRowLength) {
    const KoMatrix truncated(Rows{{1, 2, 3}, {4, 5, 6, 7}});
    EXPECT_EQ(truncated.ToVec(), (Rows{{1, 2, 3}, {4, 5, 6}}));
    const KoMatrix padded(Rows{{1, 2, 3}, {4}});
    EXPECT_EQ(padded.ToVec(), (Rows{{1, 2, 3}, {4, 0, 0}}));
    // Braced rows, a column among them, build the same matrices.
    EXPECT_EQ(KoMatrix({{2.0}, {2.0}}).ToVec(), (Rows{{2}, {2}}));
    EXPECT_EQ(KoMatrix({{1, 2, 3}, {4}}), padded);
    const KoMatrix twoByThree{2, 3};  // still the zero matrix of that shape
    EXPECT_EQ(twoByThree, KoMatrix(2, 3));
    const KoMatrix none{Rows{}};
    EXPECT_EQ(none.RowSize(), 0);
    EXPECT_EQ(none.ColumnSize(), 0);
}

TEST(MatrixLifecycle, ElementAccessIsRowMajor) {
    KoMatrix m(Rows{{1, 2, 3}, {4, 5, 6}});
    EXPECT_EQ(m.at(5), 6.0);
    EXPECT_EQ(m[4], 5.0);
    EXPECT_EQ(m(1, 0), 4.0);
    m(0, 2) = 30.0;
    EXPECT_EQ(m.at(2), 30.0);
    const KoMatrix& c = m;
    EXPECT_EQ(&c.at(1, 1), &m[4]);
}

TEST(MatrixLifecycle, ImpossibleShapesThrowBadArrayNewLength) {
    EXPECT_THROW(KoMatrix(-1, 2), std::bad_array_new_length);
    EXPECT_THROW(KoMatrix(2, -1), std::bad_array_new_length);
    // 2^29 elements need 2^32 bytes: one byte past what a 32-bit process can address.
    EXPECT_THROW(KoMatrix(1 << 15, 1 << 14), std::bad_array_new_length);
    EXPECT_THROW(KoMatrix(65536, 65536), std::bad_array_new_length);
    EXPECT_THROW(KoMatrix::Identity(1 << 15), std::bad_array_new_length);
    double p[1] = {0};
    EXPECT_THROW(KoMatrix(-2, 3, p, KoMatrix::ShallowCopy), std::bad_array_new_length);

    // Growing past the int range throws and leaves the matrix as it was.
    const int maxInt = std::numeric_limits<int>::max();
    KoMatrix tall(maxInt, 0);
    EXPECT_THROW(static_cast<void>(tall.AddRow(0, 1, KoMatrix(2, 0))), std::bad_array_new_length);
    EXPECT_EQ(tall.RowSize(), maxInt);
    KoMatrix wide(0, maxInt);
    EXPECT_THROW(static_cast<void>(wide.AddColumn(0, 0, KoMatrix(0, 1))),
                 std::bad_array_new_length);
    EXPECT_EQ(wide.ColumnSize(), maxInt);
}

}  // namespace

// SPDX-License-Identifier: MIT
// Ownership and lifetime: wrapped caller buffers (written in place, never reshaped, never
// released), deep copies, the assignment rule, moves, nested-vector construction, row-major
// access, and the shapes that cannot exist (std::bad_array_new_length, the object unchanged).
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

TEST(Lifecycle, WrappedBuffersAreWrittenInPlaceAndKeepTheirShape) {
    double p[4] = {1, 2, 3, 4};
    {
        KoMatrix wrapped(2, 2, p, KoMatrix::ShallowCopy);
        wrapped.at(1, 0) = 7.0;
        EXPECT_EQ(p[2], 7.0);
        KoMatrix copy(wrapped);  // a copy owns its buffer
        copy.at(0) = -1.0;
        EXPECT_EQ(p[0], 1.0);
        wrapped *= 2.0;
        EXPECT_EQ(p[3], 8.0);
        wrapped = KoMatrix(Rows{{5, 6, 7}, {8, 9, 10}});  // another shape: unchanged
        wrapped = KoMatrix(Rows{{5, 6, 7, 8}});           // even with as many elements
        EXPECT_EQ(wrapped.ColumnSize(), 2);
        EXPECT_EQ(p[0], 2.0);
        wrapped = KoMatrix(Rows{{5, 6}, {7, 8}});  // the same shape: copied into the buffer
        EXPECT_EQ(&wrapped.at(0), p);
        wrapped *= KoMatrix(Rows{{0, 1}, {1, 0}});
        EXPECT_EQ(p[0], 6.0);
        wrapped *= KoMatrix(2, 3);  // the product would reshape it: unchanged
        EXPECT_EQ(p[0], 6.0);
        EXPECT_EQ(wrapped.AddRow(2, 2, KoMatrix(1, 2)), ExternalBuffer);
    }
    EXPECT_EQ(p[3], 7.0);  // destruction leaves the caller's buffer alone
    // A null buffer wraps no elements; with elements to hold it gives zeros, not a dangling view.
    KoMatrix emptyView(0, 3, nullptr, KoMatrix::ShallowCopy);
    emptyView = KoMatrix(2, 2);
    EXPECT_EQ(emptyView.RowSize(), 0);
    EXPECT_EQ(KoMatrix(2, 2, nullptr, KoMatrix::ShallowCopy), KoMatrix(2, 2));
    for (int type : {0, 2, -1}) {  // every other copy type copies
        KoMatrix deep(2, 2, p, static_cast<KoMatrix::CopyType>(type));
        deep.at(0) = 9.0;
        EXPECT_TRUE(p[0] == 6.0 && deep.at(3) == 7.0) << type;
    }
}

TEST(Lifecycle, ConstructionAssignmentAndMoves) {
    const KoMatrix twoByThree{2, 3};  // the zero matrix of that shape, not a row of two values
    EXPECT_EQ(twoByThree, KoMatrix(2, 3));
    EXPECT_EQ(KoMatrix(3, 0).ToVec(), Rows(3));
    KoMatrix m(Rows{{1, 2, 3}, {4, 5, 6}}), owning(4, 4);
    owning = m;
    owning.at(0) = 100.0;
    EXPECT_EQ(m.at(0), 1.0);
    const KoMatrix& alias = owning;
    owning = alias;
    EXPECT_EQ(owning.at(0), 100.0);
    // An owning matrix hands its buffer over and becomes 0 x 0; a wrapping one is copied.
    const double* buffer = m.data();
    KoMatrix moved(std::move(m));
    EXPECT_TRUE(moved.data() == buffer && m.ElementNum() == 0);
    double caller[2] = {5.0, 6.0};
    KoMatrix wrapping(1, 2, caller, KoMatrix::ShallowCopy);
    KoMatrix copied(std::move(wrapping));
    EXPECT_TRUE(copied.data() != caller && wrapping.data() == caller);
    Matrix3x3 fixed = Matrix3x3::Identity();
    KoMatrix fromFixed(std::move(fixed));
    EXPECT_EQ(fixed, Matrix3x3::Identity());
    // Polygons own their arrays: copies, growing and shrinking assignments, self-assignment.
    const std::vector<KoPoint> square{KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1)};
    KoPolygon a(square), b(a), grown;
    b[1] = KoPoint(7, 7);
    EXPECT_EQ(a[1], KoPoint(1, 0));
    grown = a;
    EXPECT_TRUE(grown.size() == 4 && grown[3] == KoPoint(0, 1));
    grown = KoPolygon();
    EXPECT_EQ(grown.size(), 1);
    const KoPolygon& self = b;
    b = self;
    EXPECT_EQ(b[1], KoPoint(7, 7));
    const KoPoint* vertices = &a[0];
    KoPolygon taken(std::move(a));
    EXPECT_TRUE(&taken[0] == vertices && a.size() == 1);
    KoTriangle t(0, 0, 1, 0, 0, 1);
    t = KoTriangle(square);
    EXPECT_EQ(t.size(), 4);
}

TEST(Lifecycle, ImpossibleShapesThrowAndLeaveTheObjectAsItWas) {
    EXPECT_THROW(KoMatrix(-1, 2), std::bad_array_new_length);
    EXPECT_THROW(KoMatrix(2, -1), std::bad_array_new_length);
    // 2^29 elements need 2^32 bytes: one byte past what a 32-bit process can address.
    EXPECT_THROW(KoMatrix(1 << 15, 1 << 14), std::bad_array_new_length);
    EXPECT_THROW(KoMatrix::Identity(1 << 15), std::bad_array_new_length);
    double p[1] = {0};
    EXPECT_THROW(KoMatrix(-2, 3, p, KoMatrix::ShallowCopy), std::bad_array_new_length);
    KoMatrix tall(INT_MAX, 0), wide(0, INT_MAX);
    EXPECT_THROW(static_cast<void>(tall.AddRow(0, 1, KoMatrix(2, 0))), std::bad_array_new_length);
    EXPECT_THROW(static_cast<void>(wide.AddColumn(0, 0, KoMatrix(0, 1))),
                 std::bad_array_new_length);
    EXPECT_TRUE(tall.RowSize() == INT_MAX && wide.ColumnSize() == INT_MAX);
    for (int count : {-1, INT_MIN, INT_MAX, 0x10000000}) {
        EXPECT_THROW(KoPolygon(nullptr, count), std::bad_array_new_length) << count;
    }
}

}  // namespace

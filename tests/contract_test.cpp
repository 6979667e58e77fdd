// SPDX-License-Identifier: MIT
// Contracts of whole families of members, as tables: the outputs of every operation with outputs,
// exact comparison by every == and !=, and the index rules of every accessor.
#include <kocalvix/complex.h>
#include <kocalvix/geometry.h>
#include <kocalvix/io.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <numeric>
#include <utility>

#include "support/operations_with_outputs.h"

namespace {

using namespace test_support;
using Values = std::vector<double>;

// Each operation on each input (with the table's refused ones: singular, NaN, ...) with fresh
// outputs, with each output in turn wrapped with its result's shape or another, a Matrix3x3,
// the input or an earlier output, and with all outputs and the input wrapping the same doubles.
TEST(OutputContract, EveryOperationWithOutputs) {
    std::vector<KoMatrix> inputs = {KoMatrix({{4, 1, 2}, {-1, 3, 0}, {2, 2, 5}}),
                                    KoMatrix({{1, 2}, {3, 4}, {5, 6}}),
                                    KoMatrix({{1, 0, 2}, {0, 2, 1}}),
                                    KoMatrix(),
                                    KoMatrix(0, 3),
                                    KoMatrix(3, 0)};
    KoMatrix results[3];
    Shape s[3];
    for (const OperationWithOutputs& op : kOperationsWithOutputs) {
        if (op.refused != nullptr) {
            inputs.push_back(op.refused());
            EXPECT_EQ(Reference(op, op.call, op.refused(), results, s), op.refusal) << op.name;
        }
    }
    for (const OperationWithOutputs& op : kOperationsWithOutputs) {
        for (const KoMatrix& input : inputs) {
            Reference(op, op.call, input, results, s);
            std::vector<Arrangement> all(2);
            all[1].inputAt = 0;
            for (int k = 0; k < op.outputs; ++k) {
                all[1].out[k] = {Output::Wrapped, s[k].rows, s[k].cols, 0};
                for (const Output x : {Output{Output::Wrapped, s[k].rows, s[k].cols, 64 * k},
                                       Output{Output::Wrapped, s[k].cols,
                                              s[k].rows + (s[k].rows == s[k].cols), 64 * k},
                                       Output{Output::Fixed}, Output{Output::Input}}) {
                    all.emplace_back().out[k] = x;
                }
                for (int j = 0; j < k; ++j) {
                    all.emplace_back().out[k] = {Output::Same, 0, 0, j};
                }
            }
            for (const Arrangement& arrangement : all) {
                for (const Call call : {op.call, op.diagnosed}) {
                    EXPECT_EQ(call ? CheckOutputs(op, call, input, arrangement) : "", "")
                        << op.name << (call == op.call ? "" : " (diagnostics)") << " of " << input;
                }
            }
        }
    }
}

// In every position in turn: one ulp up or down, -0 against +0, a NaN (unequal even to itself);
// == and != tell each case and agree. Other shapes are unequal, a line equals its reverse.
TEST(ExactComparison, EveryTypeWithEquality) {
    using Compare = std::function<std::pair<bool, bool>(const Values&, const Values&)>;
    const auto make = [](auto build) -> Compare {
        return [build](const Values& u, const Values& v) {
            const auto a = build(u), b = build(v);
            const auto& c = &u == &v ? a : b;
            return std::make_pair(a == c, a != c);
        };
    };
    const Compare matrix = make([](const Values& v) {  // 3 x 5, or a row of more elements
        return KoMatrix(v.size() == 15 ? 3 : 1, v.size() == 15 ? 5 : int(v.size()),
                        const_cast<double*>(v.data()), KoMatrix::DeepCopy);
    });
    const std::pair<int, Compare> types[] = {
        {15, matrix},
        {17, matrix},
        {3, make([](const Values& v) { return Matrix3x1(v[0], v[1], v[2]); })},
        {9, make([](const Values& v) { return Matrix3x3(const_cast<double*>(v.data())); })},
        {2, make([](const Values& v) { return KoPoint(v[0], v[1]); })},
        {4, make([](const Values& v) { return KoLine(v[0], v[1], v[2], v[3]); })},
        {2, make([](const Values& v) { return Complex(v[0], v[1]); })}};
    const std::pair<bool, bool> equal(true, false), unequal(false, true);
    for (const auto& [size, compare] : types) {
        Values u(size);
        std::iota(u.begin(), u.end(), 1.5);
        EXPECT_EQ(compare(u, u), equal) << size;
        for (int k = 0; k < size; ++k) {
            Values v = u, w = u;
            v[k] = std::nextafter(u[k], kInf);
            w[k] = std::nextafter(u[k], -kInf);
            EXPECT_TRUE(compare(u, v) == unequal && compare(w, u) == unequal) << size << " " << k;
            v[k] = 0.0;
            w[k] = -0.0;
            EXPECT_EQ(compare(v, w), equal) << size << " " << k;
            v[k] = kNaN;
            EXPECT_TRUE(compare(v, v) == unequal && compare(u, v) == unequal) << size << " " << k;
        }
    }
    const KoMatrix shapes[] = {KoMatrix(2, 3), KoMatrix(3, 2), KoMatrix(1, 6),
                               KoMatrix(0, 3), KoMatrix(3, 0), KoMatrix()};
    for (const KoMatrix& a : shapes) {
        for (const KoMatrix& b : shapes) {
            EXPECT_EQ(std::make_pair(a == b, a != b), &a == &b ? equal : unequal) << a << b;
        }
    }
    const KoLine line(1, 2, 3, 4);
    for (const KoLine& other : {KoLine(3, 4, 1, 2), KoLine(1, 2, 1, 2), KoLine(3, 4, 3, 4)}) {
        EXPECT_EQ(std::make_pair(line == other, line != other),
                  other[0][0] == 3 && other[1][1] == 2 ? equal : unequal);
    }
}

// Points and lines reduce an index modulo 2 (3 for KoPoint3D) to a non-negative remainder;
// polygons and triangles read vertex 0 for an index outside [0, size()), and at(i, j) reads x
// for j >= 2. The matrix classes check no index: k and (i, j) address element k and
// cols * i + j of the row-major buffer. Every form of an accessor reaches the same element.
TEST(IndexReduction, EveryAccessor) {
    const auto Remainder = [](long long i, int n) { return int((i % n + n) % n); };
    // The element that operator[], its const form and at() all reach, or null.
    const auto reached = [](auto& x, int i) {
        return &x[i] == &std::as_const(x)[i] && &x[i] == &x.at(i) ? &x[i] : nullptr;
    };
    const int indices[] = {INT_MIN, INT_MIN + 1, -7, -4, -3, -2, -1,          0,
                           1,       2,           3,  4,  5,  7,  INT_MAX - 1, INT_MAX};
    KoPoint p(1.5, 2.5);
    KoPoint3D q(1.5, 2.5, 3.5);
    KoLine line(1.5, 2.5, 3.5, 4.5);
    const std::vector<KoPoint> vertices = {{1, 2}, {11, 12}, {21, 22}, {31, 32}};
    KoPolygon polygon(vertices);
    KoTriangle triangle(vertices);
    for (int i : indices) {
        const int v = i >= 0 && i < 4 ? i : 0;
        EXPECT_EQ(reached(p, i), reinterpret_cast<double*>(&p) + Remainder(i, 2)) << i;
        EXPECT_EQ(reached(q, i), reinterpret_cast<double*>(&q) + Remainder(i, 3)) << i;
        EXPECT_EQ(reached(line, i), reinterpret_cast<KoPoint*>(&line) + Remainder(i, 2)) << i;
        EXPECT_TRUE(reached(polygon, i) == &polygon[0] + v && polygon[i] == vertices[v] &&
                    reached(triangle, i) == &triangle[0] + v)
            << i;
        for (int j : indices) {
            EXPECT_EQ(line.at(i, j), 1.5 + 2 * Remainder(i, 2) + Remainder(j, 2)) << i << " " << j;
            EXPECT_EQ(&polygon.at(i, j),
                      i == v ? &polygon[i][j >= 2 ? 0 : Remainder(j, 2)] : &polygon[0][0])
                << i << " " << j;
        }
    }
    KoMatrix m(2, 3);
    Matrix3x1 column(1, 2, 3);
    Matrix3x3 square;
    for (KoMatrix* x : {&m, static_cast<KoMatrix*>(&column), static_cast<KoMatrix*>(&square)}) {
        const KoMatrix& c = *x;
        for (int k = 0; k < c.ElementNum(); ++k) {
            const int i = k / c.ColumnSize(), j = k % c.ColumnSize();
            EXPECT_EQ(reached(*x, k), c.data() + k);
            EXPECT_TRUE(&x->at(i, j) == &c[k] && &(*x)(i, j) == &c[k] && &c.at(i, j) == &c[k] &&
                        &c(i, j) == &c[k]);
        }
    }
}

}  // namespace

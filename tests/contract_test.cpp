// SPDX-License-Identifier: MIT
// Contracts of whole families of members, as tables: the outputs of every operation with outputs,
// exact comparison by every == and !=, and the index rules of every accessor.
#include <kocalvix/complex.h>
#include <kocalvix/geometry.h>
#include <kocalvix/io.h>

#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <utility>

#include "support/operations_with_outputs.h"

namespace {
using namespace test_support;
using Values = std::vector<double>;
// Each operation on each input and refused input: fresh outputs; each output in turn wrapped with
// its result's shape or another, a Matrix3x3, the input, an earlier output; one buffer for all.
TEST(OutputContract, EveryOperationWithOutputs) {
    struct Input {  // Clang rejects a vector of KoMatrix (a non-virtual destructor)
        KoMatrix m;
    };
    // clang-format off
    std::vector<Input> inputs = {{KoMatrix({{4, 1, 2}, {-1, 3, 0}, {2, 2, 5}})},
        {KoMatrix({{1, 2}, {3, 4}, {5, 6}})}, {KoMatrix({{1, 0, 2}, {0, 2, 1}})}, {KoMatrix()},
        {KoMatrix(0, 3)}, {KoMatrix(3, 0)}};
    // clang-format on
    for (const OperationWithOutputs& op : kOperationsWithOutputs) {  // (none refused: 0 x 0 passes)
        EXPECT_EQ(Reference(op, op.call, inputs.emplace_back(Input{op.refused}).m).code, op.refusal)
            << op.name;
    }
    for (const OperationWithOutputs& op : kOperationsWithOutputs) {
        for (const auto& [input] : inputs) {
            const Reference reference(op, op.call, input);  // of either form, which act alike
            std::vector<Arrangement> all = {{}, {{}, 0}};   // all[1]: every object wraps at 0
            for (int k = 0; k < op.outputs(); ++k) {
                const int r = reference.rows[k], c = reference.cols[k];
                const Output each[] = {Output{Output::Wrapped, r, c, 64 * k},
                                       Output{Output::Wrapped, c, r + (r == c), 64 * k},
                                       Output{Output::Fixed}, Output{Output::Input}};
                all[1].out[k] = {Output::Wrapped, r, c, 0};
                for (int j = -4; j < k; ++j) {  // j >= 0: out[k] is out[j]
                    all.emplace_back().out[k] = j < 0 ? each[j + 4] : Output{Output::Same, 0, 0, j};
                }
            }
            for (const Arrangement& arrangement : all) {
                for (const Call call : {op.call, op.diagnosed}) {
                    EXPECT_EQ(call ? CheckOutputs(op, call, input, reference, arrangement) : "", "")
                        << op.name << (call == op.call ? "" : " (diagnostics)") << " of " << input;
                }
            }
        }
    }
}

// In every position in turn: one ulp up or down, -0 against +0, a NaN (unequal even to itself);
// == and != tell each case and agree. Other shapes are unequal, a line equals its reverse.
TEST(ExactComparison, EveryTypeWithEquality) {
    const std::pair<bool, bool> equal(true, false), unequal(false, true);
    const auto check = [&](int size, auto build) {
        const auto compare = [&](Values& u, Values& v) {
            const auto a = build(u), b = build(v);
            return &u == &v ? std::make_pair(a == a, a != a) : std::make_pair(a == b, a != b);
        };
        Values u(size);
        std::iota(u.begin(), u.end(), 1.5);
        EXPECT_EQ(compare(u, u), equal) << size;
        for (int k = 0; k < size; ++k) {
            Values v = u, w = u;
            v[k] = std::nextafter(u[k], kInf), w[k] = std::nextafter(u[k], -kInf);
            EXPECT_TRUE(compare(u, v) == unequal && compare(w, u) == unequal) << size << " " << k;
            v[k] = 0.0, w[k] = -0.0;
            EXPECT_EQ(compare(v, w), equal) << size << " " << k;
            v[k] = kNaN;
            EXPECT_TRUE(compare(v, v) == unequal && compare(u, v) == unequal) << size << " " << k;
        }
    };
    check(15, [](Values& v) { return KoMatrix(3, 5, v.data(), KoMatrix::DeepCopy); });
    check(17, [](Values& v) { return KoMatrix(1, 17, v.data(), KoMatrix::DeepCopy); });
    check(3, [](const Values& v) { return Matrix3x1(v[0], v[1], v[2]); });
    check(9, [](Values& v) { return Matrix3x3(v.data()); });
    check(2, [](const Values& v) { return KoPoint(v[0], v[1]); });
    check(4, [](const Values& v) { return KoLine(v[0], v[1], v[2], v[3]); });
    check(2, [](const Values& v) { return Complex(v[0], v[1]); });
    const KoMatrix shapes[] = {KoMatrix(2, 3), KoMatrix(3, 2), KoMatrix(1, 6),
                               KoMatrix(0, 3), KoMatrix(3, 0), KoMatrix()};
    for (int k = 0; k < 36; ++k) {
        const KoMatrix &a = shapes[k / 6], &b = shapes[k % 6];
        EXPECT_EQ(std::make_pair(a == b, a != b), &a == &b ? equal : unequal) << a << b;
    }
    const KoLine line(1, 2, 3, 4);
    for (const KoLine& other : {KoLine(3, 4, 1, 2), KoLine(1, 2, 1, 2), KoLine(3, 4, 3, 4)}) {
        EXPECT_EQ(std::make_pair(line == other, line != other),
                  other[0][0] == 3 && other[1][1] == 2 ? equal : unequal);
    }
}

// Points and lines reduce an index modulo 2 (3 for KoPoint3D) to a non-negative remainder;
// polygons and triangles read vertex 0 outside [0, size()), at(i, j) x for j >= 2; matrices check
// no index (k, (i, j): elements k, cols * i + j). Every form of an accessor reaches one element.
TEST(IndexReduction, EveryAccessor) {
    const auto Remainder = [](long long i, int n) { return int((i % n + n) % n); };
    const auto reached = [](auto& x, int i) {  // what [], const [] and at() all reach, or null
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
        SCOPED_TRACE(i);
        const int v = i >= 0 && i < 4 ? i : 0;
        EXPECT_EQ(reached(p, i), reinterpret_cast<double*>(&p) + Remainder(i, 2));
        EXPECT_EQ(reached(q, i), reinterpret_cast<double*>(&q) + Remainder(i, 3));
        EXPECT_EQ(reached(line, i), reinterpret_cast<KoPoint*>(&line) + Remainder(i, 2));
        EXPECT_TRUE(reached(polygon, i) == &polygon[0] + v && polygon[i] == vertices[v] &&
                    reached(triangle, i) == &triangle[0] + v);
        for (int j : indices) {
            EXPECT_EQ(line.at(i, j), 1.5 + 2 * Remainder(i, 2) + Remainder(j, 2)) << j;
            EXPECT_EQ(&polygon.at(i, j), &polygon[v][i == v && j < 2 ? Remainder(j, 2) : 0]) << j;
        }
    }
    KoMatrix m(2, 3);
    Matrix3x1 column(1, 2, 3);
    Matrix3x3 square;
    for (KoMatrix* x : {&m, static_cast<KoMatrix*>(&column), static_cast<KoMatrix*>(&square)}) {
        const KoMatrix& c = *x;
        for (int k = 0; k < c.ElementNum(); ++k) {
            const int i = k / c.ColumnSize(), j = k % c.ColumnSize();
            EXPECT_TRUE(reached(*x, k) == c.data() + k && &x->at(i, j) == &c[k] &&
                        &(*x)(i, j) == &c[k] && &c.at(i, j) == &c[k] && &c(i, j) == &c[k]);
        }
    }
}
}  // namespace

// SPDX-License-Identifier: MIT
// The decompositions against their literal forms (every reflection and rotation applied as a
// full product with the embedding identity), bit for bit, on matrices of many shapes and kinds:
// random, integer, rank-deficient, signed zeros, denormal, infinite, NaN, and values whose
// squares overflow or underflow, so that non-finite values appear part-way.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "linalg/literal_forms.h"
#include "matrix/KoMatrixImplement.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const std::vector<std::pair<int, int>> kShapes = {{0, 0}, {0, 3}, {3, 0}, {1, 1}, {1, 2},  {1, 4},
                                                  {2, 1}, {4, 1}, {2, 2}, {3, 3}, {5, 5},  {3, 5},
                                                  {4, 7}, {6, 3}, {7, 4}, {9, 9}, {12, 12}};
constexpr int kKinds = 11;

// A matrix of the given kind: 0 random, 1 small integers, 2 rank-deficient (last column and row
// copy the first), 3 half signed zeros, 4 denormal, 5 one infinity, 6 one NaN, 7 huge (squares
// overflow), 8 tiny (squares underflow), 9 an integer matrix with a zero first column, 10 an
// integer matrix whose last row is zero but for an infinity at its end (a row no rotation
// touches, whose infinity the full products still spread).
KoMatrixImplement MakeMatrix(int m, int n, int kind, std::mt19937& rng) {
    std::uniform_real_distribution<double> real(-1.0, 1.0);
    std::uniform_int_distribution<int> integer(-3, 3);
    KoMatrixImplement a(m, n);
    for (int k = 0; k < a.count; ++k) {
        const bool whole = kind == 1 || kind >= 9;
        a.data[k] = whole ? integer(rng) : real(rng);
        if (kind == 3 && rng() % 2 == 0) {
            a.data[k] = rng() % 2 == 0 ? 0.0 : -0.0;
        }
        if (kind == 4) {
            a.data[k] *= 1e-310;
        } else if (kind == 7) {
            a.data[k] *= 1e200;
        } else if (kind == 8) {
            a.data[k] *= 1e-170;
        }
    }
    if (kind == 2 && m > 1 && n > 1) {
        for (int i = 0; i < m; ++i) {
            a(i, n - 1) = a(i, 0);
        }
        for (int j = 0; j < n; ++j) {
            a(m - 1, j) = a(0, j);
        }
    }
    if (kind == 3 && a.count > 0) {
        a.data[0] = -0.0;
    }
    if ((kind == 5 || kind == 6) && a.count > 0) {
        a.data[rng() % a.count] = kind == 5 ? (rng() % 2 == 0 ? kInf : -kInf) : kNaN;
    }
    if (kind == 9) {
        for (int i = 0; i < m && n > 0; ++i) {
            a(i, 0) = rng() % 2 == 0 ? 0.0 : -0.0;
        }
    }
    if (kind == 10 && m > 0 && n > 0) {
        for (int j = 0; j < n; ++j) {
            a(m - 1, j) = j == n - 1 ? kInf : 0.0;
        }
    }
    return a;
}

// The symmetric matrix taking the upper triangle of a square matrix.
KoMatrixImplement Symmetrised(KoMatrixImplement a) {
    for (int i = 0; i < a.rows; ++i) {
        for (int j = 0; j < i; ++j) {
            a(i, j) = a(j, i);
        }
    }
    return a;
}

// Same shape and same bits, NaN payloads aside.
::testing::AssertionResult Same(const KoMatrixImplement& fast, const KoMatrixImplement& literal) {
    if (fast.rows != literal.rows || fast.cols != literal.cols) {
        return ::testing::AssertionFailure() << "shape " << fast.rows << "x" << fast.cols << " vs "
                                             << literal.rows << "x" << literal.cols;
    }
    for (int k = 0; k < fast.count; ++k) {
        const double x = fast.data[k];
        const double y = literal.data[k];
        if (std::memcmp(&x, &y, sizeof x) != 0 && !(std::isnan(x) && std::isnan(y))) {
            return ::testing::AssertionFailure() << "element " << k << ": " << x << " vs " << y;
        }
    }
    return ::testing::AssertionSuccess();
}

// A decomposition with three outputs: fills them and returns the code.
using Three = std::function<KoMatrixError(const KoMatrixImplement&, KoMatrixImplement&,
                                          KoMatrixImplement&, KoMatrixImplement&)>;

// Runs fast and literal on every shape, kind and a few seeds and compares all outputs. The
// eigen iteration's literal form is slow: `largest` bounds the dimensions it is given.
void CompareAll(const Three& fast, const Three& literal, bool symmetric, bool squareOnly,
                int largest = 12) {
    std::mt19937 rng(2024);
    for (const auto& [m, n] : kShapes) {
        if ((squareOnly && m != n) || m > largest || n > largest) {
            continue;
        }
        for (int kind = 0; kind < kKinds; ++kind) {
            for (int seed = 0; seed < 3; ++seed) {
                KoMatrixImplement a = MakeMatrix(m, n, kind, rng);
                if (symmetric && seed != 2) {
                    a = Symmetrised(a);
                }
                const std::string where = std::to_string(m) + "x" + std::to_string(n) + " kind " +
                                          std::to_string(kind) + " seed " + std::to_string(seed);
                KoMatrixImplement f1(1, 1), f2(2, 3), f3;
                KoMatrixImplement l1(1, 1), l2(2, 3), l3;
                ASSERT_EQ(fast(a, f1, f2, f3), literal(a, l1, l2, l3)) << where;
                ASSERT_TRUE(Same(f1, l1)) << where << ", first output";
                ASSERT_TRUE(Same(f2, l2)) << where << ", second output";
                ASSERT_TRUE(Same(f3, l3)) << where << ", third output";
            }
        }
    }
}

// The two-output QR methods as three-output functions (the third output unused).
Three QR(KoMatrixError (KoMatrixImplement::*member)(KoMatrixImplement&, KoMatrixImplement&) const) {
    return [member](const KoMatrixImplement& a, KoMatrixImplement& q, KoMatrixImplement& r,
                    KoMatrixImplement&) { return (a.*member)(q, r); };
}
Three QR(KoMatrixError (*literal)(const KoMatrixImplement&, KoMatrixImplement&,
                                  KoMatrixImplement&)) {
    return [literal](const KoMatrixImplement& a, KoMatrixImplement& q, KoMatrixImplement& r,
                     KoMatrixImplement&) { return literal(a, q, r); };
}

TEST(FastDecompositions, QRMethodsMatchTheirLiteralForms) {
    using namespace kocalvix;
    CompareAll(QR(&KoMatrixImplement::GramSchmidt), QR(literal::GramSchmidt), false, false);
    CompareAll(QR(&KoMatrixImplement::Householder), QR(literal::Householder), false, false);
    CompareAll(QR(&KoMatrixImplement::Givens), QR(literal::Givens), false, false);
}

TEST(FastDecompositions, BiDiagonalizeMatchesItsLiteralForm) {
    CompareAll([](const KoMatrixImplement& a, KoMatrixImplement& u, KoMatrixImplement& b,
                  KoMatrixImplement& v) { return a.BiDiagonalize(u, b, v); },
               kocalvix::literal::BiDiagonalize, false, false);
}

TEST(FastDecompositions, EigenMembersMatchTheirLiteralForms) {
    CompareAll([](const KoMatrixImplement& a, KoMatrixImplement& v, KoMatrixImplement& w,
                  KoMatrixImplement&) { return a.Eigen(v, w); },
               [](const KoMatrixImplement& a, KoMatrixImplement& v, KoMatrixImplement& w,
                  KoMatrixImplement&) { return kocalvix::literal::Eigen(a, v, w); },
               true, true, 9);
    CompareAll([](const KoMatrixImplement& a, KoMatrixImplement& v, KoMatrixImplement&,
                  KoMatrixImplement&) { return a.EigenValues(v); },
               [](const KoMatrixImplement& a, KoMatrixImplement& v, KoMatrixImplement&,
                  KoMatrixImplement&) { return kocalvix::literal::EigenValues(a, v); },
               false, true, 9);
}

TEST(FastDecompositions, SingularValueFormsMatchTheirLiteralForms) {
    using namespace kocalvix;
    CompareAll([](const KoMatrixImplement& a, KoMatrixImplement& u, KoMatrixImplement& s,
                  KoMatrixImplement& v) { return a.SVDDecomposition(u, s, v); },
               literal::SVDDecomposition, false, false, 9);
    CompareAll([](const KoMatrixImplement& a, KoMatrixImplement& u, KoMatrixImplement& s,
                  KoMatrixImplement& v) { return a.SubSVDDecomposition(u, s, v); },
               literal::SubSVDDecomposition, false, false, 9);
    // The inverse and the spectral norm, as results in the first output.
    CompareAll(
        [](const KoMatrixImplement& a, KoMatrixImplement& inverse, KoMatrixImplement&,
           KoMatrixImplement&) {
            inverse = a.Inv();
            return NoError;
        },
        [](const KoMatrixImplement& a, KoMatrixImplement& inverse, KoMatrixImplement&,
           KoMatrixImplement&) {
            inverse = literal::Inv(a);
            return NoError;
        },
        false, false, 9);
    CompareAll(
        [](const KoMatrixImplement& a, KoMatrixImplement& norm, KoMatrixImplement&,
           KoMatrixImplement&) {
            const double value = a.MatrixNorm(2);
            norm = KoMatrixImplement(1, 1, &value);
            return NoError;
        },
        [](const KoMatrixImplement& a, KoMatrixImplement& norm, KoMatrixImplement&,
           KoMatrixImplement&) {
            const double value = literal::MatrixNorm(a, 2);
            norm = KoMatrixImplement(1, 1, &value);
            return NoError;
        },
        false, false, 9);
}

TEST(FastDecompositions, MoveAssignmentKeepsTheWrappingRule) {
    double buffer[4] = {1.0, 2.0, 3.0, 4.0};
    KoMatrixImplement wrapped(2, 2, buffer, KoMatrixImplement::WrapTag{});
    const double values[6] = {5.0, 6.0, 7.0, 8.0, 9.0, 10.0};
    wrapped = KoMatrixImplement(3, 2, values);  // another shape: the buffer keeps its content
    EXPECT_EQ(buffer[0], 1.0);
    wrapped = KoMatrixImplement(2, 2, values);  // same shape: the buffer takes the elements
    EXPECT_TRUE(wrapped.data == buffer && buffer[3] == 8.0);
    KoMatrixImplement owning(1, 1);
    KoMatrixImplement source(3, 2, values);
    const double* taken = source.data;
    owning = std::move(source);
    EXPECT_TRUE(owning.data == taken && owning.rows == 3 && source.count == 0);
    owning = std::move(wrapped);  // a wrapped source is copied, never taken over
    EXPECT_TRUE(owning.data != buffer && owning(1, 1) == 8.0 && wrapped.data == buffer);
}

}  // namespace

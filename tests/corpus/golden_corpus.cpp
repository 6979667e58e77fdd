// SPDX-License-Identifier: MIT
// The golden corpus: every public operation (support/public_operations.h) run on a fixed set of
// inputs, each result reduced to a 64-bit digest of its exact bits, and compared with the digests
// stored in golden_corpus.txt. A platform, compiler, kernel path or thread count that changes a
// single bit of any result fails here and the report names the operation and the input.
//
//   golden_corpus FILE            compare with FILE (exit status 1 on any difference)
//   golden_corpus --write FILE    (re)write FILE from this build's results
//
// Only results the library defines identically everywhere are recorded: powers use the exponents
// 2, 0.5 and 1 only (other exponents go to the C library's pow, which may differ). NaN payloads
// are not part of a result: every NaN is recorded as one canonical NaN. The inputs come from a
// generator written out in support/ (not <random>'s distributions, whose algorithms differ
// between standard libraries), so they are the same bits everywhere. They are chosen so that
// faults show: edge cases of every algorithm, and enough values that a sum grouped another way
// does.
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../support/public_operations.h"

namespace {
using namespace test_support;

// The digests of one run: per operation, the digest of each input in the order they were run.
class Corpus {
  public:
    using Row = std::vector<std::pair<std::string, std::string>>;  // (input, digest)
    void Record(const std::string& operation, const std::string& input,
                const std::function<void(Digest&)>& run) {
        Digest d;
        run(d);
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(d.Value()));
        rows_[operation].emplace_back(input, hex);
    }
    const std::map<std::string, Row>& Rows() const { return rows_; }

  private:
    std::map<std::string, Row> rows_;
};

// ---- Inputs -------------------------------------------------------------------------------------

// A random matrix with every `step`-th element replaced by one of `values`.
KoMatrix Sprinkled(int rows, int cols, uint64_t seed, int step, std::vector<double> values) {
    KoMatrix m = Random(rows, cols, seed);
    Generator g(seed ^ (step == 2 ? 0xABCDEF : 0x123457));
    for (int k = 0; k < m.ElementNum(); k += step) {
        m[k] = values[g.Next() % values.size()];
    }
    return m;
}

// A symmetric tridiagonal matrix with a diagonal 1, 4, 9, ... (scaled) and small off-diagonal
// elements: its eigenvalues are well separated, so the eigen iteration converges within its step
// limit, and at a small scale the absolute convergence threshold decides when it stops.
KoMatrix Converging(int n, double scale) {
    KoMatrix m(n, n);
    for (int i = 0; i < n; ++i) {
        m(i, i) = scale * (i + 1) * (i + 1);
        if (i + 1 < n) {
            m(i, i + 1) = m(i + 1, i) = scale * 0.25;
        }
    }
    return m;
}

// Rows that are combinations of the first two (rank 2), or a zero column 1.
KoMatrix Deficient(int rows, int cols, uint64_t seed, bool zeroColumn) {
    KoMatrix m = Random(rows, cols, seed, 1.0, !zeroColumn);
    for (int i = zeroColumn ? 0 : 2; i < rows; ++i) {
        for (int j = zeroColumn ? 1 : 0; j < (zeroColumn ? 2 : cols); ++j) {
            m(i, j) = zeroColumn ? 0.0 : m(0, j) * (i - 1) - m(1, j) * (i % 3);
        }
    }
    return m;
}

std::vector<std::pair<std::string, KoMatrix>> Matrices() {
    const KoMatrix a = Random(6, 6, 11);
    // Finite extremes (signed zeros, denormals, magnitudes near the ends of the range); and
    // special values (infinities and NaN too).
    const std::vector<double> extreme = {0.0, -0.0, kDenormal, -kDenormal, 1e300, -1e-300, 1e-300},
                              special = {0.0,    -0.0,    kDenormal, -kDenormal, 1e300, -1e300,
                                         1e-300, -1e-300, kInf,      -kInf,      kNaN,  0.5};
    // clang-format off
    std::vector<std::pair<std::string, KoMatrix>> all = {
        {"empty 0x0", KoMatrix()}, {"empty 0x3", KoMatrix(0, 3)}, {"empty 3x0", KoMatrix(3, 0)},
        {"random 1x1", Random(1, 1, 1)}, {"random 2x2", Random(2, 2, 2)},
        {"random 3x3", Random(3, 3, 3)}, {"random 5x5", Random(5, 5, 4)},
        {"random 9x9", Random(9, 9, 5)}, {"random 17x17", Random(17, 17, 6)},
        {"wide 4x7", Random(4, 7, 7)}, {"tall 7x4", Random(7, 4, 8)},
        {"tall 19x6", Random(19, 6, 9)}, {"integer 6x6", Random(6, 6, 10, 1.0, true)},
        {"symmetric 6x6", a + a.Transpose()}, {"converging 5x5", Converging(5, 1.0)},
        {"converging small-scale 4x4", Converging(4, 1e-6)},
        {"rank-2 5x5", Deficient(5, 5, 12, false)}, {"rank-2 6x4", Deficient(6, 4, 13, false)},
        {"zeros 3x3", KoMatrix(3, 3)}, {"scaled 1e150 4x4", Random(4, 4, 14, 1e150)},
        {"scaled 1e-150 4x4", Random(4, 4, 15, 1e-150)},
        {"extreme 5x5", Sprinkled(5, 5, 16, 3, extreme)},
        {"special 4x4", Sprinkled(4, 4, 17, 2, special)},
        {"special 3x5", Sprinkled(3, 5, 18, 2, special)},
        {"zero column 5x4", Deficient(5, 4, 19, true)},
    };
    // clang-format on
    // Small matrices on the edges of the algorithms: zero bands, sign choices, skipped steps,
    // ties, dependent columns, repeated or inseparable eigenvalues, NaN and infinity, and near
    // the diagnostics' thresholds (a singular value ratio of 1e-8, a condition number of 2e11).
    const double nan = kNaN, inf = kInf;
    // clang-format off
    const std::vector<std::vector<std::vector<double>>> edges = {
        {{-3}}, {{-4e-12}}, {{-6e-12}}, {{3}, {4}}, {{-1}, {1e-20}}, {{1, 2, 3}, {0, -1, 4}},
        {{2, 1}, {0, -3}}, {{1, 0}, {1e-9, 1}}, {{0, 1}, {0, 2}, {0, 2}},
        {{-1, 2}, {0, 1}, {0, 1}}, {{1, 2, 3}, {0, 1, 1}, {2, -1, 1}, {1, 1, 2}},
        {{1e6, 2e6, 3e6}, {0, 1e6, 1e6}, {2e6, -1e6, 1e6}, {1e6, 1e6, 2e6}},
        {{1e-200, 1}, {-1e-200, 0}, {0, 1}}, {{1, 2, 0, 0}, {0, 3, 4, 0}, {0, 0, 5, 6}},
        {{-2, 0, 0}, {0, 3, 0}, {0, 0, -5}}, {{-7, 2, -1, 2}}, {{-1, -2}}, {{3, -4}, {4, -2}},
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 2}}, {{1, 0}, {0, 2}, {0, 0}}, {{1}, {1}, {0}},
        {{1, 2}, {2, 4}}, {{2, 1}, {1, 2}}, {{0, 1}, {1, 0}}, {{0, 1}, {-1, 0}}, {{0, -1}, {1, 1}},
        {{1, 1}, {-3, 0}}, {{2, 0}, {-2, 1}}, {{5e-12, 2, 4}, {0, 1, 1}}, {{1e-12, 0}, {0, 1}},
        {{1e-11, 0}, {0, 1}}, {{2e-11, 0}, {0, 1}}, {{1, 0}, {0, 1.00000000001}},
        {{4, 0}, {0, 1e-10}}, {{0, 0, 5}}, {{1, 0, 1}, {0, 1, 1}, {0, 0, 0}, {0, 0, 0}},
        {{1, 2}, {2 + 1e-15, 1}}, {{nan, 0}, {0, 1}}, {{1, nan, 2}, {3, 4, 5}}, {{nan, 1}, {2, 0}},
        {{5, 1}, {nan, 0}}, {{-inf, 1}}, {{2, 1, 1}, {1, 3, 2}, {1, 0, 0}},
        {{0.6, -0.8}, {0.8, 0.6}}, {{1, 0}, {0, 1e-8}}, {{1, 1}, {1, 1 + 2e-11}},
        // Values where a C library's pow(x, 2.0) or pow(x, 0.5) is one unit in the last place off.
        {{0x1.a0b26af381c72p+0, 0x1.f2f2d28920568p-1, 0x1.f15e192416235p-1, -0.0, -inf, 1e200}},
        {{0x1.cffcd8bab88b7p-1, 0x1.aaff9cf235d8p+0, 0x1.5c00f5de90a52p+0, 0.0, -0.0, inf, -1.0}},
        {{1, 2}, {3, nan}}  // NaN in the last row and column: the last sum of a running maximum
    };
    // clang-format on
    for (size_t k = 0; k < edges.size(); ++k) {
        all.emplace_back("edge " + std::to_string(k), KoMatrix(edges[k]));
    }
    return all;
}

void RecordMatrices(Corpus& c) {
    for (const auto& input : Matrices()) {
        for (const auto& operation : kMatrixOperations) {
            c.Record(operation.first, input.first,
                     [&](Digest& d) { operation.second(d, input.second); });
        }
    }
    // One product large enough to be split across threads and cache blocks.
    c.Record("KoMatrix product and Transpose", "random 300x280 times 280x310",
             [](Digest& d) { d << Random(300, 280, 91) * Random(280, 310, 90); });
    for (const auto& [name, run] : kConstructions) {
        c.Record(name, "-", run);
    }
}

// ---- Fixed-size matrices -----------------------------------------------------------------------

void RecordFixedSize(Corpus& c) {
    // clang-format off
    const std::vector<std::pair<std::string, Matrix3x1>> vectors = {
        {"random", Vector(31)}, {"large", Vector(32, 1e200)},
        {"special", Matrix3x1(-0.0, kInf, kNaN)},
        {"denormal", Matrix3x1(kDenormal, -kDenormal, 0.0)},
        {"ties", Matrix3x1(2.5, -0.125, 1.005)}, {"equal maxima", Matrix3x1(1, 1, -2)},
        {"equal minima", Matrix3x1(-2, 5, -2)}, {"signed zeros", Matrix3x1(0.0, -0.0, 0.0)},
        {"NaN between", Matrix3x1(1, kNaN, 0)}, {"NaN first", Matrix3x1(kNaN, -1, 2)},
        {"reshaped 4x1", Matrix3x1(1, 2, 3)}, {"reshaped random 4x1", Vector(34)},
        {"reshaped empty", Vector(35)}, {"reshaped by product", Vector(36)},
        {"reshaped flat", Vector(37)},
    };
    // clang-format on
    for (const auto& e : vectors) {
        c.Record("Matrix3x1 members", e.first,
                 [&](Digest& d) { Matrix3x1Members(d, e.second, e.first); });
    }
    // Many random values: a sum or product grouped another way shows on some of them.
    c.Record("Matrix3x1 members", "300 random pairs", [](Digest& d) {
        for (uint64_t k = 0; k < 300; ++k) {
            Matrix3x1 a = Vector(1000 + k), b = Vector(2000 + k, 100.0);
            d << a.RMSE(b) << a.Rounding(2) << (a * 1e3).Rounding(1) << a.HadamardPower(0.5);
        }
    });
    // clang-format off
    const std::vector<std::pair<std::string, Matrix3x3>> squares = {
        {"random", Square(41)}, {"singular", Matrix3x3(1, 2, 3, 4, 5, 6, 7, 8, 9)},
        {"identity", Matrix3x3::Identity()}, {"tiny determinant", Matrix3x3::Identity() * 1e-5},
        {"large", Square(42, 1e150)},
        {"special", Matrix3x3(-0.0, 1, kInf, 2, kNaN, 3, kDenormal, 4, 5)},
        {"ties",
         Matrix3x3(0.5, -1.5, 2.25, 0.125, -0.0625, 0.49999999999999994, 7.5, -8.5, 3e9 + 0.5)},
        {"equal extremes", Matrix3x3(1, 5, 5, -2, 0, -2, 3, 5, 1)},
        {"signed zeros", Matrix3x3(0.0, -0.0, 0.0, -0.0, 0.0, -0.0, 0.0, -0.0, 0.0)},
        {"NaN first", Matrix3x3(kNaN, 1, 2, 3, 4, 5, 6, 7, 8)}, {"reshaped 3x4", Square(45)},
        {"reshaped empty", Square(46)}, {"reshaped by product", Square(47)},
        {"reshaped flat", Square(48)},
    };
    // clang-format on
    for (const auto& e : squares) {
        c.Record("Matrix3x3 members", e.first,
                 [&](Digest& d) { Matrix3x3Members(d, e.second, e.first); });
    }
    c.Record("Matrix3x3 members", "300 random matrices", [](Digest& d) {
        for (uint64_t k = 0; k < 300; ++k) {
            Matrix3x3 a = Square(1000 + k), b = Square(2000 + k);
            d << a.Det() << a.Inv() << (a * b) << (a * Vector(3000 + k)) << a.RMSE(b) << (a ^ 2);
        }
    });
}

// ---- Geometry and complex numbers --------------------------------------------------------------

// n points drawn in order (arguments of one call are evaluated in no fixed order, so the draws
// are never written as arguments side by side): integers in -4 .. 4, or reals in -10 .. 10.
std::vector<KoPoint> Points(Generator& g, int n, bool integer) {
    std::vector<KoPoint> points;
    for (int k = 0; k < n; ++k) {
        const double x = integer ? g.Integer(-4, 4) : g.Uniform() * 10.0;
        const double y = integer ? g.Integer(-4, 4) : g.Uniform() * 10.0;
        points.emplace_back(x, y);
    }
    return points;
}

void RecordPoints(Corpus& c) {
    // Named triples (point, segment start, segment end): both ends, beyond either end, off the
    // line, a degenerate segment, a cross value that is not exactly zero, NaN; then random ones.
    // clang-format off
    std::vector<std::vector<double>> triples = {
        {0, 0, 0, 0, 2, 0}, {2, 0, 0, 0, 2, 0}, {1, 0, 0, 0, 2, 0}, {3, 0, 0, 0, 2, 0},
        {-1, 0, 0, 0, 2, 0}, {1, 1, 0, 0, 2, 0}, {1, 5, 0, 0, 2, 0}, {2, -7, 0, 0, 2, 0},
        {2.5, 0, 0, 0, 2, 0}, {-0.5, 3, 0, 0, 2, 0}, {100, 7, 4, -3, 4, -3}, {0.3, 0.1, 0, 0, 3, 1},
        {3, 1, 0, 0, 6, 2}, {kNaN, 0, 0, 0, 2, 0}, {1, 2, 1, 3, 0, 0}, {-0.0, 1, 0, 1, 0, 0}};
    // clang-format on
    Generator g(51);
    for (int round = 0; round < 40; ++round) {
        std::vector<double> t;
        for (const KoPoint& p : Points(g, 3, round % 2 == 0)) {
            t.insert(t.end(), {p[0], p[1]});
        }
        triples.push_back(t);
    }
    for (size_t k = 0; k < triples.size(); ++k) {
        const std::vector<double>& t = triples[k];
        const KoPoint p(t[0], t[1]), a(t[2], t[3]), b(t[4], t[5]);
        c.Record("KoPoint queries", "triple " + std::to_string(k),
                 [&](Digest& d) { PointQueries(d, p, a, b); });
    }
    c.Record("KoPoint and KoPoint3D arithmetic", "-", [](Digest& d) {
        const KoMatrix u = Random(1, 8, 52);
        const KoPoint p(u[0], u[1]), q(u[2], u[3]);
        const KoPoint3D r(u[4], u[5], u[6]), s(u[7], -0.0, kDenormal);
        KoPoint t(p);
        KoPoint3D w(r);
        t += q, t *= -0.5, t /= 3.0, t -= p, w += s, w *= 7.0, w /= -3.0, w -= s;
        d << (p + q) << (p - q) << (p * 0.3) << (p / 0.0) << t << (0.3 * p) << (-p) << (r + s)
          << (r - s) << (r * 0.3) << (r / 3.0) << w << (r < s) << (s < r) << (0.3 * r) << (-r);
        // The same coordinates in other orders: equal lengths but for the rounding of the sums.
        for (uint64_t k = 0; k < 200; ++k) {
            const KoMatrix v = Random(1, 3, 1000 + k);
            const KoPoint3D a(v[0], v[1], v[2]), b(v[1], v[2], v[0]), e(v[2], v[0], v[1]);
            d << (a < b) << (b < a) << (a < e) << (e < a) << (b < e) << (e < b);
        }
    });
}

void RecordLinesAndPolygons(Corpus& c) {
    // Segment pairs on the edges: touching ends, collinear overlaps in every arrangement,
    // parallel, reversed, degenerate, NaN; then random pairs, some the same segment or a point.
    // clang-format off
    std::vector<std::vector<double>> segments = {
        {0, 0, 2, 2, 0, 2, 2, 0}, {0, 0, 1, 0, 2, -1, 2, 1}, {0, 0, 1, 0, 0, 1, 1, 1},
        {0, 0, 1, 0, 1, 0, 1, 1}, {0, 0, 2, 0, 1, 0, 3, 0}, {0, 0, 1, 0, 1, 0, 2, 0},
        {0, 0, 1, 0, 2, 0, 3, 0}, {1, 1, 4, 4, 0, 0, 5, 5}, {5, 5, 0, 0, 1, 1, 4, 4},
        {0, 0, 3, 0, 3, 0, 2, 0}, {2, 0, 2, 0, 0, 0, 4, 0}, {1, 2, 3, 4, 3, 4, 1, 2},
        {2, 2, 2, 2, 7, -3, 7, -3}, {0, 0, 4, 4, 1, 1, 2, 2}, {0, 0, 1, 0, kNaN, 0, 1, 1},
        {0, 0, 4, 0, 1, 0, 2, 3}, {0, 0, 4, 0, 5, 0, 6, 1}, {0, 3, 0, 0, 0, 1, 0, 5}};
    // clang-format on
    Generator g(61);
    for (int round = 0; round < 60; ++round) {
        const std::vector<KoPoint> e = Points(g, 4, round % 3 != 0);
        const int kind = round % 10;  // 4: the same segment; 7: a segment of zero length
        const KoPoint& m0 = kind == 4 || kind == 7 ? e[0] : e[2];
        const KoPoint& m1 = kind == 4 ? e[1] : kind == 7 ? e[0] : e[3];
        segments.push_back({e[0][0], e[0][1], e[1][0], e[1][1], m0[0], m0[1], m1[0], m1[1]});
    }
    for (size_t k = 0; k < segments.size(); ++k) {
        const std::vector<double>& v = segments[k];
        KoLine l(v[0], v[1], v[2], v[3]), m(v[4], v[5], v[6], v[7]);
        c.Record("KoLine CheckSide LineIntersection SegmentIntersection",
                 "pair " + std::to_string(k), [&](Digest& d) { LinePair(d, l, m); });
    }
    // Polygons: concave, self-intersecting, collinear, repeated vertices, no area; then random.
    // clang-format off
    std::vector<std::vector<KoPoint>> polygons = {
        {{0, 0}, {4, 0}, {4, 3}, {2, 1}, {0, 3}}, {{0, 0}, {2, 2}, {2, 0}, {0, 2}},
        {{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {{1, 1}, {1, 1}, {3, 1}, {3, 4}, {1, 4}},
        {{4, 4}, {2, 4}, {5, 2}, {4, 0}, {2, 0}, {1, 2}},
        {{0.1, 0.7}, {3.3, 0.2}, {2.9, 2.6}, {1.7, 3.1}, {0.4, 2.2}, {-0.5, 1.1}, {0.2, 0.9}},
        {{1, 2}}, {}, {{0.1, 0}, {0.3, 0.2}, {0, 0.7}}, {{0, 0}, {2, 0}, {2, 2}, {1, 0.5}, {0, 2}},
        {{0, 0}, {1, 0}, {1, 1}, {2, 2}, {3, 2}}, {{3, 4}, {5, 1}}};
    // clang-format on
    Generator h(71);
    for (int round = 0; round < 30; ++round) {
        polygons.push_back(Points(h, 3 + round % 6, round % 2 == 0));
    }
    for (size_t k = 0; k < polygons.size(); ++k) {
        c.Record("KoPolygon IsNonSelfIntersection SortVertice Area", "polygon " + std::to_string(k),
                 [&](Digest& d) { PolygonMembers(d, polygons[k]); });
    }
    // Triangle pairs: identical, nested, the six-pointed star, touching at a vertex or along an
    // edge, point triangles inside and outside, a flat one, fewer vertices, NaN; then random.
    // clang-format off
    std::vector<std::vector<KoPoint>> pairs = {
        {{0, 0}, {1, 0}, {0, 1}, {0, 0}, {1, 0}, {0, 1}},
        {{0, 0}, {2, 0}, {0, 2}, {1, 0}, {3, 0}, {1, 2}},
        {{1, 1}, {2, 1}, {1, 2}, {0, 0}, {4, 0}, {0, 4}},
        {{0, 0}, {6, 0}, {3, 6}, {0, 4}, {6, 4}, {3, -2}},
        {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {2, 0}, {1, 1}},
        {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {0, 1}, {1, 1}},
        {{1, 1}, {1, 1}, {1, 1}, {0, 0}, {3, 0}, {0, 3}},
        {{5, 5}, {5, 5}, {5, 5}, {0, 0}, {3, 0}, {0, 3}},
        {{3, 0}, {3, 0}, {3, 0}, {0, 0}, {3, 0}, {0, 3}},
        {{-1, 1}, {1, 1}, {4, 1}, {0, 0}, {3, 0}, {0, 3}},
        {{0, 0}, {0, 1}, {1, 0}, {0, 0}, {1, 1}, {2, 2}},
        {{0, 0}, {0, 1}, {kNaN, 0}, {0.5, 0.5}, {0.2, 0.1}, {0.1, 0.3}},
        {{1, 1}, {1, 3}, {kNaN, 1}, {0, 0}, {5, 0}, {0, 5}},
        {{0, 0}, {5, 0}, {0, 5}, {1, 1}, {kNaN, 2}, {3, 1}}};

    // clang-format on
    Generator p(72);
    for (int round = 0; round < 60; ++round) {
        std::vector<KoPoint> v = Points(p, 6, round % 2 == 0);
        if (round % 15 == 3) {
            v.erase(v.begin() + 3, v.end()), v.insert(v.end(), {v[0], v[1], v[2]});
        }
        pairs.push_back(v);
    }
    pairs.push_back({{1, 1}, {0, 0}, {3, 0}, {0, 3}});  // triangles of one vertex and of none
    pairs.push_back({{0, 0}, {3, 0}, {0, 3}});
    for (size_t k = 0; k < pairs.size(); ++k) {
        const auto middle = pairs[k].end() - 3;  // the second triangle is the last three points
        KoTriangle a(std::vector<KoPoint>(pairs[k].begin(), middle));
        KoTriangle b(std::vector<KoPoint>(middle, pairs[k].end()));
        c.Record("KoTriangle CheckClockwise CalculatePolygonvertex CoverageArea",
                 "pair " + std::to_string(k), [&](Digest& d) { TrianglePair(d, a, b); });
    }
}

void RecordComplex(Corpus& c) {
    const KoMatrix u = Random(1, 4, 81);
    const std::vector<Complex> values = {
        Complex(u[0], u[1]), Complex(u[2] * 1e200, u[3]), Complex(-0.0, 0.0), Complex(kInf, 1.0),
        Complex(kNaN, 2.0),  Complex(kDenormal, -3.0),    Complex(3.0, 4.0)};
    for (size_t i = 0; i < values.size(); ++i) {
        c.Record("Complex arithmetic", "value " + std::to_string(i),
                 [&](Digest& d) { ComplexMembers(d, values, i); });
    }
    c.Record("Complex accessors and Calvix Version", "-", [](Digest& d) {
        Complex z;
        d << z;
        z.SetReal(-0.0), z.SetImage(kDenormal);
        int v[4] = {0, 0, 0, 0};
        Calvix::Version(v);
        d << z << z.GetReal() << z.GetImage() << Complex(z) << v[0] << v[1] << v[2] << v[3];
    });
}

// ---- The corpus file ----------------------------------------------------------------------------

constexpr const char* kHeader =
    "# KoCalvix golden corpus: one line per operation, <TAB>, then the 64-bit digest of its exact\n"
    "# results on each input, in the order golden_corpus.cpp runs them.\n"
    "# Regenerate with tools/update-corpus.sh only when a result changes on purpose.\n";

int Write(const std::string& path, const Corpus& c) {
    std::ofstream out(path, std::ios::binary);
    out << kHeader;
    for (const auto& [operation, row] : c.Rows()) {
        out << operation << "\t";
        for (size_t i = 0; i < row.size(); ++i) {
            out << (i == 0 ? "" : " ") << row[i].second;
        }
        out << "\n";
    }
    std::cout << "wrote " << c.Rows().size() << " operations to " << path << "\n";
    return out ? 0 : 2;
}

int Check(const std::string& path, const Corpus& c) {
    std::ifstream in(path, std::ios::binary);
    std::map<std::string, std::vector<std::string>> stored;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != '#') {
            std::istringstream digests(line.substr(line.rfind('\t') + 1));
            std::vector<std::string>& row = stored[line.substr(0, line.rfind('\t'))];
            for (std::string d; digests >> d;) {
                row.push_back(d);
            }
        }
    }
    int passed = 0, failed = stored.empty() ? 1 : 0;  // an unreadable file fails
    for (const auto& [operation, row] : c.Rows()) {
        const std::vector<std::string>& digests = stored[operation];
        for (size_t i = 0; i < row.size(); ++i) {
            const bool same = i < digests.size() && digests[i] == row[i].second;
            if (!same) {
                std::cout << "DIFFERS " << operation << "\t" << row[i].first << "\n";
            }
            ++(same ? passed : failed);
        }
    }
    for (const auto& [operation, digests] : stored) {  // digests this build did not compute
        if (c.Rows().count(operation) == 0 || c.Rows().at(operation).size() < digests.size()) {
            std::cout << "NOT COMPUTED " << operation << "\n";
            ++failed;
        }
    }
    std::cout << "golden corpus: " << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool write = argc == 3 && std::strcmp(argv[1], "--write") == 0;
    if (!write && (argc != 2 || argv[1][0] == '-')) {
        std::cerr << "usage: golden_corpus FILE | golden_corpus --write FILE\n";
        return 2;
    }
    Corpus c;
    RecordMatrices(c);
    RecordFixedSize(c);
    RecordPoints(c);
    RecordLinesAndPolygons(c);
    RecordComplex(c);
    return write ? Write(argv[2], c) : Check(argv[1], c);
}

// SPDX-License-Identifier: MIT
// libFuzzer target: the output contract (support/) on fuzzed inputs and outputs; the other matrix,
// fixed-size, geometry and complex operations sanitizer-clean, operands read before writing.
#include <kocalvix/complex.h>
#include <kocalvix/geometry.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "../support/operations_with_outputs.h"

namespace {
using namespace test_support;
#define REQUIRE(c) \
    (c) ? void() : (std::fprintf(stderr, "line %d broken: %s\n", __LINE__, #c), std::abort())

struct Reader {
    const std::uint8_t *data, *end;
    bool Done() const { return data >= end; }
    int Below(int n) { return int((data < end ? *data++ : 0u) % unsigned(n)); }
    int Index() {  // mostly small indices around a shape, sometimes the extremes of int
        const int b = Below(256), extremes[] = {INT_MIN, INT_MIN + 1, -1000, INT_MAX - 1, INT_MAX};
        return b < 240 ? b % 12 - 2 : extremes[b % 5];
    }
    double Value() {  // mostly special values, sometimes any bit pattern
        static const double kValues[] = {0.0,     -0.0,   1.0,   -1.0,   0.5,   2.0,     -7.25,
                                         1e-11,   -1e-11, 5e-12, 1e-300, 1e300, DBL_MAX, -DBL_MAX,
                                         DBL_MIN, 5e-324, kInf,  -kInf,  kNaN,  1e6,     0.1};
        std::uint64_t bits = Below(256);
        for (int i = 0; i < 8 && bits >= 224; ++i) {
            bits = bits << 8 | unsigned(Below(256));
        }
        double x;
        std::memcpy(&x, &bits, sizeof x);
        return bits < 224 ? kValues[bits % std::size(kValues)] : x;
    }
    KoMatrix Matrix(int rows, int cols) {  // a square one is symmetric now and then
        KoMatrix a(rows, cols);
        const bool symmetric = Below(2) == 0 && rows == cols;
        for (int k = 0; k < a.ElementNum(); ++k) {
            a[k] = symmetric && k % cols < k / cols ? a(k % cols, k / cols) : Value();
        }
        return a;
    }
};

void Outputs(Reader& in) {
    const auto& op = kOperationsWithOutputs[in.Below(std::size(kOperationsWithOutputs))];
    const Call call = op.diagnosed != nullptr && in.Below(4) == 0 ? op.diagnosed : op.call;
    const int m = in.Below(9), n = in.Below(9);
    const KoMatrix input = in.Matrix(m, n);
    const Reference ref(op, call, input);
    Arrangement arrangement{{}, in.Below(2) == 0 ? -1 : in.Below(kBufferSize - m * n + 1)};
    for (int k = 0; k < op.outputs(); ++k) {
        const int kind = in.Below(k > 0 ? 5 : 4), fits = in.Below(2) == 0;
        const int r = fits ? ref.rows[k] : in.Below(9), c = fits ? ref.cols[k] : in.Below(9),
                  at = kind == Output::Same ? in.Below(k) : in.Below(kBufferSize - r * c + 1);
        arrangement.out[k] = {Output::Kind(kind), r, c, at};
    }
    const std::string broken = CheckOutputs(op, call, input, ref, arrangement);
    REQUIRE(broken.empty() ||
            std::fprintf(stderr, "%s of %dx%d: %s\n", op.name, m, n, broken.data()) < 0);
}
// The other matrix members on an owning or a wrapping matrix and an operand, maybe itself.
void Matrices(Reader& in) {
    double buffer[64] = {};
    const int rows = in.Below(9), cols = in.Below(9), first = in.Index(), last = in.Index();
    const bool wraps = in.Below(2) == 0;
    KoMatrix a = wraps ? KoMatrix(rows, cols, buffer, KoMatrix::ShallowCopy) : KoMatrix(rows, cols);
    std::generate(a.begin(), a.end(), [&] { return in.Value(); });
    const KoMatrix other = in.Matrix(in.Below(9), in.Below(2) == 0 ? cols : in.Below(9));
    const KoMatrix& b = in.Below(4) == 0 ? a : other;
    const auto before = StateOf(a), source = StateOf(b);
    const bool same = a.IsSameDimension(b), fits = a.ColumnSize() == b.RowSize();
    int i = 0;  // a result of a's rows and b's columns, or a copy of a for unfit operands
    for (const KoMatrix& r : {a + b, a - b, a.HadamardProduct(b), a.HadamardDivision(b), a * b}) {
        REQUIRE((i++ < 4 ? same : fits)
                    ? r.RowSize() == a.RowSize() && r.ColumnSize() == b.ColumnSize()
                    : StateOf(r) == before);
    }
    int max = -2, min = -2;
    (void)(a.Max(max) + a.Min(min) + a.Max() + a.Min() + a.Trace() + a.Det() + a.Det(b) +
           a.ElementWiseNorm(in.Index()) + a.MatrixNorm(in.Below(5) - 1) + a.MatrixInfiniteNorm() +
           a.IsSpecialMatrix(KoMatrix::MatrixType(in.Below(8) - 1)));
    REQUIRE(a.Inv().IsSameDimension(a.Transpose()) && a.Rank() <= a.RowSize() &&
            a.GetRow(first, last).ColumnSize() == cols &&
            a.GetColumn(first, last).RowSize() == rows && StateOf(a) == before &&  // only read
            (a.ElementNum() > 0 ? std::min(max, min) >= 0 && std::max(max, min) < a.ElementNum()
                                : max == -1 && min == -1));
    const int e = in.Below(8);
    const KoMatrix expected[] = {
        wraps && !same ? a : b, same ? KoMatrix(b) + KoMatrix(a) : a,
        fits && (!wraps || b.RowSize() == b.ColumnSize()) ? KoMatrix(a) * KoMatrix(b) : a,
        KoMatrix(a) / (a.ElementNum() > 0 ? a[0] : 2.0)};
    if (e < 4) {  // /= reads its scalar once, though it is an element of a itself
        e == 0 ? a = b : e == 1 ? a += b : e == 2 ? a *= b : a /= a.ElementNum() > 0 ? a[0] : 2.0;
        REQUIRE(StateOf(a) == StateOf(expected[e]));
    } else {
        KoMatrixError (KoMatrix::*const edits[])(int, int, const KoMatrix&) = {
            &KoMatrix::SetRow, &KoMatrix::SetColumn, &KoMatrix::AddRow, &KoMatrix::AddColumn};
        const KoMatrixError code = (a.*edits[e - 4])(first, last, b);
        REQUIRE((e < 6 || !wraps || code == ExternalBuffer) &&  // refused edits change nothing
                (code == NoError ? a.RowSize() == int(before[0] + (e == 6 ? source[0] : 0)) &&
                                       a.ColumnSize() == int(before[1] + (e == 7 ? source[1] : 0))
                                 : StateOf(a) == before));
    }
    REQUIRE(!wraps || (a.RowSize() == rows && a.ColumnSize() == cols &&  // nothing past its end
                       (a.ElementNum() == 0 || a.data() == buffer) &&
                       std::count(buffer + rows * cols, buffer + 64, 0.0) == 64 - rows * cols));
}
// Fixed-size values, also after a reshape through the base, which they survive.
void FixedSize(Reader& in) {
    double e[9];
    std::generate(e, e + 9, [&] { return in.Value(); });
    Matrix3x3 f(e);
    Matrix3x1 v(e[0], e[4], e[8]);
    if (in.Below(4) == 0) {
        (in.Below(2) == 0 ? static_cast<KoMatrix&>(f) : v) = in.Matrix(in.Below(9), in.Below(9));
    }
    const Matrix3x3 copy(f);  // of the fixed shape even where f was reshaped
    const Matrix3x1 vCopy(v);
    const bool fixed = f.IsSameDimension(copy) && v.IsSameDimension(vCopy);
    int index = -1;
    (void)(f.Max(index) + v.Min() + f.Det() + f.RMSE(copy) + v.RMSE(vCopy) + f.Inv()[8] +
           (f * v)[2] + (f * in.Matrix(3, in.Below(9))).Trace() +
           (f ^ (in.Index() % 64)).Rounding(in.Index()).Transpose().HadamardDivision(f)[0]);
    f *= f, v += v;  // both operands read before anything is written
    REQUIRE(!fixed || (StateOf(f) == StateOf(copy * copy) && StateOf(v) == StateOf(vCopy + vCopy)));
    f.DiagFrom(v);
}

std::vector<Bits> VertexBits(const KoPolygon& p, bool sorted) {  // in order or sorted
    std::vector<Bits> v;
    for (int i = 0; i < p.size(); ++i) {
        v.push_back(StateOf(&p[i][0], 2));
    }
    std::sort(v.begin(), sorted ? v.end() : v.begin());
    return v;
}
void Geometry(Reader& in) {
    KoPoint p[11];
    std::generate(p, p + 11, [&] { return KoPoint(in.Value(), in.Value()); });
    KoPolygon polygon(p, in.Below(9));
    const auto vertices = VertexBits(polygon, true);
    REQUIRE(VertexBits(polygon.SortVertice(), true) == vertices && !(polygon.Area() < 0.0) &&
            (polygon.IsNonSelfIntersection() || polygon.size() > 3));
    KoTriangle t0(std::vector<KoPoint>(p, p + in.Below(5))), t1(p + 5);
    const auto before = VertexBits(t0, false), before1 = VertexBits(t1, false);
    REQUIRE(t0.CalculatePolygonvertex(t1).size() <= 15 && !(t0.CoverageArea(t1) < 0.0) &&
            std::abs(t1.CheckClockwise()) <= 1 && VertexBits(t0, false) == before &&
            VertexBits(t1, false) == before1);
    KoLine a(p[8], p[9]), b(p[10], p[8 + in.Below(2)]), c = a;
    KoPoint out = p[0], *const sentinel = new KoPoint[1], *array = sentinel;
    const int code = a.LineIntersection(b, out), found = a.SegmentIntersection(b, array);
    REQUIRE(code >= 0 && code <= 2 && (code == 1 || (out[0] == 0.0 && out[1] == 0.0)));
    REQUIRE(found >= 0 && found <= 2 && (found == 0) == (array == sentinel));
    delete[] array;
    KoPoint& own = c[in.Below(2)];  // the output point may be a point of the line itself
    REQUIRE(c.LineIntersection(b, own) == code && StateOf(&own[0], 2) == StateOf(&out[0], 2));
}

void Complexes(Reader& in) {
    Complex z(in.Value(), in.Value()), w(in.Value(), in.Value());
    const Complex& self = z;  // compound operators on the value itself
    (void)((z *= self, z /= self, z).Conjugate() + z * Complex(z.abs(), 0) - z / w);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, data + size};
    void (*const steps[])(Reader&) = {Outputs,  Outputs,   Outputs,  Outputs,
                                      Matrices, FixedSize, Geometry, Complexes};
    for (int step = 0; step < 64 && !in.Done(); ++step) {
        steps[in.Below(8)](in);
    }
    return 0;
}

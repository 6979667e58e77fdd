// SPDX-License-Identifier: MIT
// libFuzzer target: the output contract (support/) on fuzzed inputs and outputs; the shared table
// of the other operations on fuzzed operands, sanitizer-clean, operands read before writing.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "../support/public_operations.h"

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
// A table operation on an owning or a wrapping matrix, which it only reads; then an edit of it
// with an operand, maybe itself.
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
    Digest d;
    kMatrixOperations[in.Below(std::size(kMatrixOperations))].second(d, a);
    REQUIRE(a.GetRow(first, last).ColumnSize() == cols &&
            a.GetColumn(first, last).RowSize() == rows && StateOf(a) == before);
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
// Fixed-size values, also reshaped through the base; products and sums of a value with itself.
void FixedSize(Reader& in) {
    double e[9];
    std::generate(e, e + 9, [&] { return in.Value(); });
    const char* names[] = {"", "reshaped 3x4", "reshaped empty", "reshaped by product",
                           "reshaped flat"};
    Digest d;
    Matrix3x3 f(e);
    Matrix3x1 v(e[0], e[4], e[8]);
    Matrix3x3Members(d, f, names[in.Below(5)]), Matrix3x1Members(d, v, names[in.Below(5)]);
    d << (f ^ (in.Index() % 64)).Rounding(in.Index()) << v.Rounding(in.Index());
    const Matrix3x3 copy(f);
    const Matrix3x1 vCopy(v);
    f *= f, v += v;  // both operands read before anything is written
    REQUIRE(StateOf(f) == StateOf(copy * copy) && StateOf(v) == StateOf(vCopy + vCopy));
}

void Geometry(Reader& in) {
    std::vector<KoPoint> p(11);
    std::generate(p.begin(), p.end(), [&] { return KoPoint(in.Value(), in.Value()); });
    Digest d;
    PolygonMembers(d, std::vector<KoPoint>(p.begin(), p.begin() + in.Below(9)));
    KoTriangle t0(std::vector<KoPoint>(p.begin(), p.begin() + in.Below(5))), t1(p.data() + 5);
    KoLine a(p[8], p[9]), b(p[10], p[8 + in.Below(2)]);
    TrianglePair(d, t0, t1), LinePair(d, a, b);
    KoPoint out = p[0], *const sentinel = new KoPoint[1], *array = sentinel;
    const int code = a.LineIntersection(b, out), found = a.SegmentIntersection(b, array);
    REQUIRE(code >= 0 && code <= 2 && (code == 1 || (out[0] == 0.0 && out[1] == 0.0)));
    REQUIRE(found >= 0 && found <= 2 && (found == 0) == (array == sentinel));
    delete[] array;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, data + size};
    void (*const steps[])(Reader&) = {Outputs,  Outputs,   Outputs,  Outputs,
                                      Matrices, FixedSize, Geometry, Matrices};
    for (int step = 0; step < 64 && !in.Done(); ++step) {
        steps[in.Below(8)](in);
    }
    return 0;
}

// SPDX-License-Identifier: MIT
// libFuzzer target: the input bytes are decoded into a sequence of operations on a few
// matrices (owning ones, and ones wrapping overlapping parts of one caller buffer), fixed-size
// matrices, polygons, triangles, lines, points and complex numbers, with shapes 0..8 and
// extreme values and indices. Besides running clean under AddressSanitizer and UBSan, every
// operation is checked against what the headers promise: result shapes, refusals that leave
// their outputs untouched, wrapped buffers that never move and keep their content when a result
// of another shape is assigned, self-aliasing that reads operands as they were, and so on.
#include <kocalvix/complex.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/matrix.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

#define REQUIRE(condition)                                                                 \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "broken promise at line %d: %s\n", __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

// ---- Decoding ---------------------------------------------------------------------------------

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return position_ >= size_; }
    unsigned Byte() { return position_ < size_ ? data_[position_++] : 0u; }
    int Below(int n) { return static_cast<int>(Byte() % static_cast<unsigned>(n)); }
    int Shape() { return Below(9); }
    // Mostly small indices around a shape, sometimes the extremes of int.
    int Index() {
        static const int kExtreme[] = {INT_MIN, INT_MIN + 1, -1000, INT_MAX - 1, INT_MAX};
        const unsigned b = Byte();
        return b < 240 ? static_cast<int>(b % 12) - 2 : kExtreme[b % 5];
    }
    double Value() {
        static const double kValues[] = {0.0,
                                         -0.0,
                                         1.0,
                                         -1.0,
                                         0.5,
                                         2.0,
                                         3.0,
                                         -7.25,
                                         1e-11,
                                         -1e-11,
                                         5e-12,
                                         1e-300,
                                         1e300,
                                         DBL_MAX,
                                         -DBL_MAX,
                                         DBL_MIN,
                                         std::numeric_limits<double>::denorm_min(),
                                         HUGE_VAL,
                                         -HUGE_VAL,
                                         std::numeric_limits<double>::quiet_NaN(),
                                         1e6,
                                         0.1};
        const unsigned b = Byte();
        if (b < 224) {
            return kValues[b % (sizeof kValues / sizeof kValues[0])];
        }
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) {
            bits = bits << 8 | Byte();
        }
        double x;
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// ---- Bitwise states ---------------------------------------------------------------------------

using Bits = std::vector<std::uint64_t>;

void Append(Bits& b, double x) {
    std::uint64_t u;
    std::memcpy(&u, &x, sizeof u);
    b.push_back(u);
}

Bits Of(const KoMatrix& m) {
    REQUIRE(m.RowSize() >= 0 && m.ColumnSize() >= 0 &&
            static_cast<long long>(m.RowSize()) * m.ColumnSize() == m.ElementNum());
    Bits b{static_cast<std::uint64_t>(m.RowSize()), static_cast<std::uint64_t>(m.ColumnSize())};
    for (int k = 0; k < m.ElementNum(); ++k) {
        Append(b, m[k]);
    }
    return b;
}

Bits Of(const KoPolygon& p) {
    Bits b{static_cast<std::uint64_t>(p.size())};
    for (int i = 0; i < p.size(); ++i) {
        Append(b, p[i][0]);
        Append(b, p[i][1]);
    }
    return b;
}

Bits Of(const Complex& z) {
    Bits b;
    Append(b, z.GetReal());
    Append(b, z.GetImage());
    return b;
}

bool HasShape(const KoMatrix& m, long long rows, long long cols) {
    return m.RowSize() == rows && m.ColumnSize() == cols;
}

// ---- The objects ------------------------------------------------------------------------------

constexpr int kOwning = 4;
constexpr int kWrapping = 3;
constexpr int kSlots = kOwning + kWrapping;
constexpr int kBuffer = 96;

// A matrix wrapping `rows x cols` doubles of `buffer` from a decoded offset. Returned as a
// prvalue, so it is constructed in place and keeps wrapping (a copy would own its buffer).
KoMatrix Wrapping(double* buffer, Reader& in) {
    const int rows = in.Shape();
    const int cols = in.Shape();
    return KoMatrix(rows, cols, buffer + in.Below(kBuffer - 64 + 1), KoMatrix::ShallowCopy);
}

// The slots 0 .. kOwning-1 own their buffers; the others wrap parts of one buffer, which may
// overlap. (Arrays, not containers or smart pointers: Clang warns about destroying a class
// with virtual functions whose destructor is not virtual.)
struct World {
    explicit World(Reader& in)
        : wrapping{Wrapping(buffer, in), Wrapping(buffer, in), Wrapping(buffer, in)} {}
    double buffer[kBuffer] = {};
    KoMatrix owning[kOwning];
    KoMatrix wrapping[kWrapping];
    Matrix3x1 v[2];
    Matrix3x3 f[2];
    KoPolygon polygon[2];
    KoTriangle triangle[2];
    KoLine line[2];
    Complex z[2];
    KoPoint* segment = nullptr;

    ~World() { delete[] segment; }
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    bool Wraps(int slot) const { return slot >= kOwning; }
    KoMatrix& M(int slot) { return slot < kOwning ? owning[slot] : wrapping[slot - kOwning]; }
    bool IsWrapping(const KoMatrix& a) const {
        return std::any_of(wrapping, wrapping + kWrapping,
                           [&](const KoMatrix& x) { return &x == &a; });
    }
};

KoMatrix Filled(int rows, int cols, Reader& in) {
    KoMatrix a(rows, cols);
    for (int k = 0; k < a.ElementNum(); ++k) {
        a[k] = in.Value();
    }
    return a;
}

// ---- Operations -------------------------------------------------------------------------------

void MakeMatrix(World& w, Reader& in) {
    const int slot = in.Below(kSlots);
    if (!w.Wraps(slot)) {
        const int rows = in.Shape();
        const int cols = in.Shape();
        w.M(slot) = Filled(rows, cols, in);  // an owning target takes any shape
        REQUIRE(HasShape(w.M(slot), rows, cols));
        return;
    }
    KoMatrix& a = w.M(slot);
    for (int k = 0; k < a.ElementNum(); ++k) {
        a[k] = in.Value();
    }
    REQUIRE(a.ElementNum() == 0 || (&a[0] >= w.buffer && &a[0] < w.buffer + kBuffer));
}

// Assignment and the in-place forms, including an object with itself and overlapping buffers.
void InPlace(World& w, Reader& in) {
    KoMatrix& a = w.M(in.Below(kSlots));
    const KoMatrix& b = w.M(in.Below(kSlots));
    const Bits before = Of(a);
    const Bits source = Of(b);
    const double* address = a.ElementNum() > 0 ? &a[0] : nullptr;
    const bool wraps = w.IsWrapping(a);
    const bool sameShape = a.IsSameDimension(b);
    switch (in.Below(5)) {
        case 0:
            a = b;
            REQUIRE(Of(a) == (wraps && !sameShape ? before : source));
            break;
        case 1: {
            const KoMatrix expected = KoMatrix(a) + KoMatrix(b);
            a += b;
            if (!sameShape) {
                REQUIRE(Of(a) == before);
            } else if (&a == &b) {
                REQUIRE(Of(a) == Of(expected));
            }
            break;
        }
        case 2: {
            const KoMatrix copy(b);
            const bool fits =
                a.ColumnSize() == b.RowSize() && (!wraps || b.RowSize() == b.ColumnSize());
            const KoMatrix expected = KoMatrix(a) * copy;
            a *= b;
            REQUIRE(Of(a) == (fits ? Of(expected) : before));
            break;
        }
        case 3: {
            // The scalar forms read s once, so an element of the matrix itself may be passed.
            const bool ownElement = a.ElementNum() > 0 && in.Below(2) == 0;
            const double s = ownElement ? a[0] : in.Value();
            const KoMatrix expected = KoMatrix(a) / s;
            if (ownElement) {
                a /= a[0];
            } else {
                a /= s;
            }
            REQUIRE(Of(a) == Of(expected));
            break;
        }
        default:
            a.SmallElementToZero();
            a *= in.Value();
            REQUIRE(a.RowSize() == static_cast<int>(before[0]));
            break;
    }
    if (wraps) {
        REQUIRE(a.ElementNum() == 0 || &a[0] == address);  // a wrapped buffer never moves
    }
}

void ValueForms(World& w, Reader& in) {
    const KoMatrix& a = w.M(in.Below(kSlots));
    const KoMatrix& b = w.M(in.Below(kSlots));
    const Bits before = Of(a);
    const bool sameShape = a.IsSameDimension(b);
    const KoMatrix results[] = {a + b, a - b, a.HadamardProduct(b), a.HadamardDivision(b)};
    for (const KoMatrix& r : results) {
        REQUIRE(HasShape(r, a.RowSize(), a.ColumnSize()));
        if (!sameShape) {
            REQUIRE(Of(r) == before);
        }
    }
    const KoMatrix product = a * b;
    if (a.ColumnSize() == b.RowSize()) {
        REQUIRE(HasShape(product, a.RowSize(), b.ColumnSize()));
    } else {
        REQUIRE(Of(product) == before);
    }
    const KoMatrix t = a.Transpose();
    REQUIRE(HasShape(t, a.ColumnSize(), a.RowSize()) && Of(t.Transpose()) == before);
    REQUIRE((a == KoMatrix(a)) == (a == a));
    REQUIRE(HasShape(a.HadamardPower(in.Index()), a.RowSize(), a.ColumnSize()));
    REQUIRE(HasShape(a * in.Value(), a.RowSize(), a.ColumnSize()));
    REQUIRE(Of(a) == before);
}

bool RunInside(int first, int last, int size) {
    return first >= 0 && last < size && static_cast<long long>(last) >= first - 1LL;
}

void RowsAndColumns(World& w, Reader& in) {
    const int slot = in.Below(kSlots);
    KoMatrix& a = w.M(slot);
    const KoMatrix& source = w.M(in.Below(kSlots));
    const int first = in.Index();
    const int last = in.Index();
    const long long length = static_cast<long long>(last) - first + 1;
    const KoMatrix rows = a.GetRow(first, last);
    REQUIRE(RunInside(first, last, a.RowSize()) ? HasShape(rows, length, a.ColumnSize())
                                                : HasShape(rows, 0, a.ColumnSize()));
    const KoMatrix columns = a.GetColumn(first, last);
    REQUIRE(RunInside(first, last, a.ColumnSize()) ? HasShape(columns, a.RowSize(), length)
                                                   : HasShape(columns, a.RowSize(), 0));
    const Bits before = Of(a);
    const int sourceRows = source.RowSize();
    const int sourceCols = source.ColumnSize();
    KoMatrixError code = NoError;
    switch (in.Below(4)) {
        case 0:
            code = a.SetRow(first, last, source);
            REQUIRE(code == NoError || code == DimensionMismatch);
            REQUIRE(code != NoError || HasShape(a, before[0], before[1]));
            break;
        case 1:
            code = a.SetColumn(first, last, source);
            REQUIRE(code == NoError || code == DimensionMismatch);
            REQUIRE(code != NoError || HasShape(a, before[0], before[1]));
            break;
        case 2:
            code = a.AddRow(first, last, source);
            REQUIRE(!w.Wraps(slot) || code == ExternalBuffer);
            REQUIRE(code != NoError ||
                    HasShape(a, static_cast<long long>(before[0]) + sourceRows, before[1]));
            break;
        default:
            code = a.AddColumn(first, last, source);
            REQUIRE(!w.Wraps(slot) || code == ExternalBuffer);
            REQUIRE(code != NoError ||
                    HasShape(a, before[0], static_cast<long long>(before[1]) + sourceCols));
            break;
    }
    if (code != NoError) {
        REQUIRE(Of(a) == before);  // refused edits change nothing
    }
}

void Queries(World& w, Reader& in) {
    const KoMatrix& a = w.M(in.Below(kSlots));
    const Bits before = Of(a);
    int index = -2;
    a.Max(index);
    REQUIRE(a.ElementNum() > 0 ? index >= 0 && index < a.ElementNum() : index == -1);
    a.Min(index);
    REQUIRE(a.ElementNum() > 0 ? index >= 0 && index < a.ElementNum() : index == -1);
    const double norms[] = {a.Max(),
                            a.Min(),
                            a.Trace(),
                            a.ElementWiseInfiniteNorm(),
                            a.ElementWiseNorm(in.Index()),
                            a.MatrixInfiniteNorm(),
                            a.MatrixNorm(in.Below(5) - 1),
                            a.Det(),
                            a.Det(a)};
    REQUIRE(!(norms[3] < 0.0) && !(norms[5] < 0.0));
    const int rank = a.Rank();
    // Rows of the echelon form outside the zero band: at most one per row (a NaN that blocks a
    // pivot search can leave more rows than columns counted).
    REQUIRE(rank >= 0 && rank <= a.RowSize());
    const int kind = in.Below(8) - 1;
    const bool special = a.IsSpecialMatrix(static_cast<KoMatrix::MatrixType>(kind));
    REQUIRE(!special || (kind >= 0 && kind <= 5));
    REQUIRE(!special || a.RowSize() == a.ColumnSize());
    REQUIRE(Of(a) == before);  // queries only read
}

// Outputs of a decomposition: two or three distinct slots; `a` may be one of them only where
// the header allows it.
void Decompositions(World& w, Reader& in) {
    const int aSlot = in.Below(kSlots);
    int out[3];
    for (int i = 0; i < 3; ++i) {
        out[i] = (aSlot + 1 + i + in.Below(2) * 3) % kSlots;
    }
    if (out[0] == out[1] || out[1] == out[2] || out[0] == out[2]) {
        return;
    }
    KoMatrix& U = w.M(out[0]);
    KoMatrix& S = w.M(out[1]);
    KoMatrix& V = w.M(out[2]);
    const KoMatrix a(w.M(aSlot));  // a copy: outputs never alias it here
    const long long m = a.RowSize();
    const long long n = a.ColumnSize();
    const long long p = std::min(m, n);
    const Bits before[3] = {Of(U), Of(S), Of(V)};
    auto untouched = [&] { return Of(U) == before[0] && Of(S) == before[1] && Of(V) == before[2]; };
    const int which = in.Below(7);
    KoMatrixError code = NoError;
    switch (which) {
        case 0: {
            const int method = in.Below(5) - 1;
            // The header allows Q or R to be the factored matrix itself.
            KoMatrix& A = w.M(aSlot);
            const bool self = in.Below(4) == 0;
            KoMatrix& Q = self ? A : U;
            code = A.QRDecomposition(Q, S, static_cast<KoMatrix::QRMethod>(method));
            if (code == InvalidMethod) {
                REQUIRE((method < 0 || method > 2) && Of(S) == before[1]);
            } else if (code == NoError) {
                REQUIRE(method == 0 ? HasShape(Q, m, n) && HasShape(S, n, n)
                                    : HasShape(Q, m, m) && HasShape(S, m, n));
            } else {
                REQUIRE(code == SingularMatrix || code == ExternalBuffer);
                REQUIRE(Of(S) == before[1] && (self || Of(U) == before[0]));
            }
            return;
        }
        case 1:
            code = a.BiDiagonalize(U, S, V);
            REQUIRE(code == NoError ? HasShape(U, m, m) && HasShape(S, m, n) && HasShape(V, n, n)
                                    : code == ExternalBuffer && untouched());
            return;
        case 2:
            code = a.EigenValues(U);
            REQUIRE(code == NoError
                        ? m == n && HasShape(U, n, 1)
                        : (code == DimensionMismatch || code == ExternalBuffer) && untouched());
            return;
        case 3:
            code = a.Eigen(U, S);
            REQUIRE(code == NoError
                        ? HasShape(U, n, 1) && HasShape(S, n, n)
                        : (code == NotSymmetric || code == ExternalBuffer) && untouched());
            return;
        case 4:
            code = a.SVDDecomposition(U, S, V);
            REQUIRE(code == NoError
                        ? HasShape(U, m, m) && HasShape(S, m, n) && HasShape(V, n, n)
                        : (code == NotSymmetric || code == ExternalBuffer) && untouched());
            return;
        case 5:
            code = a.SubSVDDecomposition(U, S, V);
            REQUIRE(code == NoError
                        ? HasShape(U, m, p) && HasShape(S, p, p) && HasShape(V, n, p)
                        : (code == NotSymmetric || code == ExternalBuffer) && untouched());
            REQUIRE(HasShape(a.Inv(), n, m));
            return;
        default: {
            // The solver refuses unfit operands and outputs; the other members assign, so an
            // output wrapping a buffer of another shape keeps its content.
            const KoMatrix& rhs = w.M((aSlot + 3) % kSlots);
            code = a.GaussElimination(rhs, U, S);
            if (code == DimensionMismatch || code == ExternalBuffer) {
                REQUIRE(untouched());
            } else {
                REQUIRE((code == NoError) == (m == n));
                REQUIRE(code == NotSquare || code == NoError);
                REQUIRE(HasShape(U, m, 1) && HasShape(S, m, n));
            }
            KoMatrix echelon;
            REQUIRE(a.GaussElimination(echelon) == NoError);
            REQUIRE(HasShape(echelon, m, n));
            // V is read again just before: U and S may wrap parts of the buffer it wraps.
            const Bits vBeforeEchelon = Of(V);
            REQUIRE(a.GaussElimination(V) == NoError);
            REQUIRE(Of(V) ==
                    (V.IsSameDimension(a) || !w.Wraps(out[2]) ? Of(echelon) : vBeforeEchelon));
            KoMatrix basis;
            REQUIRE(a.Rank(basis) == a.Rank());
            const Bits vBefore = Of(V);
            a.Rank(V);
            REQUIRE(Of(V) == (V.IsSameDimension(basis) || !w.Wraps(out[2]) ? Of(basis) : vBefore));
            return;
        }
    }
}

void FixedSize(World& w, Reader& in) {
    Matrix3x1& v = w.v[in.Below(2)];
    Matrix3x3& f = w.f[in.Below(2)];
    switch (in.Below(6)) {
        case 0: {
            double values[9];
            for (double& x : values) {
                x = in.Value();
            }
            f = Matrix3x3(values);
            v = Matrix3x1(values[0], values[4], values[8]);
            break;
        }
        case 1: {
            // A fixed-size object reshaped through its base stays usable.
            KoMatrix& base = in.Below(2) == 0 ? static_cast<KoMatrix&>(f) : v;
            base = w.M(in.Below(kSlots));
            break;
        }
        case 2: {
            if (!HasShape(f, 3, 3) || !HasShape(v, 3, 1)) {
                break;  // reshaped objects read as zeros; their in-place members do nothing
            }
            const Matrix3x3 copy(f);
            const Matrix3x3 expected = copy * copy;
            f *= f;
            REQUIRE(Of(f) == Of(expected));
            const Matrix3x1 vCopy(v);
            const Matrix3x1 vExpected = vCopy + vCopy;
            v += v;
            REQUIRE(Of(v) == Of(vExpected));
            break;
        }
        case 3: {
            // A power multiplies n - 1 times, as documented: extreme n would only spend time.
            const int n = in.Index() % 64;
            const Matrix3x3 power = f ^ n;
            if (!HasShape(f, 3, 3) || !HasShape(v, 3, 1)) {
                break;
            }
            if (n <= 1) {
                REQUIRE(Of(power) == Of(f));
            }
            const int digits = in.Index();
            if (digits < 0) {
                REQUIRE(Of(f.Rounding(digits)) == Of(f) && Of(v.Rounding(digits)) == Of(v));
            }
            break;
        }
        case 4: {
            const Matrix3x3 inverse = f.Inv();
            REQUIRE(inverse.ElementNum() == 9);
            const KoMatrix& other = w.M(in.Below(kSlots));
            const KoMatrix product = f * other;
            REQUIRE(other.RowSize() == f.ColumnSize() ? product.ColumnSize() == other.ColumnSize()
                                                      : Of(product) == Of(KoMatrix(f)));
            break;
        }
        default: {
            int index = -1;
            f.Max(index);
            v.Min(index);
            const Matrix3x1 y = f * v;
            REQUIRE(y.ElementNum() == 3);
            v.HadamardPower(in.Value());
            f.HadamardDivision(f);
            f.DiagFrom(v);
            break;
        }
    }
}

std::vector<KoPoint> Points(Reader& in, int count) {
    std::vector<KoPoint> points;
    for (int i = 0; i < count; ++i) {
        const double x = in.Value();
        points.emplace_back(x, in.Value());
    }
    return points;
}

Bits Sorted(Bits b) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> vertices;
    for (std::size_t i = 1; i + 1 < b.size(); i += 2) {
        vertices.emplace_back(b[i], b[i + 1]);
    }
    std::sort(vertices.begin(), vertices.end());
    Bits sorted{b[0]};
    for (const auto& v : vertices) {
        sorted.push_back(v.first);
        sorted.push_back(v.second);
    }
    return sorted;
}

void Geometry(World& w, Reader& in) {
    KoPolygon& polygon = w.polygon[in.Below(2)];
    KoTriangle& t0 = w.triangle[in.Below(2)];
    KoTriangle& t1 = w.triangle[in.Below(2)];
    switch (in.Below(5)) {
        case 0:
            polygon = KoPolygon(Points(in, in.Shape()));
            break;
        case 1: {
            const Bits before = Of(polygon);
            polygon.SortVertice();
            REQUIRE(Sorted(Of(polygon)) == Sorted(before));
            REQUIRE(!(polygon.Area() < 0.0));
            polygon.IsNonSelfIntersection();
            const int i = in.Index();
            if (polygon.size() > 0 && (i < 0 || i >= polygon.size())) {
                REQUIRE(&polygon[i] == &polygon[0] && &polygon.at(i, in.Index()) == &polygon[0][0]);
            }
            polygon = w.polygon[in.Below(2)];
            break;
        }
        case 2:
            if (in.Below(2) == 0) {
                const double x0 = in.Value(), y0 = in.Value(), x1 = in.Value();
                const double y1 = in.Value(), x2 = in.Value(), y2 = in.Value();
                t0 = KoTriangle(x0, y0, x1, y1, x2, y2);
            } else {
                t0 = KoTriangle(Points(in, in.Below(5)));
            }
            break;
        case 3: {
            const Bits before0 = Of(t0);
            const Bits before1 = Of(t1);
            const KoPolygon overlap = t0.CalculatePolygonvertex(t1);
            REQUIRE(overlap.size() >= 0 && overlap.size() <= 15);
            REQUIRE(!(t0.CoverageArea(t1) < 0.0));
            const int turn = t0.CheckClockwise();
            REQUIRE(turn >= -1 && turn <= 1);
            REQUIRE(Of(t0) == before0 && Of(t1) == before1);
            break;
        }
        default: {
            KoLine& a = w.line[in.Below(2)];
            KoLine& b = w.line[in.Below(2)];
            if (in.Below(2) == 0) {
                const std::vector<KoPoint> points = Points(in, 2);
                a = KoLine(points);
            }
            const double x = in.Value();
            KoPoint out(x, in.Value());
            const int code = a.LineIntersection(b, out);
            REQUIRE(code >= 0 && code <= 2);
            REQUIRE(code == 1 || (out[0] == 0.0 && out[1] == 0.0));
            KoPoint* const previous = w.segment;
            const int segments = a.SegmentIntersection(b, w.segment);
            REQUIRE(segments >= 0 && segments <= 2);
            REQUIRE(segments == 0 ? w.segment == previous : w.segment != nullptr);
            if (segments == 2) {
                REQUIRE(!(w.segment[1] < w.segment[1]));
            }
            const int side = a.CheckSide(out);
            REQUIRE(side >= -1 && side <= 1);
            const int i = in.Index();
            REQUIRE(&a[i] == &a[((i % 2) + 2) % 2] && &out[i] == &out[((i % 2) + 2) % 2]);
            break;
        }
    }
}

void Complexes(World& w, Reader& in) {
    Complex& z = w.z[in.Below(2)];
    const double re = in.Value();
    z = Complex(re, in.Value());
    const Complex copy(z);
    Complex expected;
    switch (in.Below(4)) {
        case 0:
            expected = copy * copy;
            z *= static_cast<const Complex&>(z);
            break;
        case 1:
            expected = copy / copy;
            z /= static_cast<const Complex&>(z);
            break;
        case 2:
            expected = copy + copy;
            z += static_cast<const Complex&>(z);
            break;
        default:
            expected = copy - copy;
            z -= static_cast<const Complex&>(z);
            break;
    }
    REQUIRE(Of(z) == Of(expected));  // a compound operator reads both operands first
    const Complex before(z);
    z.Conjugate();
    z.abs();
    REQUIRE(Of(z) == Of(before));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    World w(in);
    for (int step = 0; step < 64 && !in.Done(); ++step) {
        switch (in.Below(8)) {
            case 0:
                MakeMatrix(w, in);
                break;
            case 1:
                InPlace(w, in);
                break;
            case 2:
                ValueForms(w, in);
                break;
            case 3:
                RowsAndColumns(w, in);
                break;
            case 4:
                Queries(w, in);
                break;
            case 5:
                Decompositions(w, in);
                break;
            case 6:
                FixedSize(w, in);
                break;
            default:
                in.Below(2) == 0 ? Geometry(w, in) : Complexes(w, in);
                break;
        }
    }
    return 0;
}

// SPDX-License-Identifier: MIT
// Every public operation as runs that feed their exact results into a Digest, on operands the
// caller chooses: the golden corpus runs them on its fixed inputs and keeps the digests, the fuzz
// target on fuzzed operands, the allocation-failure sweep with allocations failing.
#ifndef KOCALVIX_TESTS_SUPPORT_PUBLIC_OPERATIONS_H
#define KOCALVIX_TESTS_SUPPORT_PUBLIC_OPERATIONS_H

#include <kocalvix/complex.h>
#include <kocalvix/geometry.h>

#include <cstdio>
#include <string>
#include <utility>

#include "operations_with_outputs.h"

namespace test_support {
constexpr double kDenormal = 4.9406564584124654e-324 * 12345.0;

// FNV-1a over 64-bit words, byte by byte from the least significant, so the digest does not
// depend on the platform's byte order.
class Digest {
  public:
    Digest& Word(uint64_t w) {
        for (int b = 0; b < 8; ++b) {
            hash_ = (hash_ ^ ((w >> (8 * b)) & 0xFF)) * 0x100000001B3ull;
        }
        return *this;
    }
    Digest& operator<<(double x) {
        uint64_t bits = 0x7FF8000000000000ull;
        if (!std::isnan(x)) {
            std::memcpy(&bits, &x, sizeof bits);
        }
        return Word(bits);
    }
    Digest& operator<<(long long v) { return Word(static_cast<uint64_t>(v)); }
    Digest& operator<<(int v) { return *this << static_cast<long long>(v); }
    Digest& operator<<(bool v) { return *this << static_cast<long long>(v ? 1 : 0); }
    Digest& operator<<(const KoPoint& p) { return *this << p.at(0) << p.at(1); }
    Digest& operator<<(const KoPoint3D& p) { return *this << p.at(0) << p.at(1) << p.at(2); }
    Digest& operator<<(const Complex& c) { return *this << c.GetReal() << c.GetImage(); }
    Digest& operator<<(const KoMatrix& m) {
        *this << m.RowSize() << m.ColumnSize();
        for (int k = 0; k < m.ElementNum(); ++k) {
            *this << m.at(k);
        }
        return *this;
    }
    Digest& operator<<(const KoPolygon& p) {
        *this << p.size();
        for (int i = 0; i < p.size(); ++i) {
            *this << p.at(i);
        }
        return *this;
    }
    uint64_t Value() const { return hash_; }

  private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

// splitmix64: a fixed sequence of 64-bit values; Uniform() maps the top 53 bits exactly onto
// [-1, 1).
class Generator {
  public:
    explicit Generator(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1p-52 - 1.0; }
    int Integer(int lo, int hi) { return lo + static_cast<int>(Next() % (hi - lo + 1)); }

  private:
    uint64_t state_;
};

// Uniform values times `scale`; with `integers`, whole numbers in -9 .. 9.
inline KoMatrix Random(int rows, int cols, uint64_t seed, double scale = 1.0,
                       bool integers = false) {
    Generator g(seed);
    KoMatrix m(rows, cols);
    for (double& x : m) {
        x = integers ? g.Integer(-9, 9) : g.Uniform() * scale;
    }
    return m;
}

// ---- Dense matrices ----------------------------------------------------------------------------

// A second operand of a's shape, and one of another shape (the unfit-operand rules).
inline KoMatrix Fit(const KoMatrix& a) {
    return Random(a.RowSize(), a.ColumnSize(), 99) * 3.0;
}
inline const KoMatrix kUnfit = Random(2, 3, 98);
constexpr double kScalar = 0.7071;

// clang-format off
inline const std::pair<const char*, void (*)(Digest&, const KoMatrix&)> kMatrixOperations[] = {
    {"KoMatrix + - += -= Hadamard, fit and unfit operands", [](Digest& d, const KoMatrix& a) {
        for (const KoMatrix& o : {Fit(a), kUnfit}) {
            KoMatrix t(a), u(a);
            t += o, u -= o;
            d << (a + o) << (a - o) << t << u << a.HadamardProduct(o) << a.HadamardDivision(o)
              << o.HadamardDivision(a) << (a == o) << (a != o) << a.IsSameDimension(o);
        }
        d << (a == a) << (a != a);
    }},
    {"KoMatrix scalar forms", [](Digest& d, const KoMatrix& a) {
        const double s = kScalar;
        KoMatrix t(a);
        d << (a + s) << (a - s) << (a * s) << (a / s) << (a / 0.0) << (s + a) << (s - a)
          << (s * a) << (-a);
        t += s, d << t, t -= s, d << t, t *= s, d << t, t /= s, d << t;
    }},
    {"KoMatrix HadamardPower 2, 0.5, 1", [](Digest& d, const KoMatrix& a) {
        d << a.HadamardPower(2) << a.HadamardPower(2.0) << a.HadamardPower(0.5)
          << a.HadamardPower(1) << a.HadamardPower(1.0);
    }},
    {"KoMatrix SmallElementToZero Trace Max Min ToVec", [](Digest& d, const KoMatrix& a) {
        int i = -7, j = -7;
        KoMatrix t = a * 1e-11 + 1e-12;
        d << t.SmallElementToZero() << a.Trace() << a.Max() << a.Max(i) << i << a.Min()
          << a.Min(j) << j;
        for (const std::vector<double>& row : a.ToVec()) {
            d << static_cast<int>(row.size());
            for (double x : row) {
                d << x;
            }
        }
    }},
    {"KoMatrix product and Transpose", [](Digest& d, const KoMatrix& a) {
        KoMatrix t(a), u(a);
        t *= Random(a.ColumnSize(), a.ColumnSize(), 96), u *= u;
        d << (a * Random(a.ColumnSize(), 5, 97)) << (a * a.Transpose()) << (a.Transpose() * a)
          << (a * a) << t << u << a.Transpose();
    }},
    {"KoMatrix GetRow GetColumn SetRow SetColumn AddRow AddColumn",
     [](Digest& d, const KoMatrix& a) {
        const int rows = a.RowSize(), cols = a.ColumnSize();
        d << a.GetRow(0, rows - 1) << a.GetRow(rows / 2, rows - 1) << a.GetRow(1, 0)
          << a.GetColumn(0, cols - 1) << a.GetColumn(cols / 2, cols / 2) << a.GetColumn(0, cols);
        const KoMatrix row = Random(1, cols, 95), column = Random(rows, 2, 94);
        KoMatrix t(a);
        d << t.SetRow(rows - 1, rows - 1, row) << t << t.SetColumn(0, 1, column) << t;
        d << t.AddRow(rows, rows, row) << t << t.AddColumn(1, 2, Random(t.RowSize(), 2, 93)) << t;
        d << t.SetRow(0, 2, row) << t;  // a range the source does not fill
        // Refusals: a source one column or row too many, a run one past the end.
        const KoMatrix wide = Random(1, t.ColumnSize() + 1, 92),
                       tall = Random(t.RowSize() + 1, 1, 91);
        d << t.SetRow(0, 0, wide) << t.SetColumn(0, 0, tall) << t.AddRow(0, 0, wide)
          << t.AddColumn(0, 0, tall) << t;
        d << t.SetRow(t.RowSize() - 1, t.RowSize(), Random(2, t.ColumnSize(), 90))
          << t.SetColumn(t.ColumnSize() - 1, t.ColumnSize(), Random(t.RowSize(), 2, 89)) << t;
    }},
    {"KoMatrix norms and IsSpecialMatrix", [](Digest& d, const KoMatrix& a) {
        d << a.ElementWiseInfiniteNorm() << a.ElementWiseNorm(1) << a.ElementWiseNorm(2)
          << a.MatrixInfiniteNorm() << a.MatrixNorm(1) << a.MatrixNorm(2) << a.MatrixNorm(3);
        for (int kind = 0; kind <= 6; ++kind) {
            d << a.IsSpecialMatrix(static_cast<KoMatrix::MatrixType>(kind));
        }
    }},
    {"KoMatrix GaussElimination Rank Det", [](Digest& d, const KoMatrix& a) {
        KoMatrix echelon, solution, reduced, basis;
        d << a.GaussElimination(echelon) << echelon;
        d << a.GaussElimination(Random(a.RowSize(), 1, 92), solution, reduced) << solution
          << reduced;  // then a right-hand side of two columns: refused
        d << a.GaussElimination(Random(a.RowSize(), 2, 88), solution, reduced) << solution
          << reduced;
        d << a.Rank() << a.Rank(basis) << basis << a.Det() << a.Det(a);
    }},
    {"KoMatrix QRDecomposition, methods 0 to 3", [](Digest& d, const KoMatrix& a) {
        for (int method = 0; method <= 3; ++method) {
            KoMatrix q, r;
            d << a.QRDecomposition(q, r, static_cast<KoMatrix::QRMethod>(method)) << q << r;
        }
    }},
    {"KoMatrix BiDiagonalize SVDDecomposition SubSVDDecomposition Inv",
     [](Digest& d, const KoMatrix& a) {
        KoMatrix u, b, v, su, s, sv;
        d << a.BiDiagonalize(u, b, v) << u << b << v << a.SVDDecomposition(u, s, v) << u << s
          << v << a.SubSVDDecomposition(su, s, sv) << su << s << sv << a.Inv();
    }},
    {"KoMatrix EigenValues Eigen, of A and of A A^T", [](Digest& d, const KoMatrix& a) {
        for (const KoMatrix& m : {a, a * a.Transpose()}) {
            KoMatrix values, vectors, w;
            d << m.EigenValues(values) << values << m.Eigen(vectors, w) << vectors << w;
        }
    }},
    {"KoDiagnostics results and reports", [](Digest& d, const KoMatrix& a) {
        KoDiagnostics::Report r[8];
        KoMatrix x, y, z;
        d << KoDiagnostics::EigenValues(a, x, r[0]) << x;
        d << KoDiagnostics::Eigen(a * a.Transpose(), x, y, r[1]) << x << y;
        d << KoDiagnostics::SVDDecomposition(a, x, y, z, r[2]) << x << y << z;
        d << KoDiagnostics::SubSVDDecomposition(a, x, y, z, r[3]) << x << y << z;
        d << KoDiagnostics::Inv(a, r[4]) << KoDiagnostics::MatrixNorm(a, 2, r[5])
          << KoDiagnostics::Rank(a, r[6]);
        d << KoDiagnostics::GaussElimination(a, Random(a.RowSize(), 1, 92), x, y, r[7]) << x << y;
        for (const KoDiagnostics::Report& e : r) {
            d << int(e.verdict) << int(e.code) << e.iterations << e.converged << e.lowerTriangle
              << e.residual << e.orthogonality << e.smallestKeptRatio << e.dropped << e.nanProduced;
        }
    }},
};
// ---- Fixed-size matrices -----------------------------------------------------------------------

inline Matrix3x1 Vector(uint64_t seed, double scale = 1.0) {
    const KoMatrix m = Random(3, 1, seed, scale);
    return Matrix3x1(m[0], m[1], m[2]);
}

inline Matrix3x3 Square(uint64_t seed, double scale = 1.0) {
    KoMatrix m = Random(3, 3, seed, scale);
    return Matrix3x3(m.data());
}

// A fixed-size object whose shape was changed through the general interface: one more row or
// column, a product (to 3 x 4, or of its own 3 x 3 shape), one row of as many elements, or none.
inline void Reshape(KoMatrix& a, const std::string& name) {
    if (name == "reshaped empty") {
        a = KoMatrix();
    } else if (name == "reshaped by product") {
        a *= Random(a.ColumnSize(), a.ColumnSize() == 1 ? 4 : 3, 48);
    } else if (name == "reshaped flat") {
        a = KoMatrix(std::vector<std::vector<double>>{{a.begin(), a.end()}});
    } else if (name.rfind("reshaped", 0) == 0) {
        const KoMatrixError code = a.ColumnSize() == 1 ? a.AddRow(3, 3, KoMatrix(1, 1))
                                                       : a.AddColumn(3, 3, Random(3, 1, 47));
        (void)code;
    }
}

// The members Matrix3x1 and Matrix3x3 share, on `a`; the in-place forms on a copy and on `self`,
// a second object like `a` (a reshaped one stays unchanged), which is then assigned to.
template <typename Fixed>
inline void RecordFixedShared(Digest& d, Fixed& a, Fixed& self, Fixed& b, double s) {
    d << (a + b) << (a - b) << (a + s) << (a - s) << (a * s) << (a / s) << a.HadamardProduct(b)
      << a.HadamardDivision(b) << a.HadamardPower(2) << a.HadamardPower(0.5) << a.HadamardPower(1)
      << a.RMSE(b) << (a == b) << (a != a) << (s + a) << (s - a) << (s * a) << (-a);
    int i = -1, j = -1;
    d << a.Max() << a.Max(i) << i << a.Min() << a.Min(j) << j;
    for (int digits : {-1, 0, 1, 3, 7, 15, 400}) {
        d << a.Rounding(digits) << (a * 123.456).Rounding(digits);
    }
    Fixed copy(a);
    for (Fixed* t : {&copy, &self}) {
        *t += b, *t -= s, *t *= s, *t /= s, *t -= b, *t += s;
        d << *t;
    }
    self = b;
    d << self;
}

// A fixed-size value named `name` (a "reshaped" one changes shape through the base first).
inline void Matrix3x1Members(Digest& d, const Matrix3x1& v, const std::string& name) {
    Matrix3x1 a(v), self(v), b = Vector(33);
    Reshape(a, name), Reshape(self, name);
    RecordFixedShared(d, a, self, b, -1.25);
}

inline void Matrix3x3Members(Digest& d, const Matrix3x3& m, const std::string& name) {
    Matrix3x3 a(m), self(m), b = Square(43), t(a), u(m), diagonal(m);
    const Matrix3x1 x = Vector(44);
    Reshape(a, name), Reshape(self, name), Reshape(u, name), Reshape(diagonal, name);
    d << (a * b) << (a * x) << (a * static_cast<const KoMatrix&>(b)) << (a ^ 3) << (a ^ 0)
      << a.Det() << a.Inv() << a.Transpose();
    for (Matrix3x3* p : {&t, &u}) {
        *p *= b, *p ^= 2;
        d << *p;
    }
    d << diagonal.DiagFrom(x) << Matrix3x3(x);
    RecordFixedShared(d, a, self, b, 3.5);
}

// ---- Geometry and complex numbers --------------------------------------------------------------

inline void PointQueries(Digest& d, const KoPoint& p, const KoPoint& a, const KoPoint& b) {
    d << p.IsSameline(a, b) << p.IsBetween(a, b) << p.IsBetweenWithoutCheck(a, b) << (p < a)
      << (p == a) << (p != p);
}

inline void LinePair(Digest& d, KoLine& l, KoLine& m) {
    KoPoint crossing(-1.0, -1.0);
    KoPoint* points = nullptr;
    const int segment = l.SegmentIntersection(m, points);
    d << l.CheckSide(m[0]) << l.CheckSide(m[1]) << l.LineIntersection(m, crossing) << crossing
      << segment << (l == m);
    for (int p = 0; p < segment; ++p) {
        d << points[p];
    }
    delete[] points;
    KoLine own(l);  // the output one of the line's own points
    d << own.LineIntersection(m, own[1]) << own[0] << own[1];
}

inline void PolygonMembers(Digest& d, const std::vector<KoPoint>& vertices) {
    KoPolygon p(vertices);
    d << p.Area() << p.IsNonSelfIntersection();
    p.SortVertice();
    d << p << p.Area() << p.IsNonSelfIntersection();
}

inline void TrianglePair(Digest& d, KoTriangle& a, KoTriangle& b) {
    d << a.CheckClockwise() << b.CheckClockwise() << a.CalculatePolygonvertex(b)
      << b.CalculatePolygonvertex(a) << a.CoverageArea(b) << b.CoverageArea(a);
}

// values[i] against every value; the compound operators also on the value itself.
inline void ComplexMembers(Digest& d, const std::vector<Complex>& values, size_t i) {
    for (const Complex& o : values) {
        Complex a = values[i];
        d << (a + o) << (a - o) << (a * o) << (a / o) << (a == o) << (a != o) << a.Conjugate()
          << a.abs();
        a += o, a -= values[i], a *= o, a /= values[i];
        d << a;
    }
    Complex self = values[i];  // compound operators on themselves read before writing
    const Complex& same = self;
    self *= same, d << self, self /= same, d << self, self += same, self -= same;
    d << self;
}

// ---- Constructors, factories, accessors --------------------------------------------------------

// clang-format off
inline const std::pair<const char*, void (*)(Digest&)> kConstructions[] = {
    {"KoMatrix factories and constructors", [](Digest& d) {
        std::vector<double> values = {1.5, -0.0, kDenormal, -2.0};
        for (int n = -1; n <= 4; ++n) {
            d << KoMatrix::Identity(n) << KoMatrix::DiagForm(n, values.data())
              << KoMatrix::DiagForm(n, nullptr);
        }
        double buffer[6] = {1, -0.0, 3, 4, 5, 6};
        d << KoMatrix::DiagForm({3.0, -0.0, kNaN}) << KoMatrix({{1, 2, 3}, {4}, {5, 6, 7, 8}})
          << KoMatrix(2, 3) << KoMatrix(std::vector<std::vector<double>>{})
          << KoMatrix(2, 3, buffer, KoMatrix::ShallowCopy)
          << KoMatrix(3, 2, buffer, KoMatrix::DeepCopy);
    }},
    {"fixed-size constructors", [](Digest& d) {
        std::vector<double> three = {1.5, -0.0, kDenormal}, nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        std::vector<double> short_ = {2.0};
        d << Matrix3x1(three) << Matrix3x1(short_) << Matrix3x1() << Matrix3x3(nine)
          << Matrix3x3(short_) << Matrix3x3() << Matrix3x3(nine.data())
          << Matrix3x3(static_cast<double*>(nullptr));
    }},
    {"geometry constructors and accessors", [](Digest& d) {
        const std::vector<double> a = {1.0, 2.0}, b = {-3.0}, e = {};
        const KoPoint p(a), q(b), r(e);
        std::vector<double> xyz = {1.0, -0.0, 3.0};
        const KoPoint3D s(xyz);
        const KoLine l1(a, b), l2(std::vector<KoPoint>{p, q}), l3(0.5, 1.5, 2.5, 3.5);
        const KoPoint vertices[4] = {KoPoint(0, 0), KoPoint(4, 0), KoPoint(4, 3), KoPoint(0, 3)};
        KoPolygon polygon(vertices, 4), three(vertices[0], vertices[1], vertices[2]);
        KoTriangle t1(0, 0, 1, 0, 0, 1), t2(a, b, e), t3(vertices), t4(std::vector<KoPoint>{p, q});
        d << p << q << r << p[1] << p.at(0) << KoPoint() << s << s[2] << KoPoint3D() << l1[0]
          << l1[1] << l2.at(1) << l3.at(1, 0) << l3.at(3, 1) << KoLine()[1] << polygon
          << polygon.at(9) << polygon.at(2, 1) << three << KoPolygon(nullptr, 2) << KoPolygon()
          << t1 << t2 << t3 << t4 << KoTriangle();
    }},
};
// clang-format on

}  // namespace test_support
#endif  // KOCALVIX_TESTS_SUPPORT_PUBLIC_OPERATIONS_H

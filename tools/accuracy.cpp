// SPDX-License-Identifier: MIT
// Measures the accuracy of the iterative and threshold-driven KoMatrix operations against
// references computed here in long double (cyclic Jacobi for symmetric eigenproblems,
// one-sided Jacobi for singular values and the pseudo-inverse, Gaussian elimination with
// partial pivoting for linear systems), over families of inputs and sizes 1 to 40, and how
// often KoDiagnostics calls the result Reliable. Prints the Markdown tables of
// docs/accuracy.md.
//
//   accuracy [max-size]       (default 40)
#include <kocalvix/diagnostics.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/matrix.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Real = long double;

// A row-major long double matrix.
struct Ref {
    int rows = 0;
    int cols = 0;
    std::vector<Real> a;
    Ref(int r, int c) : rows(r), cols(c), a(static_cast<size_t>(r) * c, 0.0L) {}
    Real& operator()(int i, int j) { return a[static_cast<size_t>(i) * cols + j]; }
    Real operator()(int i, int j) const { return a[static_cast<size_t>(i) * cols + j]; }
};

Ref FromKo(const KoMatrix& m) {
    Ref r(m.RowSize(), m.ColumnSize());
    for (int i = 0; i < r.rows; ++i) {
        for (int j = 0; j < r.cols; ++j) {
            r(i, j) = m(i, j);
        }
    }
    return r;
}

Real Frobenius(const Ref& m) {
    Real s = 0.0L;
    for (Real x : m.a) {
        s += x * x;
    }
    return std::sqrt(s);
}

// Eigenvalues of a symmetric matrix by cyclic Jacobi rotations, in non-increasing order.
std::vector<Real> JacobiEigenvalues(Ref a) {
    const int n = a.rows;
    for (int sweep = 0; sweep < 100; ++sweep) {
        Real off = 0.0L;
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                off += a(i, j) * a(i, j);
            }
        }
        if (off == 0.0L || off < 1e-40L * Frobenius(a) * Frobenius(a)) {
            break;
        }
        for (int p = 0; p < n; ++p) {
            for (int q = p + 1; q < n; ++q) {
                if (a(p, q) == 0.0L) {
                    continue;
                }
                const Real theta = (a(q, q) - a(p, p)) / (2.0L * a(p, q));
                const Real t = (theta >= 0 ? 1.0L : -1.0L) /
                               (std::fabs(theta) + std::sqrt(theta * theta + 1.0L));
                const Real c = 1.0L / std::sqrt(t * t + 1.0L);
                const Real s = t * c;
                for (int k = 0; k < n; ++k) {  // columns p, q
                    const Real x = a(k, p);
                    const Real y = a(k, q);
                    a(k, p) = c * x - s * y;
                    a(k, q) = s * x + c * y;
                }
                for (int k = 0; k < n; ++k) {  // rows p, q
                    const Real x = a(p, k);
                    const Real y = a(q, k);
                    a(p, k) = c * x - s * y;
                    a(q, k) = s * x + c * y;
                }
            }
        }
    }
    std::vector<Real> values(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        values[i] = a(i, i);
    }
    std::sort(values.begin(), values.end(), std::greater<Real>());
    return values;
}

// Singular values (non-increasing) and the pseudo-inverse by one-sided Jacobi on the columns;
// singular values below max(m, n) * 2^-52 of the largest (double rounding) count as zero.
struct RefSVD {
    std::vector<Real> sigma;
    Ref pinv{0, 0};
};

RefSVD JacobiSVD(const Ref& a) {
    const int m = a.rows;
    const int n = a.cols;
    Ref u = a;    // columns made orthogonal: u = a * v
    Ref v(n, n);  // accumulated rotations
    for (int i = 0; i < n; ++i) {
        v(i, i) = 1.0L;
    }
    for (int sweep = 0; sweep < 100; ++sweep) {
        bool rotated = false;
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                Real alpha = 0.0L, beta = 0.0L, gamma = 0.0L;
                for (int r = 0; r < m; ++r) {
                    alpha += u(r, i) * u(r, i);
                    beta += u(r, j) * u(r, j);
                    gamma += u(r, i) * u(r, j);
                }
                if (!(std::fabs(gamma) > 1e-19L * std::sqrt(alpha * beta))) {
                    continue;
                }
                rotated = true;
                const Real zeta = (beta - alpha) / (2.0L * gamma);
                const Real t =
                    (zeta >= 0 ? 1.0L : -1.0L) / (std::fabs(zeta) + std::sqrt(1.0L + zeta * zeta));
                const Real c = 1.0L / std::sqrt(1.0L + t * t);
                const Real s = c * t;
                for (int r = 0; r < m; ++r) {
                    const Real x = u(r, i), y = u(r, j);
                    u(r, i) = c * x - s * y;
                    u(r, j) = s * x + c * y;
                }
                for (int r = 0; r < n; ++r) {
                    const Real x = v(r, i), y = v(r, j);
                    v(r, i) = c * x - s * y;
                    v(r, j) = s * x + c * y;
                }
            }
        }
        if (!rotated) {
            break;
        }
    }
    std::vector<Real> norms(static_cast<size_t>(n));
    Real largest = 0.0L;
    for (int j = 0; j < n; ++j) {
        Real s = 0.0L;
        for (int r = 0; r < m; ++r) {
            s += u(r, j) * u(r, j);
        }
        norms[j] = std::sqrt(s);
        largest = std::max(largest, norms[j]);
    }
    RefSVD out;
    out.pinv = Ref(n, m);
    const Real cut = static_cast<Real>(std::max(m, n)) * std::ldexp(1.0L, -52) * largest;
    for (int j = 0; j < n; ++j) {
        if (norms[j] <= cut) {
            continue;
        }
        // pinv += v_j * u_j^T / sigma_j^2 (u_j = a * v_j holds sigma_j).
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < m; ++c) {
                out.pinv(r, c) += v(r, j) * u(c, j) / (norms[j] * norms[j]);
            }
        }
    }
    std::sort(norms.begin(), norms.end(), std::greater<Real>());
    norms.resize(static_cast<size_t>(std::min(m, n)));
    out.sigma = norms;
    return out;
}

// x with a * x = b by elimination with partial pivoting (a square).
std::vector<Real> Solve(Ref a, std::vector<Real> b) {
    const int n = a.rows;
    for (int c = 0; c < n; ++c) {
        int p = c;
        for (int i = c + 1; i < n; ++i) {
            if (std::fabs(a(i, c)) > std::fabs(a(p, c))) {
                p = i;
            }
        }
        for (int j = 0; j < n; ++j) {
            std::swap(a(c, j), a(p, j));
        }
        std::swap(b[c], b[p]);
        for (int i = c + 1; i < n; ++i) {
            const Real f = a(c, c) == 0.0L ? 0.0L : a(i, c) / a(c, c);
            for (int j = c; j < n; ++j) {
                a(i, j) -= f * a(c, j);
            }
            b[i] -= f * b[c];
        }
    }
    std::vector<Real> x(static_cast<size_t>(n));
    for (int i = n - 1; i >= 0; --i) {
        Real s = b[i];
        for (int j = i + 1; j < n; ++j) {
            s -= a(i, j) * x[j];
        }
        x[i] = s / a(i, i);
    }
    return x;
}

// ---- Input families ------------------------------------------------------------------------

struct Family {
    const char* name;
    bool symmetric;
    bool square;
    std::function<KoMatrix(int, std::mt19937&)> make;
};

KoMatrix Uniform(int m, int n, std::mt19937& rng) {
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    KoMatrix a(m, n);
    for (int k = 0; k < a.ElementNum(); ++k) {
        a[k] = d(rng);
    }
    return a;
}

KoMatrix Symmetrize(const KoMatrix& b) {
    return (b + b.Transpose()) * 0.5;
}

const std::vector<Family>& Families() {
    static const std::vector<Family> families = {
        {"random", false, true, [](int n, std::mt19937& g) { return Uniform(n, n, g); }},
        {"SPD", true, true,
         [](int n, std::mt19937& g) {
             const KoMatrix b = Uniform(n, n, g);
             return Symmetrize(b.Transpose() * b + KoMatrix::Identity(n) * 0.1);
         }},
        {"symmetric indefinite", true, true,
         [](int n, std::mt19937& g) { return Symmetrize(Uniform(n, n, g)); }},
        {"clustered", true, true,
         [](int n, std::mt19937& g) {
             return KoMatrix::Identity(n) + Symmetrize(Uniform(n, n, g)) * 1e-3;
         }},
        {"Hilbert", true, true,
         [](int n, std::mt19937&) {
             KoMatrix a(n, n);
             for (int i = 0; i < n; ++i) {
                 for (int j = 0; j < n; ++j) {
                     a(i, j) = 1.0 / (i + j + 1);
                 }
             }
             return a;
         }},
        {"rank-deficient", false, true,
         [](int n, std::mt19937& g) {
             const int r = std::max(1, n / 2);
             return Uniform(n, r, g) * Uniform(r, n, g);
         }},
        {"tall", false, false,
         [](int n, std::mt19937& g) { return Uniform(n + (n + 1) / 2, n, g); }},
        {"wide", false, false,
         [](int n, std::mt19937& g) { return Uniform(n, n + (n + 1) / 2, g); }},
        {"integer", false, true,
         [](int n, std::mt19937& g) {
             std::uniform_int_distribution<int> d(-9, 9);
             KoMatrix a(n, n);
             for (int k = 0; k < a.ElementNum(); ++k) {
                 a[k] = d(g);
             }
             return a;
         }},
    };
    return families;
}

// ---- Measurements --------------------------------------------------------------------------

// The errors of one operation on one family over all sizes, and the diagnostics' verdicts.
struct Cell {
    std::vector<double> errors;
    int nans = 0;
    int reliable = 0;
    int falseReliable = 0;  // Reliable although the error exceeds kReliableDefect
    void Add(double error, const KoDiagnostics::Report& r, bool haveNaN) {
        if (haveNaN || std::isnan(error)) {
            ++nans;
            error = std::numeric_limits<double>::infinity();
        }
        errors.push_back(error);
        if (r.verdict == KoDiagnostics::Reliable) {
            ++reliable;
            falseReliable += error > KoDiagnostics::kReliableDefect ? 1 : 0;
        }
    }
};

bool HasNaN(const KoMatrix& m) {
    for (int k = 0; k < m.ElementNum(); ++k) {
        if (!std::isfinite(m[k])) {
            return true;
        }
    }
    return false;
}

double MaxRelative(const std::vector<Real>& got, const std::vector<Real>& want) {
    Real scale = 0.0L, err = 0.0L;
    for (size_t k = 0; k < want.size(); ++k) {
        scale = std::max(scale, std::fabs(want[k]));
        err = std::max(err, std::fabs(got[k] - want[k]));
    }
    return scale > 0.0L ? static_cast<double>(err / scale) : static_cast<double>(err);
}

std::string Format(const Cell& c) {
    if (c.errors.empty()) {
        return "—";
    }
    std::vector<double> e = c.errors;
    std::sort(e.begin(), e.end());
    char buf[96];
    auto text = [](double x, char* out) {
        if (std::isinf(x)) {
            std::snprintf(out, 16, "NaN");
        } else if (x == 0.0) {
            std::snprintf(out, 16, "0");
        } else {
            std::snprintf(out, 16, "%.0e", x);
        }
    };
    char median[16], worst[16];
    text(e[e.size() / 2], median);
    text(e.back(), worst);
    if (c.nans > 0) {
        std::snprintf(buf, sizeof buf, "%s / %s (%d NaN)", median, worst, c.nans);
    } else {
        std::snprintf(buf, sizeof buf, "%s / %s", median, worst);
    }
    return buf;
}

// ---- The known limits, case by case ---------------------------------------------------------

const char* VerdictName(const KoDiagnostics::Report& r) {
    static const char* names[] = {"Reliable", "Inaccurate", "Failed"};
    return names[r.verdict];
}

std::string Text(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return buf;
}

void Known(const char* what, const std::string& got, const std::string& want, const char* verdict) {
    std::printf("| %s | %s | %s | %s |\n", what, got.c_str(), want.c_str(), verdict);
}

// The overlap area with the collected points ordered by their angle about the centroid.
Real OrderedOverlapArea(const KoTriangle& a, KoTriangle& b) {
    KoPolygon p = a.CalculatePolygonvertex(b);
    std::vector<std::pair<Real, Real>> pts;
    Real cx = 0.0L, cy = 0.0L;
    for (int i = 0; i < p.size(); ++i) {
        pts.emplace_back(p[i][0], p[i][1]);
        cx += p[i][0];
        cy += p[i][1];
    }
    if (pts.size() < 3) {
        return 0.0L;
    }
    cx /= pts.size();
    cy /= pts.size();
    std::sort(pts.begin(), pts.end(), [&](const auto& u, const auto& v) {
        return std::atan2(u.second - cy, u.first - cx) < std::atan2(v.second - cy, v.first - cx);
    });
    Real twice = 0.0L;
    for (size_t i = 0; i < pts.size(); ++i) {
        const auto& u = pts[i];
        const auto& v = pts[(i + 1) % pts.size()];
        twice += u.first * v.second - v.first * u.second;
    }
    return std::fabs(twice) / 2.0L;
}

void KnownCases() {
    using Rows = std::vector<std::vector<double>>;
    KoDiagnostics::Report r;
    std::printf("| case | KoCalvix | accurate | KoDiagnostics |\n|---|---|---|---|\n");
    KoMatrix v, w;
    KoDiagnostics::EigenValues(KoMatrix(Rows{{0, 1}, {1, 0}}), v, r);
    Known("`EigenValues` of [[0, 1], [1, 0]]", Text(v[0]) + ", " + Text(v[1]), "1, -1",
          VerdictName(r));
    KoDiagnostics::EigenValues(KoMatrix(Rows{{0, -1}, {1, 0}}), v, r);
    Known("`EigenValues` of the rotation [[0, -1], [1, 0]]", Text(v[0]) + ", " + Text(v[1]),
          "i, -i", VerdictName(r));
    KoDiagnostics::Eigen(KoMatrix(Rows{{2, 1}, {1, 2}}), v, w, r);
    Known("`Eigen` of [[2, 1], [1, 2]]: residual ‖A·W − W·Λ‖/‖A‖", Text(r.residual), "0",
          VerdictName(r));
    std::mt19937 rng(28);
    const KoMatrix b = Uniform(28, 28, rng);
    const KoMatrix spd = b.Transpose() * b + KoMatrix::Identity(28) * 28.0;
    KoDiagnostics::Eigen(spd, v, w, r);
    const RefSVD ref = JacobiSVD(FromKo(spd));
    const std::string spdName = "a 28×28 SPD BᵀB + 28·I (condition " +
                                Text(static_cast<double>(ref.sigma.front() / ref.sigma.back())) +
                                ")";
    Known(("`Eigen` of " + spdName + ": residual").c_str(), Text(r.residual), "0", VerdictName(r));
    const KoMatrix x = KoDiagnostics::Inv(spd, r);
    Ref diff = FromKo(x);
    for (size_t k = 0; k < diff.a.size(); ++k) {
        diff.a[k] -= ref.pinv.a[k];
    }
    Known("`Inv` of the same matrix: relative error",
          Text(static_cast<double>(Frobenius(diff) / Frobenius(ref.pinv))), "0", VerdictName(r));
    for (const Rows& rows : {Rows{{1, 2}, {3, 4}, {5, 6}}, Rows{{0, -2}, {0, -3}, {-1, 0}},
                             Rows{{2, -2}, {-3, 3}, {0, 0}}}) {
        const KoMatrix a(rows);
        const double norm = KoDiagnostics::MatrixNorm(a, 2, r);
        char what[160];
        std::snprintf(what, sizeof what, "`MatrixNorm(2)` of {{%g, %g}, {%g, %g}, {%g, %g}}", a[0],
                      a[1], a[2], a[3], a[4], a[5]);
        Known(what, Text(norm), Text(static_cast<double>(JacobiSVD(FromKo(a)).sigma[0])),
              VerdictName(r));
    }
    std::uniform_int_distribution<int> digit(-9, 9);
    int nans = 0, flagged = 0;
    const int trials = 1000;
    for (int t = 0; t < trials; ++t) {
        KoMatrix a(3, 2);
        for (int k = 0; k < 6; ++k) {
            a[k] = digit(rng);
        }
        const double norm = KoDiagnostics::MatrixNorm(a, 2, r);
        nans += std::isnan(norm) ? 1 : 0;
        flagged += std::isnan(norm) && r.verdict == KoDiagnostics::Failed ? 1 : 0;
    }
    char share[64];
    std::snprintf(share, sizeof share, "%.1f %% NaN", 100.0 * nans / trials);
    Known("`MatrixNorm(2)` of 1000 random 3×2 matrices of integers −9 … 9", share, "no NaN",
          flagged == nans ? "every NaN Failed" : "NaN not flagged");
    KoMatrix u, s;
    KoDiagnostics::SVDDecomposition(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}), u, s, v, r);
    Known("`SVDDecomposition` of {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}: σ₃", Text(s(2, 2)), "0",
          VerdictName(r));
    const KoMatrix rank2(Rows{{4, 2, 1}, {4, 2, -4}, {8, 4, -3}});
    KoDiagnostics::SubSVDDecomposition(rank2, u, s, v, r);
    Known("`SubSVDDecomposition` of {{4, 2, 1}, {4, 2, −4}, {8, 4, −3}} (rank 2): σ₃",
          Text(s(2, 2)), "0", VerdictName(r));
    const KoMatrix inv = KoDiagnostics::Inv(rank2, r);
    const RefSVD ref2 = JacobiSVD(FromKo(rank2));
    Real largest = 0.0L;
    for (Real e : ref2.pinv.a) {
        largest = std::max(largest, std::fabs(e));
    }
    Known("`Inv` (and `Matrix3x3::Inv`) of the same matrix: largest element",
          Text(inv.ElementWiseInfiniteNorm()) + " (" +
              Text(Matrix3x3(4, 2, 1, 4, 2, -4, 8, 4, -3).Inv().ElementWiseInfiniteNorm()) + ")",
          Text(static_cast<double>(largest)), VerdictName(r));
    const KoMatrix tiny = KoMatrix::Identity(3) * 1e-12;
    const int rank = KoDiagnostics::Rank(tiny, r);
    Known("`Rank` of 1e-12·I (3×3)", std::to_string(rank), "3", VerdictName(r));
    const KoMatrix large = KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}) * 1e6;
    Known("`Rank` of 1e6·{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}",
          std::to_string(KoDiagnostics::Rank(large, r)), "2", VerdictName(r));
    Known("`Det` of 1e-12·I (3×3)", Text(tiny.Det()), "1e-36", "—");
    KoDiagnostics::Inv(tiny, r);
    Known("`Inv` of 1e-12·I (3×3): diagonal", Text(tiny.Inv()(0, 0)), "1e+12", VerdictName(r));
    KoMatrix sol, reduced;
    KoDiagnostics::GaussElimination(KoMatrix(Rows{{1, 2}, {2, 4}}), KoMatrix(Rows{{1}, {3}}), sol,
                                    reduced, r);
    Known("`GaussElimination` of {{1, 2}, {2, 4}}·x = (1, 3) (inconsistent)",
          "NoError, x = (" + Text(sol[0]) + ", " + Text(sol[1]) + ")", "no solution",
          VerdictName(r));
    KoTriangle ta(0, 0, 3, 2, 1, 0), tb(3, 0, 0, 2, 2, 0);
    Known("`CoverageArea`: A(0,0, 3,2, 1,0) with B(3,0, 0,2, 2,0), and B with A",
          Text(ta.CoverageArea(tb)) + ", " + Text(tb.CoverageArea(ta)),
          Text(static_cast<double>(OrderedOverlapArea(ta, tb))), "—");
    KoLine segment(0, 0, 1, 0), point(5, 5, 5, 5);
    KoPoint* out = nullptr;
    const int code = segment.SegmentIntersection(point, out);
    delete[] out;
    Known("`SegmentIntersection` of (0,0)–(1,0) with the zero-length (5,5)–(5,5)",
          std::to_string(code), "0", "—");
}

using Table = std::map<std::string, std::map<std::string, Cell>>;

// One row per operation, one column per family; `show` writes a cell, "—" where nothing was
// measured.
void PrintTable(Table& table, const std::function<std::string(const Cell&)>& show) {
    static const char* operations[] = {"EigenValues",
                                       "Eigen: values",
                                       "Eigen: residual",
                                       "SVD: values",
                                       "SVD: A - USV^T",
                                       "SVD: orthogonality",
                                       "Inv",
                                       "MatrixNorm(2)",
                                       "Rank (wrong count)",
                                       "GaussElimination"};
    std::printf("| operation |");
    for (const Family& f : Families()) {
        std::printf(" %s |", f.name);
    }
    std::printf("\n|---|");
    for (size_t k = 0; k < Families().size(); ++k) {
        std::printf("---|");
    }
    std::printf("\n");
    for (const char* op : operations) {
        std::printf("| %s |", op);
        for (const Family& f : Families()) {
            const Cell& c = table[f.name][op];
            std::printf(" %s |", c.errors.empty() ? "—" : show(c).c_str());
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int maxSize = argc > 1 ? std::atoi(argv[1]) : 40;
    std::vector<int> sizes;
    for (int n : {1, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20, 24, 28, 32, 36, 40}) {
        if (n <= maxSize) {
            sizes.push_back(n);
        }
    }
    Table table;
    std::mt19937 rng(2024);
    for (const Family& f : Families()) {
        for (int n : sizes) {
            const KoMatrix a = f.make(n, rng);
            const Ref ra = FromKo(a);
            const RefSVD ref = JacobiSVD(ra);
            const Real sigma1 = ref.sigma.empty() ? 0.0L : ref.sigma[0];
            KoDiagnostics::Report r;
            auto& row = table[f.name];
            if (f.symmetric) {
                const std::vector<Real> lambda = JacobiEigenvalues(ra);
                KoMatrix v, w;
                auto sorted = [](const KoMatrix& col) {
                    std::vector<Real> s;
                    for (int k = 0; k < col.ElementNum(); ++k) {
                        s.push_back(col[k]);
                    }
                    std::sort(s.begin(), s.end(), std::greater<Real>());
                    return s;
                };
                KoDiagnostics::EigenValues(a, v, r);
                row["EigenValues"].Add(MaxRelative(sorted(v), lambda), r, HasNaN(v));
                KoDiagnostics::Eigen(a, v, w, r);
                row["Eigen: values"].Add(MaxRelative(sorted(v), lambda), r, HasNaN(v));
                // ||A W - W diag(V)|| / ||A|| in long double.
                const Ref rw = FromKo(w);
                Real res = 0.0L;
                for (int i = 0; i < n; ++i) {
                    for (int j = 0; j < n; ++j) {
                        Real s = -rw(i, j) * static_cast<Real>(v[j]);
                        for (int k = 0; k < n; ++k) {
                            s += ra(i, k) * rw(k, j);
                        }
                        res += s * s;
                    }
                }
                row["Eigen: residual"].Add(static_cast<double>(std::sqrt(res) / Frobenius(ra)), r,
                                           HasNaN(w));
            }
            KoMatrix u, s, v;
            KoDiagnostics::SVDDecomposition(a, u, s, v, r);
            std::vector<Real> got;
            for (int k = 0; k < static_cast<int>(ref.sigma.size()); ++k) {
                got.push_back(s(k, k));
            }
            row["SVD: values"].Add(MaxRelative(got, ref.sigma), r, HasNaN(s));
            row["SVD: A - USV^T"].Add(r.residual, r, HasNaN(s));
            row["SVD: orthogonality"].Add(r.orthogonality, r, HasNaN(u) || HasNaN(v));

            const KoMatrix x = KoDiagnostics::Inv(a, r);
            Ref diff = FromKo(x);
            for (size_t k = 0; k < diff.a.size(); ++k) {
                diff.a[k] -= ref.pinv.a[k];
            }
            const Real pinvNorm = Frobenius(ref.pinv);
            row["Inv"].Add(
                static_cast<double>(pinvNorm > 0 ? Frobenius(diff) / pinvNorm : Frobenius(diff)), r,
                HasNaN(x));

            const double norm = KoDiagnostics::MatrixNorm(a, 2, r);
            row["MatrixNorm(2)"].Add(
                sigma1 > 0 ? static_cast<double>(std::fabs(norm - sigma1) / sigma1) : norm, r,
                std::isnan(norm));

            const int rank = KoDiagnostics::Rank(a, r);
            int refRank = 0;
            for (Real sv : ref.sigma) {
                refRank += sv > static_cast<Real>(std::max(a.RowSize(), a.ColumnSize())) *
                                       std::ldexp(1.0L, -52) * sigma1
                               ? 1
                               : 0;
            }
            row["Rank (wrong count)"].Add(rank == refRank ? 0.0 : 1.0, r, false);

            if (f.square) {
                KoMatrix b(n, 1);
                std::vector<Real> rb(static_cast<size_t>(n));
                for (int i = 0; i < n; ++i) {
                    b[i] = 1.0 + i % 3;
                    rb[i] = b[i];
                }
                KoMatrix sol, reduced;
                KoDiagnostics::GaussElimination(a, b, sol, reduced, r);
                const std::vector<Real> want = Solve(ra, rb);
                std::vector<Real> have;
                for (int i = 0; i < n; ++i) {
                    have.push_back(sol[i]);
                }
                row["GaussElimination"].Add(MaxRelative(have, want), r, HasNaN(sol));
            }
        }
    }

    KnownCases();
    std::printf("\nRelative error, median / worst over sizes");
    for (int n : sizes) {
        std::printf(" %d", n);
    }
    std::printf("\n\n");
    PrintTable(table, [](const Cell& c) { return Format(c); });
    std::printf(
        "\nKoDiagnostics verdicts: Reliable / cases (Reliable although the error "
        "exceeds %.0e)\n\n",
        KoDiagnostics::kReliableDefect);
    PrintTable(table, [](const Cell& c) {
        return std::to_string(c.reliable) + "/" + std::to_string(c.errors.size()) + " (" +
               std::to_string(c.falseReliable) + ")";
    });
    return 0;
}

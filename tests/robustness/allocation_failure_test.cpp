// SPDX-License-Identifier: MIT
// Allocation failure at every allocation point of every public member that allocates.
//
// Each operation runs on a fresh world of objects. A first run counts its allocations; then,
// for k = 1, 2, ..., the operation runs again with allocation k failing (once only that one,
// once every one from k on), and each run must show:
// - exactly std::bad_alloc escaping (no other exception, no swallowed failure);
// - no leak: the live block count after the world is gone is the one before it was made;
// - every object consistent (shape and element count agree, every element readable, a copy
//   equal to it) and destructible;
// - the promise kept: every object bitwise as before, except the operation's outputs, which
//   each hold either their previous content or exactly what a successful run leaves there.
//
// Operations of at most kQuickLimit allocations are swept in the normal test run; with the
// environment variable KOCALVIX_ALLOC_SWEEP=full every operation is.
#include <gtest/gtest.h>
#include <kocalvix/complex.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/matrix.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "counting_new.h"

namespace {

constexpr long kQuickLimit = 300;

// ---- The objects every operation works on ----------------------------------------------------

enum Object : int {
    A,     // 3 x 3, not symmetric, regular
    Sym,   // 3 x 3 symmetric
    Sing,  // 3 x 3 singular
    Tall,  // 3 x 2
    Wide,  // 2 x 3
    Rhs,   // 3 x 1
    Out1,  // outputs: owning 2 x 2 with values no result has
    Out2,
    Out3,
    Wrap,  // wraps the world's buffer as 3 x 3
    V1,    // Matrix3x1
    V2,
    F1,    // Matrix3x3, regular
    F2,    // Matrix3x3, singular
    Poly,  // polygon of 5 vertices
    T1,    // triangles of the six-pointed star
    T2,
    Segment,  // the caller's array of SegmentIntersection
    kObjectCount
};

constexpr std::uint32_t Bit(Object o) {
    return 1u << o;
}

struct World {
    double buffer[9] = {2, -1, 0, -1, 2, -1, 0, -1, 2};
    // An array, not a vector: the wrapping matrix is constructed in place (a copy would own its
    // buffer), and Clang warns about containers of a class with virtual functions whose
    // destructor is not virtual.
    KoMatrix m[Wrap + 1] = {KoMatrix({{4, 1, 2}, {0.5, 3, 1}, {2, 1, 5}}),
                            KoMatrix({{2, 1, 0}, {1, 3, 1}, {0, 1, 4}}),
                            KoMatrix({{1, 2, 3}, {2, 4, 6}, {1, 0, 1}}),
                            KoMatrix({{1, 2}, {3, 4}, {5, 7}}),
                            KoMatrix({{1, 2, 3}, {4, 5, 7}}),
                            KoMatrix({{1}, {2}, {3}}),
                            KoMatrix({{-7.5, 8.25}, {9.125, -10.0}}),
                            KoMatrix({{-7.5, 8.25}, {9.125, -10.0}}),
                            KoMatrix({{-7.5, 8.25}, {9.125, -10.0}}),
                            KoMatrix(3, 3, buffer, KoMatrix::ShallowCopy)};
    Matrix3x1 v1{1.5, -2.0, 0.25};
    Matrix3x1 v2{-3.0, 0.5, 4.0};
    Matrix3x3 f1{4, 1, 2, 0.5, 3, 1, 2, 1, 5};
    Matrix3x3 f2{1, 2, 3, 2, 4, 6, 1, 0, 1};
    KoPolygon poly{std::vector<KoPoint>{{1, 1}, {0, 0}, {1, 0}, {0, 1}, {0.5, 2}}};
    KoTriangle t1{0, 0, 6, 0, 3, 6};
    KoTriangle t2{0, 4, 6, 4, 3, -2};
    KoLine l1{0, 0, 2, 2};
    KoLine l2{0, 2, 2, 0};
    KoLine l3{0, 0, 2, 0};
    KoLine l4{1, 0, 3, 0};
    KoPoint* segment = new KoPoint[1]{KoPoint(9, 9)};

    World() = default;
    ~World() { delete[] segment; }
    World(const World&) = delete;
    World& operator=(const World&) = delete;
};

// ---- Object states ---------------------------------------------------------------------------

using State = std::vector<std::uint64_t>;

void Append(State& s, double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    s.push_back(bits);
}

// The shape and element bits of a matrix, after checking that it is consistent: the element
// count agrees with the shape and a copy holds the same bits.
State MatrixState(const KoMatrix& a, std::string& problem) {
    State s{static_cast<std::uint64_t>(a.RowSize()), static_cast<std::uint64_t>(a.ColumnSize())};
    if (a.RowSize() < 0 || a.ColumnSize() < 0 ||
        static_cast<long long>(a.RowSize()) * a.ColumnSize() != a.ElementNum()) {
        problem += " inconsistent shape;";
        return s;
    }
    const KoMatrix copy(a);
    for (int k = 0; k < a.ElementNum(); ++k) {
        Append(s, a[k]);
        if (std::memcmp(&a[k], &copy[k], sizeof(double)) != 0) {
            problem += " copy differs;";
        }
    }
    return s;
}

State PolygonState(const KoPolygon& p) {
    State s{static_cast<std::uint64_t>(p.size())};
    for (int i = 0; i < p.size(); ++i) {
        Append(s, p[i][0]);
        Append(s, p[i][1]);
    }
    return s;
}

std::vector<State> States(const World& w, std::string& problem) {
    std::vector<State> states(kObjectCount);
    for (int i = A; i <= Wrap; ++i) {
        states[i] = MatrixState(w.m[i], problem);
    }
    states[V1] = MatrixState(w.v1, problem);
    states[V2] = MatrixState(w.v2, problem);
    states[F1] = MatrixState(w.f1, problem);
    states[F2] = MatrixState(w.f2, problem);
    states[Poly] = PolygonState(w.poly);
    states[T1] = PolygonState(w.t1);
    states[T2] = PolygonState(w.t2);
    // The segment array's address and first point (every array handed out has one).
    states[Segment] = {reinterpret_cast<std::uintptr_t>(w.segment)};
    Append(states[Segment], w.segment[0][0]);
    Append(states[Segment], w.segment[0][1]);
    for (const KoLine* line : {&w.l1, &w.l2, &w.l3, &w.l4}) {
        Append(states[Segment], line->at(0, 0));
    }
    return states;
}

// ---- The operations ---------------------------------------------------------------------------

struct Operation {
    const char* name;
    void (*run)(World& w);
    std::uint32_t outputs;  // objects that may hold their result after a failure
};

// The product of the elements of a returned matrix, so that no result is optimised away.
double Touch(const KoMatrix& r) {
    return r.ElementNum() > 0 ? r[0] : 0.0;
}

volatile double sink;

#define OP(name, outputs, ...)                                        \
    Operation {                                                       \
        name, []([[maybe_unused]] World& w) { __VA_ARGS__; }, outputs \
    }

const Operation kOperations[] = {
    // Construction, copy, assignment, conversion.
    OP("KoMatrix(rows, cols)", 0, sink = Touch(KoMatrix(4, 5))),
    OP("KoMatrix(rows, cols, data, DeepCopy)", 0,
       sink = Touch(KoMatrix(3, 3, w.buffer, KoMatrix::DeepCopy))),
    OP("KoMatrix(nested vectors)", 0,
       sink = Touch(KoMatrix(std::vector<std::vector<double>>{{1, 2}, {3}}))),
    OP("KoMatrix(initializer list)", 0, sink = Touch(KoMatrix({{1, 2}, {3, 4}}))),
    OP("KoMatrix copy of a wrapping matrix", 0, sink = Touch(KoMatrix(w.m[Wrap]))),
    OP("operator= owning, new shape", 0, w.m[Out1] = w.m[A]),
    OP("ToVec", 0, sink = w.m[Tall].ToVec()[2][1]),
    // Element-wise value forms.
    OP("operator+(matrix)", 0, sink = Touch(w.m[A] + w.m[Sym])),
    OP("operator-(matrix)", 0, sink = Touch(w.m[A] - w.m[Sym])),
    OP("operator+(matrix), shapes differ", 0, sink = Touch(w.m[A] + w.m[Tall])),
    OP("HadamardProduct", 0, sink = Touch(w.m[A].HadamardProduct(w.m[Sym]))),
    OP("HadamardDivision", 0, sink = Touch(w.m[A].HadamardDivision(w.m[Sym]))),
    OP("scalar value forms", 0,
       sink =
           Touch(w.m[A] + 1.0) + Touch(w.m[A] - 1.0) + Touch(w.m[A] * 2.0) + Touch(w.m[A] / 2.0)),
    OP("HadamardPower", 0,
       sink = Touch(w.m[A].HadamardPower(2)) + Touch(w.m[A].HadamardPower(0.5))),
    // Products, transpose, factories, rows and columns.
    OP("operator*(matrix)", 0, sink = Touch(w.m[A] * w.m[Tall])),
    OP("operator*= owning", 0, w.m[A] *= w.m[Tall]),
    OP("operator*= wrapping", 0, w.m[Wrap] *= w.m[Sym]),
    OP("A *= A", 0, w.m[A] *= w.m[A]),
    OP("Transpose", 0, sink = Touch(w.m[Wide].Transpose())),
    OP("Identity", 0, sink = Touch(KoMatrix::Identity(4))),
    OP("DiagForm(n, values)", 0, sink = Touch(KoMatrix::DiagForm(3, w.buffer))),
    OP("DiagForm(vector)", 0, sink = Touch(KoMatrix::DiagForm(std::vector<double>{1, 2}))),
    OP("GetRow", 0, sink = Touch(w.m[A].GetRow(1, 2))),
    OP("GetColumn", 0, sink = Touch(w.m[A].GetColumn(0, 1))),
    OP("AddRow", 0, (void)w.m[A].AddRow(1, 2, w.m[Wide])),
    OP("AddRow of itself", 0, (void)w.m[Tall].AddRow(0, 2, w.m[Tall])),
    OP("AddColumn", 0, (void)w.m[A].AddColumn(3, 4, w.m[Tall])),
    // Norms, property tests, elimination.
    OP("MatrixInfiniteNorm", 0, sink = w.m[A].MatrixInfiniteNorm()),
    OP("MatrixNorm(1)", 0, sink = w.m[A].MatrixNorm(1)),
    OP("MatrixNorm(2)", 0, sink = w.m[Wide].MatrixNorm(2)),
    OP("IsSpecialMatrix(Normal)", 0, sink = w.m[A].IsSpecialMatrix(KoMatrix::Normal)),
    OP("IsSpecialMatrix(Orthogonal)", 0, sink = w.m[A].IsSpecialMatrix(KoMatrix::Orthogonal)),
    OP("IsSpecialMatrix(Symmetric)", 0, sink = w.m[Sym].IsSpecialMatrix(KoMatrix::Symmetric)),
    OP("IsSpecialMatrix(Singular)", 0, sink = w.m[Sing].IsSpecialMatrix(KoMatrix::Singular)),
    OP("GaussElimination(echelon)", Bit(Out1), (void)w.m[A].GaussElimination(w.m[Out1])),
    OP("GaussElimination(rhs, x, reduced)", Bit(Out1) | Bit(Out2),
       (void)w.m[A].GaussElimination(w.m[Rhs], w.m[Out1], w.m[Out2])),
    OP("Rank", 0, sink = w.m[Sing].Rank()),
    OP("Rank(basis)", Bit(Out1), sink = w.m[Sing].Rank(w.m[Out1])),
    OP("Det", 0, sink = w.m[A].Det()),
    // Decompositions.
    OP("QR Gram-Schmidt", Bit(Out1) | Bit(Out2),
       (void)w.m[Tall].QRDecomposition(w.m[Out1], w.m[Out2], KoMatrix::GramSchmidt)),
    OP("QR Householder", Bit(Out1) | Bit(Out2),
       (void)w.m[Tall].QRDecomposition(w.m[Out1], w.m[Out2], KoMatrix::Householder)),
    OP("QR Givens", Bit(Out1) | Bit(Out2),
       (void)w.m[A].QRDecomposition(w.m[Out1], w.m[Out2], KoMatrix::Givens)),
    OP("QR Householder into A itself", Bit(A) | Bit(Out2),
       (void)w.m[A].QRDecomposition(w.m[A], w.m[Out2], KoMatrix::Householder)),
    OP("BiDiagonalize", Bit(Out1) | Bit(Out2) | Bit(Out3),
       (void)w.m[Wide].BiDiagonalize(w.m[Out1], w.m[Out2], w.m[Out3])),
    OP("EigenValues", Bit(Out1), (void)w.m[Sym].EigenValues(w.m[Out1])),
    OP("Eigen", Bit(Out1) | Bit(Out2), (void)w.m[Sym].Eigen(w.m[Out1], w.m[Out2])),
    OP("Eigen into a wrapping output", Bit(Out1) | Bit(Wrap),
       (void)w.m[Sym].Eigen(w.m[Out1], w.m[Wrap])),
    OP("SVDDecomposition", Bit(Out1) | Bit(Out2) | Bit(Out3),
       (void)w.m[Tall].SVDDecomposition(w.m[Out1], w.m[Out2], w.m[Out3])),
    OP("SubSVDDecomposition", Bit(Out1) | Bit(Out2) | Bit(Out3),
       (void)w.m[Wide].SubSVDDecomposition(w.m[Out1], w.m[Out2], w.m[Out3])),
    OP("Inv", 0, sink = Touch(w.m[Sing].Inv())),
    // Fixed-size matrices.
    OP("Matrix3x1 constructors", 0, std::vector<double> v{1, 2, 3};
       sink = Touch(Matrix3x1()) + Touch(Matrix3x1(w.v1)) + Touch(Matrix3x1(1, 2, 3)) +
              Touch(Matrix3x1(v))),
    OP("Matrix3x1 value forms", 0,
       sink = Touch(w.v1 + w.v2) + Touch(w.v1 - w.v2) + Touch(w.v1 + 1.0) + Touch(w.v1 - 1.0) +
              Touch(w.v1 * 2.0) + Touch(w.v1 / 2.0) + Touch(w.v1.HadamardProduct(w.v2)) +
              Touch(w.v1.HadamardDivision(w.v2)) + Touch(w.v1.HadamardPower(2)) +
              Touch(w.v1.HadamardPower(0.5)) + Touch(w.v1.Rounding(1))),
    OP("Matrix3x3 constructors", 0, std::vector<double> v(9, 1.0);
       sink = Touch(Matrix3x3()) + Touch(Matrix3x3(w.f1)) + Touch(Matrix3x3(w.buffer)) +
              Touch(Matrix3x3(1, 2, 3, 4, 5, 6, 7, 8, 9)) + Touch(Matrix3x3(v)) +
              Touch(Matrix3x3(w.v1)) + Touch(Matrix3x3::Identity())),
    OP("Matrix3x3 value forms", 0,
       sink = Touch(w.f1 + w.f2) + Touch(w.f1 - w.f2) + Touch(w.f1 + 1.0) + Touch(w.f1 - 1.0) +
              Touch(w.f1 * 2.0) + Touch(w.f1 / 2.0) + Touch(w.f1.HadamardProduct(w.f2)) +
              Touch(w.f1.HadamardDivision(w.f2)) + Touch(w.f1.HadamardPower(2)) +
              Touch(w.f1.HadamardPower(0.5)) + Touch(w.f1.Rounding(1)) + Touch(w.f1.Transpose())),
    OP("Matrix3x3 products", 0,
       sink = Touch(w.f1 * w.f2) + Touch(w.f1 * w.v1) + Touch(w.f1 * w.m[Tall]) + Touch(w.f1 ^ 3)),
    OP("Matrix3x3 ^=", 0, w.f2 ^= 3),
    OP("Matrix3x3 Inv, regular", 0, sink = Touch(w.f1.Inv())),
    OP("Matrix3x3 Inv, singular", 0, sink = Touch(w.f2.Inv())),
    // Geometry.
    OP("KoPolygon constructors", 0,
       const KoPoint p[3] = {KoPoint(0, 0), KoPoint(1, 0), KoPoint(0, 1)};
       sink = KoPolygon().size() + KoPolygon(std::vector<KoPoint>(4)).size() +
              KoPolygon(p, 3).size() + KoPolygon(p[0], p[1], p[2]).size() +
              KoPolygon(w.poly).size()),
    OP("KoPolygon operator=, other count", 0, w.poly = w.t1),
    OP("KoTriangle constructors", 0,
       const KoPoint p[3] = {KoPoint(0, 0), KoPoint(1, 0), KoPoint(0, 1)};
       sink = KoTriangle().size() + KoTriangle(0, 0, 1, 0, 0, 1).size() +
              KoTriangle(std::vector<double>{0, 0}, {1, 0}, {0, 1}).size() +
              KoTriangle(std::vector<KoPoint>(p, p + 3)).size() + KoTriangle(p).size() +
              KoTriangle(p[0], p[1], p[2]).size() + KoTriangle(w.t1).size()),
    OP("CalculatePolygonvertex", 0, sink = w.t1.CalculatePolygonvertex(w.t2).size()),
    OP("SegmentIntersection, one point", 0, sink = w.l1.SegmentIntersection(w.l2, w.segment)),
    OP("SegmentIntersection, collinear", 0, sink = w.l3.SegmentIntersection(w.l4, w.segment)),
};

// Members that never allocate.
const Operation kNonAllocating[] = {
    OP("in-place element-wise forms", 0, w.m[A] += w.m[Sym]; w.m[A] -= w.m[Sym]; w.m[A] += 1.0;
       w.m[A] -= 1.0; w.m[A] *= 2.0; w.m[A] /= 2.0; w.m[A].SmallElementToZero();
       w.m[Wrap] += w.m[A]),
    OP("queries", 0, int index = 0;
       sink = (w.m[A] == w.m[Sym]) + w.m[A].IsSameDimension(w.m[Tall]) + w.m[A].Trace() +
              w.m[A].Max(index) + w.m[A].Max() + w.m[A].Min(index) + w.m[A].Min() +
              w.m[A].ElementWiseInfiniteNorm() + w.m[A].ElementWiseNorm(2) + w.m[A].Det(w.m[Sym]) +
              w.m[A].IsSpecialMatrix(KoMatrix::Square) + w.m[A].at(1, 2) + w.m[A](2, 1) +
              w.m[A].RowSize()),
    OP("SetRow", 0, (void)w.m[A].SetRow(0, 1, w.m[Wide])),
    OP("SetColumn", 0, (void)w.m[A].SetColumn(1, 2, w.m[Tall])),
    OP("refused SetRow", 0, (void)w.m[A].SetRow(0, 0, w.m[Tall])),
    OP("refused AddRow", 0, (void)w.m[Wrap].AddRow(0, 0, w.m[A])),
    OP("refused AddColumn", 0, (void)w.m[A].AddColumn(0, 0, w.m[Wide])),
    OP("refused assignment", 0, w.m[Wrap] = w.m[Tall]),
    OP("assignment into wrapped", 0, w.m[Wrap] = w.m[Sym]),
    OP("refused *=", 0, w.m[Tall] *= w.m[Tall]),
    OP("refused QR", 0,
       (void)w.m[A].QRDecomposition(w.m[Out1], w.m[Out2], static_cast<KoMatrix::QRMethod>(3))),
    OP("refused EigenValues", 0, (void)w.m[A].EigenValues(w.m[Wrap])),
    OP("fixed-size in-place forms and queries", 0, int index = 0; w.v1 += w.v2; w.v1 -= w.v2;
       w.v1 *= 2.0; w.v1 /= 2.0; w.v1 = w.v2; w.f1 += w.f2; w.f1 -= w.f2; w.f1 *= 2.0; w.f1 /= 2.0;
       w.f1.DiagFrom(w.v1); w.f1 = w.f2; w.f1 *= w.f2; w.f1 *= w.f1;
       sink = (w.v1 == w.v2) + w.v1.Max(index) + w.v1.Min() + w.v1.RMSE(w.v2) + w.f1.Det() +
              w.f1.Max(index) + w.f1.Min() + w.f1.RMSE(w.f2)),
    OP("geometry without results", 0, KoPoint p; w.t1 = w.t2;
       sink =
           w.t1.CoverageArea(w.t2) + w.poly.SortVertice().Area() + w.poly.IsNonSelfIntersection() +
           w.t1.CheckClockwise() + w.l1.CheckSide(KoPoint(1, 0)) + w.l1.LineIntersection(w.l2, p) +
           KoLine(0, 1, 2, 1).SegmentIntersection(w.l3, w.segment) + KoPoint(1, 2).IsBetween(p, p)),
    OP("complex numbers and the version", 0, Complex z(1, 2); Complex u(3, 4); int version[4];
       z *= u; z /= u; z += u; z -= u; Calvix::Version(version);
       sink = Complex(z * u).abs() + (z / u).GetReal() + z.Conjugate().GetImage() + version[0]),
};

#undef OP

// ---- The sweep --------------------------------------------------------------------------------

// The heap blocks a vector of states holds.
long BlocksOf(const std::vector<State>& states) {
    long blocks = states.capacity() > 0 ? 1 : 0;
    for (const State& s : states) {
        blocks += s.capacity() > 0 ? 1 : 0;
    }
    return blocks;
}

// Runs `op` on a fresh world with allocation `failAt` failing (0: none) and returns what went
// wrong (empty when nothing did). `reference` holds the states a successful run leaves; when
// `states` (empty on entry) is given it receives the final states of this run instead of their
// being checked.
std::string RunOnce(const Operation& op, long failAt, counting_new::FailMode mode,
                    const std::vector<State>* reference, std::vector<State>* states,
                    long* allocations) {
    std::string problem;
    problem.reserve(1024);  // allocated before the live blocks are counted
    const long liveBefore = counting_new::LiveBlocks();
    // In a thread of its own: the fixed-size types keep a per-thread cache of blocks, which a
    // new thread starts empty (every run sees the same allocations) and returns to the heap
    // when it ends (before the live blocks are counted again).
    std::thread([&] {
        World w;
        const std::vector<State> before = States(w, problem);
        bool badAlloc = false;
        counting_new::Arm(failAt, mode);
        try {
            op.run(w);
        } catch (const std::bad_alloc& e) {
            badAlloc = true;
            if (typeid(e) != typeid(std::bad_alloc)) {
                problem += std::string(" ") + typeid(e).name() + " escaped;";
            }
        } catch (...) {
            problem += " an exception other than std::bad_alloc escaped;";
        }
        counting_new::Disarm();
        if (allocations != nullptr) {
            *allocations = counting_new::Allocations();
        }
        const bool injected = counting_new::Injected();
        if (failAt > 0 && !injected) {
            problem += " fewer allocations than counted (not deterministic?);";
        }
        if (injected && !badAlloc) {
            problem += " a failed allocation was swallowed;";
        }
        if (!injected && badAlloc) {
            problem += " std::bad_alloc without a failed allocation;";
        }
        const std::vector<State> after = States(w, problem);
        if (states != nullptr) {
            *states = after;
        } else {
            for (int i = 0; i < kObjectCount; ++i) {
                const bool untouched = after[i] == before[i];
                const bool complete = (op.outputs & (1u << i)) != 0 && after[i] == (*reference)[i];
                if (!untouched && !complete) {
                    problem += " object " + std::to_string(i) +
                               ((op.outputs & (1u << i)) != 0 ? " neither complete nor untouched;"
                                                              : " changed;");
                }
            }
        }
    }).join();
    const long leaked =
        counting_new::LiveBlocks() - liveBefore - (states != nullptr ? BlocksOf(*states) : 0);
    if (leaked != 0) {
        problem += " " + std::to_string(leaked) + " blocks leaked;";
    }
    return problem;
}

bool FullSweep() {
    const char* mode = std::getenv("KOCALVIX_ALLOC_SWEEP");
    return mode != nullptr && std::strcmp(mode, "full") == 0;
}

// Test names end in "Threads" (each run has a thread of its own): emulated 32-bit runs, which
// cannot start threads, leave them out.
TEST(AllocationFailure, EveryAllocationOfEveryPublicMemberInFreshThreads) {
    const bool full = FullSweep();
    long swept = 0;
    for (const Operation& op : kOperations) {
        std::vector<State> reference;
        long count = 0;
        const std::string first =
            RunOnce(op, 0, counting_new::FailMode::OnlyThat, nullptr, &reference, &count);
        ASSERT_EQ(first, "") << op.name << " without failures";
        EXPECT_GT(count, 0) << op.name << " allocates nothing: move it to the other table";
        if (count > kQuickLimit && !full) {
            continue;
        }
        ++swept;
        for (long k = 1; k <= count; ++k) {
            for (const auto mode :
                 {counting_new::FailMode::OnlyThat, counting_new::FailMode::FromThereOn}) {
                const std::string problem = RunOnce(op, k, mode, &reference, nullptr, nullptr);
                ASSERT_EQ(problem, "")
                    << op.name << ": allocation " << k << " of " << count << " failing"
                    << (mode == counting_new::FailMode::OnlyThat ? " alone" : " and after");
            }
        }
    }
    std::printf("%ld of %zu operations swept%s\n", swept, std::size(kOperations),
                full ? "" : " (KOCALVIX_ALLOC_SWEEP=full sweeps all)");
}

void* leakedBlock = nullptr;

// The harness itself: operations that break each promise must be reported.
TEST(AllocationFailure, HarnessReportsBrokenPromisesInFreshThreads) {
    const Operation broken[] = {
        {"leaks when the second allocation fails",
         [](World&) {
             // A direct call: a new-expression paired with its delete may be optimised away.
             // The block stays reachable, so that LeakSanitizer leaves it to this test.
             leakedBlock = ::operator new(sizeof(double));
             sink = Touch(KoMatrix(2, 2));
             ::operator delete(leakedBlock);
             leakedBlock = nullptr;
         },
         0},
        {"swallows the failure",
         [](World&) {
             try {
                 sink = Touch(KoMatrix(2, 2));
             } catch (const std::bad_alloc&) {
             }
         },
         0},
        {"changes its target before failing",
         [](World& w) {
             w.m[A] *= 2.0;
             sink = Touch(KoMatrix(2, 2));
         },
         0},
        {"fills one output element by element",
         [](World& w) {
             for (int k = 0; k < 4; ++k) {
                 w.m[Out1][k] = 0.0;
                 sink = Touch(KoMatrix(1, 1));
             }
         },
         Bit(Out1)},
    };
    for (const Operation& op : broken) {
        std::vector<State> reference;
        long count = 0;
        ASSERT_EQ(RunOnce(op, 0, counting_new::FailMode::OnlyThat, nullptr, &reference, &count),
                  "");
        bool reported = false;
        for (long k = 1; k <= count && !reported; ++k) {
            reported =
                !RunOnce(op, k, counting_new::FailMode::OnlyThat, &reference, nullptr, nullptr)
                     .empty();
        }
        EXPECT_TRUE(reported) << op.name;
    }
    ::operator delete(leakedBlock);
}

TEST(AllocationFailure, MembersThatMustNotAllocateDoNotInFreshThreads) {
    for (const Operation& op : kNonAllocating) {
        long count = -1;
        std::vector<State> states;
        EXPECT_EQ(RunOnce(op, 0, counting_new::FailMode::OnlyThat, nullptr, &states, &count), "")
            << op.name;
        EXPECT_EQ(count, 0) << op.name;
    }
}

}  // namespace

// SPDX-License-Identifier: MIT
// What a hostile host can do: fail any allocation of any public member, ask for giant empty
// shapes, run 16 threads at once; a counting operator new sees the statically linked library.
#include <gtest/gtest.h>
#include <kocalvix/complex.h>
#include <kocalvix/diagnostics.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <thread>
#include <typeinfo>
#include <utility>

#include "../support/public_operations.h"

namespace {
using namespace test_support;
std::atomic<long> allocations{0}, live{0}, failAt{0}, onward{0}, injected{0};
std::atomic<std::size_t> sizeLimit{0};  // larger requests fail (0: none)
// Fails allocation number failAt since it was set (with `onward`, every later one too) and
// requests above the size limit: with std::bad_alloc, or null for the nothrow forms.
void* New(std::size_t size, std::size_t align, bool nothrow) {
    const long n = ++allocations, at = failAt;
    const bool fail = (at > 0 && (n == at || (n > at && onward))) || size > sizeLimit - 1;
    void* p = fail ? nullptr : std::aligned_alloc(align, (size / align + 1) * align);
    injected = injected || fail;
    live += p != nullptr;
    return p != nullptr || nothrow ? p : throw std::bad_alloc();
}
constexpr auto Release = [](void* p) noexcept { live -= p != nullptr, std::free(p); };
// clang-format off
#define OP(outputs, ...) Operation{#__VA_ARGS__,                                         \
    []([[maybe_unused]] World& w, [[maybe_unused]] KoMatrix* m) { __VA_ARGS__; }, outputs}
enum { A, Sym, Sing, Tall, Wide, Rhs, O1, O2, O3, Wrap, V0, Poly = V0 + 4, Lines = Poly + 3 };
struct World {
    double buffer[9] = {2, -1, 0, -1, 2, -1, 0, -1, 2};
    // 3 x 3 regular, symmetric, singular; 3 x 2; 2 x 3; 3 x 1; O1-O3 unlike any result; Wrap.
    KoMatrix m[Wrap + 1] = {{{4, 1, 2}, {0.5, 3, 1}, {2, 1, 5}}, {{2, 1, 0}, {1, 3, 1}, {0, 1, 4}},
        {{1, 2, 3}, {2, 4, 6}, {1, 0, 1}}, {{1, 2}, {3, 4}, {5, 7}}, {{1, 2, 3}, {4, 5, 7}},
        {{1}, {2}, {3}}, {{-7.5, 8.25}, {9.125, -10.0}}, {{-7.5, 8.25}, {9.125, -10.0}},
        {{-7.5, 8.25}, {9.125, -10.0}}, {3, 3, buffer, KoMatrix::ShallowCopy}};
    // clang-format on
    Matrix3x1 v[2] = {{1.5, -2.0, 0.25}, {-3.0, 0.5, 4.0}};
    Matrix3x3 f[2] = {{4, 1, 2, 0.5, 3, 1, 2, 1, 5}, {1, 2, 3, 2, 4, 6, 1, 0, 1}};
    KoPolygon poly{std::vector<KoPoint>{{1, 1}, {0, 0}, {1, 0}, {0, 1}, {0.5, 2}}};
    KoTriangle t[2] = {{0, 0, 6, 0, 3, 6}, {0, 4, 6, 4, 3, -2}};             // a six-pointed star
    KoLine l[4] = {{0, 0, 2, 2}, {0, 2, 2, 0}, {0, 0, 2, 0}, {1, 0, 3, 0}};  // cross; overlap
    KoPoint* segment = new KoPoint[1]{KoPoint(9, 9)};  // SegmentIntersection's caller's array
    ~World() { delete[] segment; }                     // never copied
};
// One word per object, a digest of its shape and bits (only of its shape where its element count
// disagrees); with `problem`, also checks that they agree and that a copy has the same bits.
using States = std::array<std::uint64_t, Lines + 1>;
std::uint64_t Hash(const KoMatrix& a, std::string* problem = nullptr) {
    const bool shaped = a.RowSize() >= 0 && a.ColumnSize() >= 0 &&
                        1LL * a.RowSize() * a.ColumnSize() == a.ElementNum();
    Digest d;
    const std::uint64_t h = (shaped ? d << a : d << a.RowSize() << a.ColumnSize()).Value();
    if (problem != nullptr && (!shaped || Hash(KoMatrix(a)) != h))
        *problem += " inconsistent matrix;";
    return h;
}
States StatesOf(const World& w, std::string* problem = nullptr) {
    States s{};
    const KoMatrix* fixed[] = {&w.v[0], &w.v[1], &w.f[0], &w.f[1]};
    for (int i = 0; i < Poly; ++i)
        s[i] = Hash(i < V0 ? w.m[i] : *fixed[i - V0], problem);
    Digest polygons[3], lines;
    for (int i = Poly; i < Lines; ++i)
        s[i] = (polygons[i - Poly] << (i == Poly ? w.poly : w.t[i - Poly - 1])).Value();
    for (const KoLine& l : w.l)
        lines << l[0] << l[1];
    s[Lines] = (lines << w.segment[0]).Value();
    return s;
}
constexpr auto Touch = [](const auto&...) {};  // takes results computed for their allocations
thread_local Digest unread;                    // and the digests of such results
constexpr unsigned k1 = 1u << O1, kNoAlloc = 1u << 31;
struct Operation {
    const char* name;  // the row's code
    std::function<void(World& w, KoMatrix* m)> run;
    unsigned outputs;  // objects that may hold their result after a failure, or kNoAlloc
};
const Operation kOperations[] = {
    OP(0, m[O1] = m[A]), OP(0, m[A] *= m[Tall]), OP(0, m[Wrap] *= m[Sym]), OP(0, m[A] *= m[A]),
    OP(0, (void)m[A].AddRow(1, 2, m[Wide])), OP(0, (void)m[Tall].AddRow(0, 2, m[Tall])),
    OP(0, (void)m[A].AddColumn(3, 4, m[Tall])),
    OP(1u << A | 1u << O2, (void)m[A].QRDecomposition(m[A], m[O2], KoMatrix::Householder)),
    OP(k1 | 1u << Wrap, (void)m[Sym].Eigen(m[O1], m[Wrap])),
    OP(0, Matrix3x1Members(unread, w.v[0], "random"); Matrix3x3Members(unread, w.f[0], "")),
    OP(0, Matrix3x1Members(unread, w.v[1], "reshaped empty");
       Matrix3x3Members(unread, w.f[1], "reshaped 3x4")),
    OP(0, PolygonMembers(unread, {{1, 1}, {0, 0}, {1, 0}, {0, 1}, {0.5, 2}});
       TrianglePair(unread, w.t[0], w.t[1]); LinePair(unread, w.l[0], w.l[1]);
       Touch(KoPolygon(w.poly).size(), KoTriangle(w.t[0]).size())),
    OP(0, w.f[1] ^= 3), OP(0, w.poly = w.t[0]), OP(0, m[O2] = std::move(m[Wrap])),
    OP(0, Touch(KoMatrix(std::move(m[O1])))), OP(0, Touch(KoPolygon(std::move(w.poly)).size())),
    OP(0, Touch(KoMatrix(std::move(m[Wrap])), KoMatrix(std::move(w.v[0])))),
    OP(0, Touch(w.l[0].SegmentIntersection(w.l[1], w.segment))),
    OP(0, Touch(w.l[2].SegmentIntersection(w.l[3], w.segment))),
    // Members that must not allocate: in-place forms, moves, queries, refusals.
    OP(kNoAlloc, m[A] += m[Sym]; m[A] -= m[Sym]; m[A] += 1.0; m[A] -= 1.0; m[A] *= 2.0; m[A] /= 2.0;
       m[A].SmallElementToZero(); m[Wrap] += m[A]; m[Wrap] = m[Sym];
       (void)m[A].SetRow(0, 1, m[Wide]); (void)m[A].SetColumn(1, 2, m[Tall])),
    OP(kNoAlloc, int i = 0;
       Touch(m[A] == m[Sym], m[A].IsSameDimension(m[Tall]), m[A].Trace(), m[A].Max(i), m[A].Max(),
             m[A].Min(i), m[A].Min(), m[A].ElementWiseInfiniteNorm(), m[A].ElementWiseNorm(2),
             m[A].Det(m[Sym]), m[A].IsSpecialMatrix(KoMatrix::Square), m[A].at(1, 2), m[A](2, 1),
             m[A].data(), m[A].begin(), m[A].end());
       m[O1] = std::move(m[O2])),
    OP(kNoAlloc, (void)m[A].SetRow(0, 0, m[Tall]); (void)m[Wrap].AddRow(0, 0, m[A]);
       (void)m[A].AddColumn(0, 0, m[Wide]); m[Wrap] = m[Tall]; m[Tall] *= m[Tall];
       (void)m[A].QRDecomposition(m[O1], m[O2], static_cast<KoMatrix::QRMethod>(3));
       (void)m[A].EigenValues(m[Wrap])),
    OP(kNoAlloc, int i = 0; Matrix3x1& v = w.v[0], &u = w.v[1]; Matrix3x3& a = w.f[0], &b = w.f[1];
       v += u; v -= u; v *= 2.0; v /= 2.0; v = u; a += b; a -= b; a *= 2.0; a /= 2.0; a.DiagFrom(v);
       a = b; a *= b; a *= a;
       Touch(v == u, v.Max(i), v.Min(), v.RMSE(u), a.Det(), a.Max(i), a.Min(), a.RMSE(b))),
    OP(kNoAlloc, KoPoint p; KoPoint3D q(1, 2, 3); w.t[0] = w.t[1];
       Touch(w.t[0].CoverageArea(w.t[1]), w.poly.SortVertice().Area(), w.t[0].CheckClockwise(),
             w.poly.IsNonSelfIntersection(), w.l[0].CheckSide(KoPoint(1, 0)), p.IsSameline(p, p),
             w.l[0].LineIntersection(w.l[1], p), KoPoint(1, 2).IsBetween(p, p), q + q < q, -q,
             2.0 * q, 2.0 * p, -p, p.IsBetweenWithoutCheck(p, p),
             KoLine(0, 1, 2, 1).SegmentIntersection(w.l[2], w.segment))),
    OP(kNoAlloc, Complex z(1, 2); Complex u(3, 4); int version[4]; z *= u; z /= u; z += u; z -= u;
       z.SetReal(1); z.SetImage(2); Calvix::Version(version); w.poly = std::move(w.t[1]);
       Touch(Complex(z * u).abs(), (z / u).GetReal(), z.Conjugate().GetImage(), version[0],
             Calvix::ProductKernel(), Calvix::ThreadCount()))};
// The rows above, then every operation of the shared tables: on the symmetric, singular, tall and
// wide matrices, and those with outputs writing into O1 .. O3 (the diagnostics form too).
std::vector<Operation> Operations() {
    std::vector<Operation> all(std::begin(kOperations), std::end(kOperations));
    for (const auto& op : kMatrixOperations) {
        for (int in : {Sym, Sing, Tall, Wide})
            all.push_back(
                {op.first, [&op, in](World&, KoMatrix* m) { op.second(unread, m[in]); }, 0});
    }
    for (const auto& op : kConstructions)
        all.push_back({op.first, [&op](World&, KoMatrix*) { op.second(unread); }, 0});
    for (const OperationWithOutputs& op : kOperationsWithOutputs) {
        for (const Call call : {op.call, op.diagnosed}) {
            if (call != nullptr && op.refusal != InvalidMethod) {
                const auto run = [call](World&, KoMatrix* m) {
                    KoMatrix* const out[] = {m + O1, m + O2, m + O3};
                    (void)call(m[Sym], out);
                };
                all.push_back({op.name, run, ((1u << op.outputs()) - 1) << O1});
            }
        }
    }
    return all;
}
// The first problem of `op`, or "": one run counts its allocations, then each fails alone and with
// every later one (if at most 300, or KOCALVIX_ALLOC_SWEEP=full); fresh world and thread per run.
std::string Sweep(const Operation& op) {
    const char* mode = std::getenv("KOCALVIX_ALLOC_SWEEP");
    long count = 0, limit = mode != nullptr && std::strcmp(mode, "full") == 0 ? LONG_MAX : 300;
    States success{};
    std::string problem;  // allocates only once a problem is found, so it hides no leak
    for (long run = 1; problem.empty() && run < 2 + 2 * (count <= limit ? count : 0); ++run) {
        const long k = run / 2, liveBefore = live;
        std::thread([&] {
            World w;
            const States before = StatesOf(w, &problem);
            const char* escaped = "nothing";
            allocations = 0, injected = false, onward = run % 2, failAt = k;
            try {
                op.run(w, w.m);
            } catch (const std::exception& e) {
                escaped = typeid(e).name();
            }
            failAt = 0;
            count = k == 0 ? allocations.load() : count;
            if (injected != (k > 0) ||
                std::strcmp(escaped, k ? typeid(std::bad_alloc).name() : "nothing"))
                problem += std::string(injected ? " " : " none failed; ") + escaped + " escaped;";
            problem += k == 0 && (count == 0) != (op.outputs == kNoAlloc) ? " wrong count;" : "";
            const States after = StatesOf(w, &problem);
            for (int i = 0; k > 0 && i <= Lines; ++i)
                if (after[i] != before[i] && !(op.outputs >> i & 1 && after[i] == success[i]))
                    problem += " object " + std::to_string(i) + " neither untouched nor complete;";
            success = k == 0 ? after : success;
        }).join();
        if (problem.empty() && live != liveBefore)
            problem = " " + std::to_string(live - liveBefore) + " leaked";
        if (!problem.empty())
            problem = "allocation " + std::to_string(k) + " of " + std::to_string(count) +
                      (run % 2 ? " and every later one failing:" : " failing:") + problem;
    }
    if (count > limit)
        std::printf("not swept (%ld allocations): %s\n", count, op.name);
    return problem;
}
void* leaked = nullptr;  // reachable, so that LeakSanitizer leaves it to the harness
TEST(AllocationFailure, EveryAllocationOfEveryPublicMemberInFreshThreads) {
    for (const Operation& op : Operations())
        EXPECT_EQ(Sweep(op), "") << op.name;
    const Operation broken[] = {  // the harness itself: each breaks a promise
        OP(0, leaked = ::operator new(8); Touch(KoMatrix(2, 2)); ::operator delete(leaked);
           leaked = nullptr),
        OP(0, ::operator delete(::operator new(8, std::nothrow))),  // swallows the failure
        OP(0, m[A] *= 2.0; Touch(KoMatrix(2, 2))),
        OP(k1, for (int k = 0; k < 4; ++k) m[O1][k] = KoMatrix(1, 1)[0])
    };
    for (const Operation& op : broken)
        EXPECT_NE(Sweep(op), "") << op.name;
    ::operator delete(leaked);
}
const char* volatile watched = "";  // the operation under the watchdog
extern "C" void OnAlarm(int) {      // async-signal-safe calls only
    (void)!write(2, watched, std::strlen(watched));
    (void)!write(2, "\n did not return within a second\n", 33);
    _exit(EXIT_FAILURE);
}
constexpr int N = INT_MAX;  // the giant dimension
using TooLarge = std::bad_array_new_length;
bool Is(const KoMatrix& m, double rows, double columns) {
    return m.RowSize() == rows && m.ColumnSize() == columns;
}
// Rows: which matrix they take (1: 0 x n, 2: n x 0, 3: both), then what must hold. Where a
// result must have a shape that cannot be (n x n for 0 x n), std::bad_array_new_length.
TEST(EmptyGiantShapes, ReturnAtOnceAndAllocateOnlyForTheirResults) {
    const Operation cases[] = {
        OP(2, EXPECT_TRUE(Is(*m * KoMatrix(0, 0), N, 0) && Is(m->GetColumn(0, -1), N, 0))),
        OP(3, EXPECT_TRUE(Is(m->Transpose(), m->ColumnSize(), m->RowSize()) && m->Rank() == 0)),
        OP(3, EXPECT_TRUE(Is(m->Inv(), m->ColumnSize(), m->RowSize()))),
        OP(3, EXPECT_FALSE(m->MatrixNorm(1) + m->MatrixNorm(2) + m->MatrixInfiniteNorm())),
        OP(1, KoMatrix a(0, 0), b, e, x, r; EXPECT_TRUE(Is(a * *m, 0, N)); a *= *m;
           EXPECT_TRUE(Is(a, 0, N) && m->ToVec().empty() && m->Rank(b) == 0 && Is(b, 0, 1) &&
                       m->GaussElimination(e) == NoError && Is(e, 0, N) &&
                       m->GaussElimination(KoMatrix(0, 1), x, r) == NotSquare && Is(x, 0, 1) &&
                       Is(r, 0, N))),
        OP(3, KoMatrix U, S, V; EXPECT_TRUE(m->SubSVDDecomposition(U, S, V) == NoError &&
                                            Is(U, m->RowSize(), 0) && Is(V, m->ColumnSize(), 0))),
        OP(2, KoMatrix Q, R;
           EXPECT_FALSE(m->QRDecomposition(Q, R, KoMatrix::GramSchmidt) || !Is(R, 0, 0))),
        OP(1, KoMatrix Q, R; EXPECT_EQ(m->QRDecomposition(Q, R, KoMatrix::Householder), NoError);
           EXPECT_THROW((void)m->QRDecomposition(Q, R, KoMatrix::GramSchmidt), TooLarge)),
        OP(3, KoMatrix U, S, V; EXPECT_THROW((void)m->SVDDecomposition(U, S, V), TooLarge))
    };
    World w;
    KoMatrix empty[2] = {{0, N}, {N, 0}};
    sizeLimit = 1 << 16;  // none may ask for more than a few kilobytes
    std::signal(SIGALRM, OnAlarm);
    for (std::size_t i = 0; i < 2 * std::size(cases); ++i) {
        if (const Operation& c = cases[i / 2]; c.outputs >> i % 2 & 1) {
            watched = c.name;
            alarm(1);  // microseconds without elements, seconds for a loop over 2^31
            EXPECT_NO_THROW(c.run(w, &empty[i % 2])) << c.name << " on matrix " << i % 2;
            alarm(0);
        }
    }
    sizeLimit = 0;
}
TEST(ThreadStress, ResultsMatchOneThreadAcrossSixteenThreads) {
    Calvix::SetThreadCount(4);
    const KoMatrix large = KoMatrix::Identity(192) * 3.0 + 0.25;
    const std::vector<Operation> operations = Operations();
    const World shared;  // read by every thread, each working on a world of its own
    std::array<States, 16> expected, results;
    std::vector<std::thread> threads;
    auto work = [&](int seed) {
        World w;
        w.buffer[0] = w.m[A][0] = w.f[0][0] = seed;
        for (const Operation& op : operations)
            op.run(w, w.m);
        w.m[O1] = (large + seed) * large, w.m[O2] = large * large.Transpose();
        w.m[O3] = shared.m[Sing].Inv() * (shared.m[Wide].MatrixNorm(2) + shared.m[A].Rank());
        w.m[Rhs] = shared.f[0].Inv();
        return StatesOf(w);
    };
    for (int seed = 0; seed < 16; ++seed)
        expected[seed] = work(seed);
    std::array<std::vector<Matrix3x3>, 16> made;  // fixed-size values released by another thread
    for (int seed = 0; seed < 16; ++seed)
        threads.emplace_back([&, seed] {
            results[seed] = work(seed), made[seed].assign(40, Matrix3x3::Identity() * seed);
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(results, expected);
    made = {};
    Calvix::SetThreadCount(0);
}
// clang-format off
}  // namespace
// Every replaceable form, so that none falls through to a sanitizer's own.
#define KOCALVIX_NEW(x, al, P)                                                                  \
    void* operator new x(std::size_t n P) { return New(n, al, false); }                        \
    void* operator new x(std::size_t n P, const std::nothrow_t&) noexcept { return New(n, al, 1); }\
    void operator delete x(void* p P) noexcept { Release(p); }                                 \
    void operator delete x(void* p, std::size_t P) noexcept { Release(p); }                    \
    void operator delete x(void* p P, const std::nothrow_t&) noexcept { Release(p); }
#define KOCALVIX_ALIGNED , [[maybe_unused]] std::align_val_t a
KOCALVIX_NEW(, __STDCPP_DEFAULT_NEW_ALIGNMENT__, )
KOCALVIX_NEW([], __STDCPP_DEFAULT_NEW_ALIGNMENT__, )
KOCALVIX_NEW(, std::size_t(a), KOCALVIX_ALIGNED) KOCALVIX_NEW([], std::size_t(a), KOCALVIX_ALIGNED)

// SPDX-License-Identifier: MIT
// Many threads at once: each does independent work on its own objects and reads objects shared
// by all of them (const members only), including products large enough for the product kernel
// to split across its own threads. Every result must be bitwise the one a single-threaded run
// gives. Built with the tsan preset, ThreadSanitizer checks the same run for data races.
#include <gtest/gtest.h>
#include <kocalvix/complex.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/matrix.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 16;
constexpr int kLargeOrder = 192;

KoMatrix Random(int rows, int cols, std::mt19937& rng) {
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    KoMatrix m(rows, cols);
    for (int k = 0; k < m.ElementNum(); ++k) {
        m[k] = value(rng);
    }
    return m;
}

// Objects every thread reads at the same time.
struct Shared {
    std::mt19937 rng{2024};
    const KoMatrix large = Random(kLargeOrder, kLargeOrder, rng);
    const KoMatrix small = Random(5, 4, rng);
    const Matrix3x3 fixed{4, 1, 2, 0.5, 3, 1, 2, 1, 5};
    KoTriangle triangle{0, 4, 6, 4, 3, -2};  // passed by non-const reference, never modified
};

// The bits of every value a unit of work produces.
using Digest = std::vector<std::uint64_t>;

void Add(Digest& d, double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    d.push_back(bits);
}

void Add(Digest& d, const KoMatrix& m) {
    d.push_back(static_cast<std::uint64_t>(m.RowSize()) << 32 |
                static_cast<std::uint32_t>(m.ColumnSize()));
    for (int k = 0; k < m.ElementNum(); ++k) {
        Add(d, m[k]);
    }
}

// One unit of work, fully determined by `seed`.
Digest Work(int seed, Shared& shared) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    Digest d;
    // Own objects.
    const KoMatrix a = Random(6, 4, rng);
    KoMatrix U, S, V, Q, R;
    EXPECT_EQ(a.SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(a.QRDecomposition(Q, R, static_cast<KoMatrix::QRMethod>(seed % 3)), NoError);
    Add(d, U);
    Add(d, S);
    Add(d, Q);
    Add(d, R);
    Add(d, a.Inv());
    const KoMatrix own = Random(kLargeOrder, kLargeOrder, rng);
    Add(d, own * shared.large);
    // Shared objects, read concurrently.
    Add(d, shared.large * shared.large.Transpose());
    Add(d, shared.small.Inv());
    Add(d, shared.small.MatrixNorm(2));
    Add(d, shared.small.Rank());
    Add(d, shared.fixed.Inv() * Matrix3x3(a[0], 1, 0, 0, 1, 0, 0, 0, 1));
    KoTriangle t(0, 0, 6 + seed % 5, 0, 3, 6);
    Add(d, t.CoverageArea(shared.triangle));
    Complex z(seed, 1.5);
    z /= Complex(3, -4);
    Add(d, z.abs());
    return d;
}

// The name ends in "Threads": emulated 32-bit runs (tools/test-i386.sh) leave such tests out.
TEST(ThreadStress, ResultsMatchOneThreadAcrossSixteenThreads) {
    Shared shared;
    std::vector<Digest> expected;
    for (int seed = 0; seed < kThreads; ++seed) {
        expected.push_back(Work(seed, shared));
    }
    std::vector<Digest> results(kThreads);
    std::vector<std::thread> threads;
    for (int seed = 0; seed < kThreads; ++seed) {
        threads.emplace_back([seed, &shared, &results] { results[seed] = Work(seed, shared); });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (int seed = 0; seed < kThreads; ++seed) {
        EXPECT_EQ(results[seed], expected[seed]) << "thread " << seed;
    }
}

}  // namespace

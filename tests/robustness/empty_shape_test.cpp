// SPDX-License-Identifier: MIT
// Matrices without elements but with a giant dimension (0 x INT_MAX, INT_MAX x 0): every
// operation must come back at once and allocate only for what its result holds. A hang is
// caught by a watchdog alarm that ends the program; an allocation that scales with the empty
// dimension is refused by the counting allocator's size limit and shows as std::bad_alloc.
#include <gtest/gtest.h>
#include <kocalvix/matrix.h>

#include <sys/time.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <typeinfo>

#include "counting_new.h"

namespace {

// What an operation must do: return, or raise std::bad_array_new_length because a result it
// must deliver (an n x n factor of a 0 x n matrix) cannot have its shape.
enum class Outcome { Returns, ResultTooLarge };

struct Case {
    const char* name;
    Outcome outcome;
    std::function<void(const KoMatrix& a)> run;
};

// The operation under the watchdog, for the message.
const char* volatile watched = "";

extern "C" void OnAlarm(int) {
    // Only async-signal-safe calls here.
    const char* name = watched;
    (void)!write(2, name, std::strlen(name));
    static const char message[] = " did not return within a second\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(EXIT_FAILURE);
}

// Runs `run` and ends the program when it has not returned after a second: work on matrices
// without elements needs microseconds, a loop over an empty dimension of 2^31 needs seconds.
// An alarm signal, not a thread: emulated 32-bit runs cannot start threads.
void WithWatchdog(const char* name, const std::function<void()>& run) {
    watched = name;
    std::signal(SIGALRM, OnAlarm);
    itimerval second{};
    second.it_value.tv_sec = 1;
    setitimer(ITIMER_REAL, &second, nullptr);
    struct Disarm {
        ~Disarm() {
            itimerval off{};
            setitimer(ITIMER_REAL, &off, nullptr);
        }
    } disarm;
    run();
}

void ExpectShape(const KoMatrix& m, int rows, int cols, const char* what) {
    EXPECT_EQ(m.RowSize(), rows) << what;
    EXPECT_EQ(m.ColumnSize(), cols) << what;
}

TEST(EmptyGiantShapes, ReturnAtOnceAndAllocateOnlyForTheirResults) {
    const KoMatrix noRows(0, INT_MAX);
    const KoMatrix noColumns(INT_MAX, 0);
    const Case cases[] = {
        {"product 0x0 * 0xINT_MAX", Outcome::Returns,
         [](const KoMatrix& a) { ExpectShape(KoMatrix(0, 0) * a, 0, INT_MAX, "product"); }},
        {"in-place product", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix m(0, 0);
             m *= a;
             ExpectShape(m, 0, INT_MAX, "*=");
         }},
        {"transpose", Outcome::Returns,
         [](const KoMatrix& a) { ExpectShape(a.Transpose(), INT_MAX, 0, "transpose"); }},
        {"ToVec", Outcome::Returns, [](const KoMatrix& a) { EXPECT_TRUE(a.ToVec().empty()); }},
        {"MatrixNorm(1)", Outcome::Returns,
         [](const KoMatrix& a) { EXPECT_EQ(a.MatrixNorm(1), 0.0); }},
        {"MatrixNorm(2)", Outcome::Returns,
         [](const KoMatrix& a) { EXPECT_EQ(a.MatrixNorm(2), 0.0); }},
        {"Rank", Outcome::Returns, [](const KoMatrix& a) { EXPECT_EQ(a.Rank(), 0); }},
        {"Rank(basis)", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix basis;
             EXPECT_EQ(a.Rank(basis), 0);
             ExpectShape(basis, 0, 1, "basis: column 0 only");
         }},
        {"GaussElimination(echelon)", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix echelon;
             EXPECT_EQ(a.GaussElimination(echelon), NoError);
             ExpectShape(echelon, 0, INT_MAX, "echelon");
         }},
        {"GaussElimination(rhs, x, reduced)", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix x;
             KoMatrix reduced;
             EXPECT_EQ(a.GaussElimination(KoMatrix(0, 1), x, reduced), NotSquare);
             ExpectShape(x, 0, 1, "solution");
             ExpectShape(reduced, 0, INT_MAX, "reduced");
         }},
        {"SubSVDDecomposition", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix U, S, V;
             EXPECT_EQ(a.SubSVDDecomposition(U, S, V), NoError);
             ExpectShape(U, 0, 0, "U");
             ExpectShape(V, INT_MAX, 0, "V");
         }},
        {"Inv", Outcome::Returns,
         [](const KoMatrix& a) { ExpectShape(a.Inv(), INT_MAX, 0, "inverse"); }},
        {"QR Householder", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix Q, R;
             EXPECT_EQ(a.QRDecomposition(Q, R, KoMatrix::Householder), NoError);
         }},
        {"SVDDecomposition (V is INT_MAX x INT_MAX)", Outcome::ResultTooLarge,
         [](const KoMatrix& a) {
             KoMatrix U, S, V;
             (void)a.SVDDecomposition(U, S, V);
         }},
        {"QR Gram-Schmidt (R is INT_MAX x INT_MAX)", Outcome::ResultTooLarge,
         [](const KoMatrix& a) {
             KoMatrix Q, R;
             (void)a.QRDecomposition(Q, R, KoMatrix::GramSchmidt);
         }},
    };
    const Case columnCases[] = {
        {"product INT_MAXx0 * 0x0", Outcome::Returns,
         [](const KoMatrix& a) { ExpectShape(a * KoMatrix(0, 0), INT_MAX, 0, "product"); }},
        {"MatrixInfiniteNorm", Outcome::Returns,
         [](const KoMatrix& a) { EXPECT_EQ(a.MatrixInfiniteNorm(), 0.0); }},
        {"MatrixNorm(1)", Outcome::Returns,
         [](const KoMatrix& a) { EXPECT_EQ(a.MatrixNorm(1), 0.0); }},
        {"MatrixNorm(2)", Outcome::Returns,
         [](const KoMatrix& a) { EXPECT_EQ(a.MatrixNorm(2), 0.0); }},
        {"Rank", Outcome::Returns, [](const KoMatrix& a) { EXPECT_EQ(a.Rank(), 0); }},
        {"GetColumn(0, -1)", Outcome::Returns,
         [](const KoMatrix& a) { ExpectShape(a.GetColumn(0, -1), INT_MAX, 0, "columns"); }},
        {"Inv", Outcome::Returns,
         [](const KoMatrix& a) { ExpectShape(a.Inv(), 0, INT_MAX, "inverse"); }},
        {"SubSVDDecomposition", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix U, S, V;
             EXPECT_EQ(a.SubSVDDecomposition(U, S, V), NoError);
             ExpectShape(U, INT_MAX, 0, "U");
         }},
        {"QR Gram-Schmidt", Outcome::Returns,
         [](const KoMatrix& a) {
             KoMatrix Q, R;
             EXPECT_EQ(a.QRDecomposition(Q, R, KoMatrix::GramSchmidt), NoError);
             ExpectShape(R, 0, 0, "R");
         }},
        {"SVDDecomposition (U is INT_MAX x INT_MAX)", Outcome::ResultTooLarge,
         [](const KoMatrix& a) {
             KoMatrix U, S, V;
             (void)a.SVDDecomposition(U, S, V);
         }},
    };
    // No operation here may ask for more than a few kilobytes.
    const std::size_t previousLimit = counting_new::SetSizeLimit(1 << 16);
    auto check = [](const KoMatrix& a, const Case& c) {
        bool tooLarge = false;
        try {
            WithWatchdog(c.name, [&] { c.run(a); });
        } catch (const std::bad_alloc& e) {
            tooLarge = typeid(e) == typeid(std::bad_array_new_length);
            if (!tooLarge) {
                ADD_FAILURE() << c.name << " allocated for an empty dimension";
            }
        }
        EXPECT_EQ(tooLarge, c.outcome == Outcome::ResultTooLarge) << c.name;
    };
    for (const Case& c : cases) {
        check(noRows, c);
    }
    for (const Case& c : columnCases) {
        check(noColumns, c);
    }
    counting_new::SetSizeLimit(previousLimit);
}

}  // namespace

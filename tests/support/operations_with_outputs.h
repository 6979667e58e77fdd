// SPDX-License-Identifier: MIT
// Every public operation with KoMatrix& outputs as one table (call, result shapes, order of
// assignment, refused inputs, what becomes of a wrapped output of another shape), and the
// contract they keep, checked on one call by CheckOutputs against the same call with fresh,
// separate outputs. Outputs may be fresh, Matrix3x3 objects, (overlapping) parts of one caller
// buffer that the input may wrap too, the input, or one object twice. A refused input, or an
// output wrapping a buffer of another shape where such are refused, gives the documented code
// (checks in the documented order) and leaves every object and the buffer bitwise untouched;
// otherwise the outputs take the reference results by assignment in the operation's order (of
// one object named twice the last remains; a wrapped buffer takes a result of its own shape in
// place, and keeps its content otherwise), and the input changes only where it is an output.
#ifndef KOCALVIX_TESTS_SUPPORT_OPERATIONS_WITH_OUTPUTS_H
#define KOCALVIX_TESTS_SUPPORT_OPERATIONS_WITH_OUTPUTS_H

#include <kocalvix/diagnostics.h>
#include <kocalvix/fixed_matrix.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace test_support {

struct Shape {
    int rows, cols;  // cols -1: any number of columns
};
using Call = int (*)(const KoMatrix& a, KoMatrix* const* out);

struct OperationWithOutputs {
    const char* name;
    int outputs;                             // 1 to 3
    Call call;                               // calls it on `a` with out[0 .. outputs-1]
    Call diagnosed;                          // the KoDiagnostics form, which acts alike, or null
    void (*shapes)(int m, int n, Shape* s);  // the result shapes for an m x n input
    const char* order;                       // the outputs in the order they are assigned
    KoMatrix (*refused)();                   // an input that is refused (or null)...
    int refusal;                             // ...with this code
    bool refusalFirst;                       // the input is judged before the outputs' buffers
    int unfitWrapped;  // for a wrapped output of another shape (NoError: it keeps its content)
};

inline KoDiagnostics::Report report;
// The rank of `a` by Rank(basis), and NoError when it is Rank()'s (taken first: basis may be a).
inline int RankMatches(const KoMatrix& a, KoMatrix& basis) {
    const int rank = a.Rank();
    return a.Rank(basis) == rank ? NoError : -1;
}

#define KO_CALL(...) [](const KoMatrix& a, KoMatrix* const* o) { return int(__VA_ARGS__); }
#define KO_QR(method) KO_CALL(a.QRDecomposition(*o[0], *o[1], KoMatrix::QRMethod(method)))
#define KO_INPUT(...) [] { return KoMatrix(__VA_ARGS__); }
#define KO_SHAPES(...) [](int m, int n, Shape* s) { (void)m, (void)n, __VA_ARGS__; }
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
inline const OperationWithOutputs kOperationsWithOutputs[] = {
    {"GaussElimination(echelon)", 1, KO_CALL(a.GaussElimination(*o[0])), nullptr,
     KO_SHAPES(s[0] = {m, n}), "0", nullptr, NoError, true, NoError},
    {"GaussElimination(rhs, solution, reduced)", 2,
     KO_CALL(a.GaussElimination(KoMatrix(a.RowSize(), 1) + 1.0, *o[0], *o[1])),
     KO_CALL(
         KoDiagnostics::GaussElimination(a, KoMatrix(a.RowSize(), 1) + 1.0, *o[0], *o[1], report)),
     KO_SHAPES(s[0] = {m, 1}, s[1] = {m, n}), "10", nullptr, NoError, true, ExternalBuffer},
    // A right-hand side with one row too many, or with two columns.
    {"GaussElimination(unfit rhs, solution, reduced)", 2,
     KO_CALL(a.GaussElimination(KoMatrix(a.RowSize() + a.ColumnSize() % 2, 2 - a.ColumnSize() % 2),
                                *o[0], *o[1])),
     nullptr, KO_SHAPES(s[0] = {m, 1}, s[1] = {m, n}), "10", KO_INPUT({{1}}), DimensionMismatch,
     true, ExternalBuffer},
    {"Rank(basis)", 1, KO_CALL(RankMatches(a, *o[0])), nullptr, KO_SHAPES(s[0] = {m, -1}), "0",
     nullptr, NoError, true, NoError},
    {"QRDecomposition(GramSchmidt)", 2, KO_QR(0), nullptr, KO_SHAPES(s[0] = {m, n}, s[1] = {n, n}),
     "01", KO_INPUT({{1, 2}, {2, 4}}), SingularMatrix, true, ExternalBuffer},
    {"QRDecomposition(Householder)", 2, KO_QR(1), nullptr, KO_SHAPES(s[0] = {m, m}, s[1] = {m, n}),
     "01", nullptr, NoError, true, ExternalBuffer},
    {"QRDecomposition(Givens)", 2, KO_QR(2), nullptr, KO_SHAPES(s[0] = {m, m}, s[1] = {m, n}), "01",
     nullptr, NoError, true, ExternalBuffer},
    {"QRDecomposition(3), then (-1)", 2,
     KO_CALL(KO_QR(3)(a, o) == InvalidMethod ? KO_QR(-1)(a, o) : -1), nullptr,
     KO_SHAPES(s[0] = {m, m}, s[1] = {m, n}), "01", KO_INPUT({{1}}), InvalidMethod, true,
     ExternalBuffer},
    {"BiDiagonalize", 3, KO_CALL(a.BiDiagonalize(*o[0], *o[1], *o[2])), nullptr,
     KO_SHAPES(s[0] = {m, m}, s[1] = {m, n}, s[2] = {n, n}), "102", nullptr, NoError, true,
     ExternalBuffer},
    {"EigenValues", 1, KO_CALL(a.EigenValues(*o[0])),
     KO_CALL(KoDiagnostics::EigenValues(a, *o[0], report)), KO_SHAPES(s[0] = {n, 1}), "0",
     KO_INPUT({{1, 2, 3}}), DimensionMismatch, true, ExternalBuffer},
    {"Eigen", 2, KO_CALL(a.Eigen(*o[0], *o[1])),
     KO_CALL(KoDiagnostics::Eigen(a, *o[0], *o[1], report)),
     KO_SHAPES(s[0] = {n, 1}, s[1] = {n, n}), "10", KO_INPUT({{1, 2}, {3, 4}}), NotSymmetric, true,
     ExternalBuffer},
    // The SVDs judge their outputs' buffers before the symmetry of the Gram matrix.
    {"SVDDecomposition", 3, KO_CALL(a.SVDDecomposition(*o[0], *o[1], *o[2])),
     KO_CALL(KoDiagnostics::SVDDecomposition(a, *o[0], *o[1], *o[2], report)),
     KO_SHAPES(s[0] = {m, m}, s[1] = {m, n}, s[2] = {n, n}), "102", KO_INPUT({{kNaN, 1}}),
     NotSymmetric, false, ExternalBuffer},
    {"SubSVDDecomposition", 3, KO_CALL(a.SubSVDDecomposition(*o[0], *o[1], *o[2])),
     KO_CALL(KoDiagnostics::SubSVDDecomposition(a, *o[0], *o[1], *o[2], report)),
     KO_SHAPES(s[0] = {m, std::min(m, n)}, s[1] = {std::min(m, n), std::min(m, n)},
               s[2] = {n, std::min(m, n)}),
     "102", KO_INPUT({{kInf, 1}, {1, -kInf}}), NotSymmetric, false, ExternalBuffer},
};

struct Output {
    enum Kind { Fresh, Wrapped, Fixed, Input, Same } kind = Fresh;
    int rows = 0, cols = 0, at = 0;  // Wrapped: rows x cols doubles from buffer[at]; Same: out[at]
};
struct Arrangement {
    Output out[3];
    int inputAt = -1;  // >= 0: the input wraps the buffer from there
};
constexpr int kBufferSize = 256;
using Bits = std::vector<std::uint64_t>;

// Shape and bit patterns (any NaN as one: payloads may differ between equivalent paths).
inline Bits StateOf(const double* p, int n, int rows = 0, int cols = 0) {
    Bits bits{std::uint64_t(rows), std::uint64_t(cols)};
    for (int i = 0; i < n; ++i) {
        const double x = std::isnan(p[i]) ? kNaN : p[i];
        std::memcpy(&bits.emplace_back(), &x, sizeof x);
    }
    return bits;
}
inline Bits StateOf(const KoMatrix& m) {
    return StateOf(m.data(), m.ElementNum(), m.RowSize(), m.ColumnSize());
}

// The call on a copy of the input with fresh, separate outputs: its code (-2 for a result of a
// shape the table does not give), results, and their shapes (the table's for a refused input).
inline int Reference(const OperationWithOutputs& op, Call call, const KoMatrix& input,
                     KoMatrix* results, Shape* shapes) {
    KoMatrix* out[3] = {results, results + 1, results + 2};
    const int code = call(KoMatrix(input), out);
    op.shapes(input.RowSize(), input.ColumnSize(), shapes);
    for (int k = 0; k < op.outputs && (code != op.refusal || code == NoError); ++k) {
        if (results[k].RowSize() != shapes[k].rows ||
            (shapes[k].cols >= 0 && results[k].ColumnSize() != shapes[k].cols)) {
            return -2;
        }
        shapes[k].cols = results[k].ColumnSize();
    }
    return code;
}

// Checks one call of `call`, the member or diagnostics form of `op`; returns what broke, or "".
inline std::string CheckOutputs(const OperationWithOutputs& op, Call call, const KoMatrix& input,
                                const Arrangement& arrangement) {
    KoMatrix results[3];
    Shape shapes[3];
    const int ref = Reference(op, call, input, results, shapes), at = arrangement.inputAt;
    const bool refused = op.refusal != NoError && ref == op.refusal;
    if (!refused && ref != NoError && ref != NotSquare) {
        return "the reference call returned " + std::to_string(ref);
    }
    double buffer[kBufferSize], model[kBufferSize];
    for (int i = 0; i < kBufferSize; ++i) {
        buffer[i] = i % 5 == 0 ? -0.0 : 0.25 * i;
    }
    std::copy(input.begin(), at >= 0 ? input.end() : input.begin(), buffer + std::max(at, 0));
    // Objects a call can reach: the input, three fresh or wrapping matrices, three Matrix3x3;
    // prvalues initialise them in place, so wrapping ones keep wrapping.
    const Output* o = arrangement.out;
    const auto make = [&](bool wraps, int rows, int cols, int from, const KoMatrix& otherwise) {
        return wraps ? KoMatrix(rows, cols, buffer + from, KoMatrix::ShallowCopy)
                     : KoMatrix(otherwise);
    };
    KoMatrix a = make(at >= 0, input.RowSize(), input.ColumnSize(), at, input);
    KoMatrix slots[3] = {
        make(o[0].kind == Output::Wrapped, o[0].rows, o[0].cols, o[0].at, {{-0.0, 7}}),
        make(o[1].kind == Output::Wrapped, o[1].rows, o[1].cols, o[1].at, {{8}}),
        make(o[2].kind == Output::Wrapped, o[2].rows, o[2].cols, o[2].at, {{9}})};
    Matrix3x3 fixed[3] = {Matrix3x3(-1, 2, 3, 4, 5, 6, 7, 8, 9), Matrix3x3(),
                          Matrix3x3::Identity()};
    KoMatrix* objects[7] = {&a, slots, slots + 1, slots + 2, fixed, fixed + 1, fixed + 2};
    const double* wraps[7] = {at >= 0 ? buffer + at : nullptr};  // null: owns its elements
    KoMatrix* out[3] = {};
    int index[3] = {};  // of the object each output is
    bool unfit = false;
    std::string what = std::to_string(ref) + " input@" + std::to_string(at);
    for (int k = 0; k < op.outputs; ++k) {
        const Output::Kind kind = o[k].kind;
        index[k] = kind == Output::Input   ? 0
                   : kind == Output::Same  ? index[o[k].at]
                   : kind == Output::Fixed ? 4 + k
                                           : 1 + k;
        out[k] = objects[index[k]];
        wraps[1 + k] = kind == Output::Wrapped ? buffer + o[k].at : nullptr;
        unfit = unfit || (wraps[index[k]] != nullptr && (out[k]->RowSize() != shapes[k].rows ||
                                                         out[k]->ColumnSize() != shapes[k].cols));
        what += " " + std::to_string(kind) + "@" + std::to_string(o[k].at);
    }
    // What each object and the buffer must hold afterwards.
    const int expected = refused && op.refusalFirst            ? ref
                         : unfit && op.unfitWrapped != NoError ? op.unfitWrapped
                                                               : ref;
    Bits state[7];
    std::transform(objects, objects + 7, state, [](KoMatrix* m) { return StateOf(*m); });
    std::copy(buffer, buffer + kBufferSize, model);
    for (int i = 0; i < op.outputs && (expected == NoError || expected == NotSquare); ++i) {
        const int k = op.order[i] - '0', x = index[k];
        if (wraps[x] == nullptr) {
            state[x] = StateOf(results[k]);
        } else if (objects[x]->IsSameDimension(results[k])) {
            std::copy(results[k].begin(), results[k].end(), model + (wraps[x] - buffer));
        }
    }

    const int code = call(a, out);
    std::string broken = code != expected ? " returned " + std::to_string(code) : "";
    for (int i = 0; i < 7; ++i) {
        const Bits now = StateOf(*objects[i]);
        if (wraps[i] == nullptr ? now != state[i]
                                : now[0] != state[i][0] || now[1] != state[i][1] ||
                                      (now.size() > 2 && objects[i]->data() != wraps[i])) {
            broken += " object " + std::to_string(i) + " differs";
        }
    }
    if (StateOf(buffer, kBufferSize) != StateOf(model, kBufferSize)) {
        broken += " the buffer differs";
    }
    return broken.empty() ? "" : what + ":" + broken;
}

}  // namespace test_support

#endif  // KOCALVIX_TESTS_SUPPORT_OPERATIONS_WITH_OUTPUTS_H

// SPDX-License-Identifier: MIT
// Every public operation with KoMatrix& outputs as one table, and CheckOutputs: one call against
// the same call with fresh, separate outputs, where outputs may be fresh, Matrix3x3 objects,
// (overlapping) parts of one caller buffer the input may wrap too, the input, or one object
// twice. A refused input, or an output wrapping a buffer of another shape where such are refused,
// gives the documented code (in the documented order of checks) and leaves every object and the
// buffer bitwise untouched; otherwise the outputs take the results by assignment in the
// operation's order (of one object named twice the last remains; a wrapped buffer takes a result
// of its own shape in place, else keeps its content); the input changes only as an output.
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
using Call = int (*)(const KoMatrix& a, KoMatrix* const* out);
struct OperationWithOutputs {
    const char* name;
    Call call, diagnosed;  // on `a` with out[0], out[1], ...; the KoDiagnostics form, or null
    const char* shapes;    // rows, cols per result: m, n, p = min(m, n), 1 or * (any columns)
    const char* order;     // the outputs in the order they are assigned (one digit each)
    int unfitWrapped;      // for a wrapped output of another shape (NoError: it keeps its content)
    KoMatrix refused{};    // an input refused with code `refusal` (none: NoError)
    int refusal = NoError;
    bool refusalFirst = true;  // the input is judged before the outputs' buffers
    int outputs() const { return int(std::strlen(order)); }
};
#define KO_CALL(...) [](const KoMatrix& a, KoMatrix* const* o) { return int(__VA_ARGS__); }
#define KO_QR(method) KO_CALL(a.QRDecomposition(*o[0], *o[1], KoMatrix::QRMethod(method)))
#define KO_BOTH(member, ...) \
    KO_CALL(a.member(__VA_ARGS__)), KO_CALL(KoDiagnostics::member(a, __VA_ARGS__, report))
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// One record per thread: the stress test runs the table on many threads at once.
inline thread_local KoDiagnostics::Report report;
// The unfit right-hand side has one row too many, or two columns; Rank() is taken before
// Rank(basis), whose output may be the input.
// clang-format off
inline const OperationWithOutputs kOperationsWithOutputs[] = {
    {"GaussElimination(echelon)", KO_CALL(a.GaussElimination(*o[0])), nullptr, "mn", "0", NoError},
    {"GaussElimination(rhs)",
     KO_BOTH(GaussElimination, KoMatrix(a.RowSize(), 1) + 1.0, *o[0], *o[1]), "m1mn", "10",
     ExternalBuffer},
    {"GaussElimination(unfit rhs)", KO_CALL(a.GaussElimination(
         KoMatrix(a.RowSize() + a.ColumnSize() % 2, 2 - a.ColumnSize() % 2), *o[0], *o[1])),
     nullptr, "m1mn", "10", ExternalBuffer, KoMatrix({{1}}), DimensionMismatch},
    {"Rank(basis)", KO_CALL([&] { const int r = a.Rank(); return a.Rank(*o[0]) == r ? 0 : -1; }()),
     nullptr, "m*", "0", NoError},
    {"QRDecomposition(GramSchmidt)", KO_QR(0), nullptr, "mnnn", "01", ExternalBuffer,
     KoMatrix({{1, 2}, {2, 4}}), SingularMatrix},
    {"QRDecomposition(Householder)", KO_QR(1), nullptr, "mmmn", "01", ExternalBuffer},
    {"QRDecomposition(Givens)", KO_QR(2), nullptr, "mmmn", "01", ExternalBuffer},
    {"QRDecomposition(3, -1)", KO_CALL(KO_QR(3)(a, o) == InvalidMethod ? KO_QR(-1)(a, o) : -1),
     nullptr, "mmmn", "01", ExternalBuffer, KoMatrix({{1}}), InvalidMethod},
    {"BiDiagonalize", KO_CALL(a.BiDiagonalize(*o[0], *o[1], *o[2])), nullptr, "mmmnnn", "102",
     ExternalBuffer},
    {"EigenValues", KO_BOTH(EigenValues, *o[0]), "n1", "0", ExternalBuffer, KoMatrix({{1, 2, 3}}),
     DimensionMismatch},
    {"Eigen", KO_BOTH(Eigen, *o[0], *o[1]), "n1nn", "10", ExternalBuffer,
     KoMatrix({{1, 2}, {3, 4}}), NotSymmetric},
    {"SVDDecomposition", KO_BOTH(SVDDecomposition, *o[0], *o[1], *o[2]), "mmmnnn", "102",
     ExternalBuffer, KoMatrix({{kNaN, 1}}), NotSymmetric, false},
    {"SubSVDDecomposition", KO_BOTH(SubSVDDecomposition, *o[0], *o[1], *o[2]), "mpppnp", "102",
     ExternalBuffer, KoMatrix({{kInf, 1}, {1, -kInf}}), NotSymmetric, false}};
// clang-format on

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
struct Reference {
    int code, rows[3] = {}, cols[3] = {};
    KoMatrix results[3];
    Reference(const OperationWithOutputs& op, Call call, const KoMatrix& input) {
        KoMatrix* out[3] = {results, results + 1, results + 2};
        const int m = input.RowSize(), n = input.ColumnSize(), p = std::min(m, n);
        const auto d = [&](char c) { return c == 'm' ? m : c == 'n' ? n : c == 'p' ? p : 1; };
        code = call(KoMatrix(input), out);
        for (int k = 0; k < op.outputs(); ++k) {
            const char* s = op.shapes + 2 * k;
            rows[k] = d(s[0]), cols[k] = s[1] == '*' ? results[k].ColumnSize() : d(s[1]);
            const bool unexpected = !results[k].IsSameDimension(KoMatrix(rows[k], cols[k]));
            code = unexpected && (code == NoError || code != op.refusal) ? -2 : code;
        }
    }
};

// Checks one call of `call`, the member or diagnostics form of `op`; returns what broke, or "".
inline std::string CheckOutputs(const OperationWithOutputs& op, Call call, const KoMatrix& input,
                                const Reference& reference, const Arrangement& arrangement) {
    const int ref = reference.code, at = arrangement.inputAt;
    const KoMatrix* results = reference.results;
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
    const auto make = [&](const Output& x, const KoMatrix& otherwise) {
        return x.kind == Output::Wrapped
                   ? KoMatrix(x.rows, x.cols, buffer + x.at, KoMatrix::ShallowCopy)
                   : KoMatrix(otherwise);
    };
    KoMatrix a = make({Output::Kind(at >= 0), input.RowSize(), input.ColumnSize(), at}, input);
    KoMatrix slots[3] = {make(o[0], KoMatrix({{-0.0, 7}})), make(o[1], KoMatrix({{8}})),
                         make(o[2], KoMatrix({{9}}))};
    Matrix3x3 fixed[3] = {Matrix3x3(-1, 2, 3, 4, 5, 6, 7, 8, 9), {}, Matrix3x3::Identity()};
    KoMatrix* objects[7] = {&a, slots, slots + 1, slots + 2, fixed, fixed + 1, fixed + 2};
    const double* wraps[7] = {at >= 0 ? buffer + at : nullptr};  // null: owns its elements
    KoMatrix* out[3] = {};
    int index[3] = {};   // of the object each output is
    int expected = ref;  // what the call returns
    std::string what = std::to_string(ref) + " input@" + std::to_string(at);
    for (int k = 0; k < op.outputs(); ++k) {
        const Output::Kind kind = o[k].kind;
        const int slot[] = {1 + k, 1 + k, 4 + k, 0};  // Fresh, Wrapped, Fixed, Input
        index[k] = kind == Output::Same ? index[o[k].at] : slot[kind];
        out[k] = objects[index[k]];
        wraps[1 + k] = kind == Output::Wrapped ? buffer + o[k].at : nullptr;
        const KoMatrix shape(reference.rows[k], reference.cols[k]);
        const bool unfit = wraps[index[k]] != nullptr && !out[k]->IsSameDimension(shape);
        expected =
            unfit && op.unfitWrapped && !(refused && op.refusalFirst) ? op.unfitWrapped : expected;
        what += " " + std::to_string(kind) + "@" + std::to_string(o[k].at);
    }
    // What each object and the buffer must hold afterwards.
    Bits state[7];
    std::transform(objects, objects + 7, state, [](KoMatrix* m) { return StateOf(*m); });
    std::copy(buffer, buffer + kBufferSize, model);
    for (int i = 0; i < op.outputs() && (expected == NoError || expected == NotSquare); ++i) {
        const int k = op.order[i] - '0', x = index[k];
        if (wraps[x] == nullptr) {
            state[x] = StateOf(results[k]);
        } else if (objects[x]->IsSameDimension(results[k])) {
            std::copy(results[k].begin(), results[k].end(), model + (wraps[x] - buffer));
        }
    }
    const int code = call(a, out);
    std::string broken = code != expected ? " returned " + std::to_string(code) : "";
    for (int i = 0; i < 7; ++i) {  // a wrapping one keeps its shape and where its elements are
        const Bits now = StateOf(*objects[i]);
        if (wraps[i] == nullptr ? now != state[i]
                                : now[0] != state[i][0] || now[1] != state[i][1] ||
                                      (now.size() > 2 && objects[i]->data() != wraps[i])) {
            broken += " object " + std::to_string(i) + " differs";
        }
    }
    broken +=
        StateOf(buffer, kBufferSize) != StateOf(model, kBufferSize) ? " the buffer differs" : "";
    return broken.empty() ? "" : what + ":" + broken;
}

}  // namespace test_support
#endif  // KOCALVIX_TESTS_SUPPORT_OPERATIONS_WITH_OUTPUTS_H

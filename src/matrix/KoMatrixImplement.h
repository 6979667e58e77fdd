// SPDX-License-Identifier: MIT
// KoMatrixImplement: storage and every algorithm behind KoMatrix. Private to the library.
//
// Every public KoMatrix member forwards to the member of the same name here, passing the
// implementations of its matrix operands by reference; members that produce a matrix return a
// fresh owning KoMatrixImplement by value, members that fill outputs assign into them with
// operator= (which follows the wrapping rule: a wrapped buffer takes a result only of its own
// shape).
//
// The algorithms above the core are written step by step from these building blocks: the
// element-wise operations, the product, GetRow/GetColumn/SetColumn/AddColumn, Transpose,
// Identity and EmbedInIdentity. The arithmetic that matters for speed lives in a few kernels
// (MultiplyInto for the product); the order of every floating-point operation is fixed, so a
// result is the same bit pattern on every platform.
#ifndef KOCALVIX_SRC_MATRIX_KOMATRIXIMPLEMENT_H
#define KOCALVIX_SRC_MATRIX_KOMATRIXIMPLEMENT_H

#include <kocalvix/matrix.h>

#include <cassert>

class KoMatrixImplement {
  public:
    // ---- Storage and lifecycle (matrix_implement.cpp) ----------------------------------------

    /// Tag selecting the wrapping constructor.
    struct WrapTag {};

    /// The empty 0 x 0 matrix without a buffer.
    KoMatrixImplement() noexcept : rows(0), cols(0), count(0), data(nullptr), external(false) {}
    /// An owning rows x cols matrix of zeros. Throws std::bad_array_new_length for a negative
    /// dimension or a buffer larger than 0xFFFFFFFF bytes.
    KoMatrixImplement(int rows, int cols);
    /// An owning rows x cols matrix holding values[0 .. rows*cols-1].
    KoMatrixImplement(int rows, int cols, const double* values);
    /// A matrix wrapping the caller's buffer (external; never released or reallocated).
    KoMatrixImplement(int rows, int cols, double* buffer, WrapTag);
    /// Deep copy into a fresh owning buffer.
    KoMatrixImplement(const KoMatrixImplement& other);
    /// Takes over other's buffer and wrapping state; other becomes the empty matrix. A
    /// co-allocated buffer stays with other and is copied instead (which may throw).
    KoMatrixImplement(KoMatrixImplement&& other);
    /// The assignment rule: an owning target takes the source's shape and elements (strong
    /// guarantee); a wrapping target takes the elements only when the shapes agree.
    KoMatrixImplement& operator=(const KoMatrixImplement& other);
    /// The same rule; when both matrices own their buffers, *this takes over other's buffer
    /// instead of copying it, and other becomes the empty matrix.
    KoMatrixImplement& operator=(KoMatrixImplement&& other);
    /// Releases the buffer unless it is wrapped or co-allocated.
    virtual ~KoMatrixImplement() {
        if (!external && !coallocated) {
            delete[] data;
        }
        data = nullptr;
    }
    /// The determinant by elimination (elimination.cpp).
    virtual double Det() const;

    /// Throws std::bad_array_new_length unless rows and cols are non-negative and the buffer
    /// of rows * cols doubles fits 0xFFFFFFFF bytes. Takes 64-bit values so that callers can
    /// pass sums of sizes without overflow.
    static void CheckShape(long long rows, long long cols);

    /// Element (i, j); unchecked in release builds.
    double& operator()(int i, int j) {
        assert(i >= 0 && i < rows && j >= 0 && j < cols);
        return data[cols * i + j];
    }
    const double& operator()(int i, int j) const {
        assert(i >= 0 && i < rows && j >= 0 && j < cols);
        return data[cols * i + j];
    }
    /// True when rows and cols both agree.
    bool IsSameDimension(const KoMatrixImplement& other) const {
        return rows == other.rows && cols == other.cols;
    }
    /// True when this matrix could be assigned a result of the given shape and keep it: always
    /// for an owning matrix, only for the same shape when it wraps a caller's buffer.
    bool CanTakeShape(int resultRows, int resultCols) const {
        return !external || (rows == resultRows && cols == resultCols);
    }

    int rows;
    int cols;
    int count;
    double* data;
    bool external;
    /// True while `data` lies in the same allocation as this object (the fixed-size
    /// implementations, fixed/fixed_implement.h). Such a buffer is never released on its own
    /// and never handed to another object: a move copies it, and an assignment of another
    /// element count gives the object a separate buffer.
    bool coallocated = false;

    // ---- Element-wise arithmetic (arithmetic.cpp) ---------------------------------------------

    void operator+=(const KoMatrixImplement& other);
    void operator-=(const KoMatrixImplement& other);
    void operator+=(const double& s);
    void operator-=(const double& s);
    void operator*=(const double& s);
    void operator/=(const double& s);
    void SmallElementToZero();
    KoMatrixImplement operator+(const KoMatrixImplement& other) const;
    KoMatrixImplement operator-(const KoMatrixImplement& other) const;
    KoMatrixImplement HadamardProduct(const KoMatrixImplement& other) const;
    KoMatrixImplement HadamardDivision(const KoMatrixImplement& other) const;
    KoMatrixImplement operator+(const double& s) const;
    KoMatrixImplement operator-(const double& s) const;
    KoMatrixImplement operator*(const double& s) const;
    KoMatrixImplement operator/(const double& s) const;
    KoMatrixImplement HadamardPower(const double& p) const;
    bool operator==(const KoMatrixImplement& other) const;
    double Trace() const;
    double Max(int& index) const;
    double Max() const;
    double Min(int& index) const;
    double Min() const;

    // ---- Products, transpose, factories (product.cpp, factories.cpp) -------------------------

    /// Product kernel: out (a.rows x b.cols, row-major) = a * b, every element accumulated as
    /// out(i, j) = a(i, k) * b(k, j) + out(i, j) over increasing k from 0.0. Requires
    /// a.cols == b.rows; `out` must not alias a or b.
    static void MultiplyInto(const KoMatrixImplement& a, const KoMatrixImplement& b, double* out);
    /// The product; a copy of *this when cols != other.rows.
    KoMatrixImplement operator*(const KoMatrixImplement& other) const;
    /// In-place product with the fallbacks of KoMatrix::operator*=.
    void operator*=(const KoMatrixImplement& other);
    KoMatrixImplement Transpose() const;
    static KoMatrixImplement Identity(int n);
    static KoMatrixImplement DiagForm(int n, const double* values);
    /// Identity(n) with the square `block` written over rows and columns offset .. offset +
    /// block.rows - 1.
    static KoMatrixImplement EmbedInIdentity(int n, int offset, const KoMatrixImplement& block);

    // ---- Rows and columns (rows_columns.cpp) --------------------------------------------------

    KoMatrixImplement GetRow(int first, int last) const;
    KoMatrixImplement GetColumn(int first, int last) const;
    KoMatrixError SetRow(int first, int last, const KoMatrixImplement& source);
    KoMatrixError SetColumn(int first, int last, const KoMatrixImplement& source);
    KoMatrixError AddRow(int first, int last, const KoMatrixImplement& source);
    KoMatrixError AddColumn(int first, int last, const KoMatrixImplement& source);

    // ---- Norms and the rank test (norm.cpp) ---------------------------------------------------

    double ElementWiseInfiniteNorm() const;
    /// pow(sum of pow(|x|, p), 1.0 / p) in row-major order.
    double ElementWiseNorm(const int& p) const;
    double MatrixInfiniteNorm() const;
    /// The rank test: false for a non-square matrix, true for 0 x 0, and for a non-empty square
    /// matrix true when Rank() is below its order (singular as the elimination sees it).
    bool IsRankDeficient() const;

    /// What the QR iteration did, for the diagnostics: the steps made, whether the lower-triangle
    /// test ended it before the step cap, and the lower-triangle magnitude it measured last.
    struct IterationRecord {
        int steps = 0;
        bool converged = false;
        double lowerTriangle = 0.0;
    };

    // ---- Induced norm and special-matrix tests (matrix_norm.cpp) ------------------------------

    /// `record`, when given, receives what the eigen iteration of the spectral norm did (p = 2).
    double MatrixNorm(const int& p, IterationRecord* record = nullptr) const;
    bool IsSpecialMatrix(int type) const;

    // ---- Elimination (elimination.cpp) --------------------------------------------------------

    /// The row echelon form (partial pivoting, pivot rows scaled to a leading 1).
    KoMatrixImplement RowEchelon() const;
    KoMatrixError GaussElimination(KoMatrixImplement& echelon) const;
    KoMatrixError GaussElimination(const KoMatrixImplement& rhs, KoMatrixImplement& solution,
                                   KoMatrixImplement& reduced) const;
    /// The number of rows of the echelon form holding an element outside the zero band.
    int Rank() const;
    int Rank(KoMatrixImplement& basis) const;
    double Det(const KoMatrixImplement& m) const;

    // ---- QR decomposition (qr.cpp, householder_qr.cpp) -----------------------------------------
    //
    // The decompositions give the bits of their literal forms (linalg/literal_forms.h), which
    // apply every reflection and rotation as a full product with the embedding identity; they
    // touch only what those products change, and run the literal form where that could differ.

    /// Dispatches on the method; factors a private copy when Q or R is *this.
    KoMatrixError QRDecomposition(KoMatrixImplement& Q, KoMatrixImplement& R, int method) const;
    KoMatrixError GramSchmidt(KoMatrixImplement& Q, KoMatrixImplement& R) const;
    KoMatrixError Householder(KoMatrixImplement& Q, KoMatrixImplement& R) const;
    KoMatrixError Givens(KoMatrixImplement& Q, KoMatrixImplement& R) const;
    /// The Householder reflector of the column x (L x 1): with alpha = ||x||, v = x - alpha*e0,
    /// nu = ||v||, u = v / nu when |nu| > 1e-11 (else zero), returns I - (u * u^T) * 2.0 (L x L)
    /// (householder_reflector.cpp).
    static KoMatrixImplement HouseholderReflector(const KoMatrixImplement& x);

    // ---- Bidiagonalization (bidiagonalize.cpp) -------------------------------------------------

    KoMatrixError BiDiagonalize(KoMatrixImplement& U, KoMatrixImplement& B,
                                KoMatrixImplement& V) const;

    // ---- Eigenvalues and eigenvectors (eigen.cpp) ----------------------------------------------

    bool IsSymmetric() const;
    /// `record`, when given, receives what the iteration did; the results are the same without.
    KoMatrixError EigenValues(KoMatrixImplement& V, IterationRecord* record = nullptr) const;
    KoMatrixError Eigen(KoMatrixImplement& V, KoMatrixImplement& W,
                        IterationRecord* record = nullptr) const;

    // ---- Singular value decomposition and inverse (svd.cpp, inverse.cpp) -----------------------

    /// `record`, when given, receives what the eigen iteration on the Gram matrix did.
    KoMatrixError SVDDecomposition(KoMatrixImplement& U, KoMatrixImplement& S, KoMatrixImplement& V,
                                   IterationRecord* record = nullptr) const;
    KoMatrixError SubSVDDecomposition(KoMatrixImplement& U, KoMatrixImplement& S,
                                      KoMatrixImplement& V,
                                      IterationRecord* record = nullptr) const;
    /// `record` and `singularValues`, when given, receive what the eigen iteration did and S of
    /// the reduced decomposition the inverse is built on; both stay untouched when that
    /// decomposition refused (a NaN in the Gram matrix). The result is the same without them.
    KoMatrixImplement Inv(IterationRecord* record = nullptr,
                          KoMatrixImplement* singularValues = nullptr) const;
};

#endif  // KOCALVIX_SRC_MATRIX_KOMATRIXIMPLEMENT_H

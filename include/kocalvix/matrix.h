// SPDX-License-Identifier: MIT
// KoMatrix: the dense real matrix of any shape, and the result codes of its operations.
//
// A KoMatrix is a handle that owns one implementation object holding the shape and a row-major
// buffer of doubles, element (i, j) at flat index cols * i + j. A matrix either owns its buffer
// or wraps a buffer owned by the caller (CopyType::ShallowCopy); a wrapping matrix never changes
// its shape or its buffer address, so operations that would resize it leave it unchanged or
// report ExternalBuffer.
//
// Conventions shared by every member:
// - Numerical zero is the absolute constant 1e-11: a pivot, divisor or norm counts as non-zero
//   only when it is > 1e-11 or < -1e-11 (a NaN counts as zero).
// - Unfit operands are not errors for arithmetic: two-matrix value forms return a copy of the
//   left operand, in-place forms leave it unchanged.
// - Output parameters (KoMatrix&) are never read; each receives its result by assignment, so an
//   output wrapping a caller's buffer of another shape keeps its content (the decompositions and
//   the linear-system solver refuse such outputs with ExternalBuffer instead). An output may be
//   *this or another output: the matrix is read completely before any output is assigned, and
//   the outputs are assigned in a fixed order (the linear system: reduced, then solution; QR: Q,
//   then R; BiDiagonalize: B, U, V; Eigen: W, then V; the SVDs: S, U, V), so of one object
//   named twice the last assigned remains. A call refused with any code but NotSquare touches
//   no output.
// - Only allocation failures raise: std::bad_alloc, and std::bad_array_new_length for a shape
//   with a negative dimension or whose buffer (rows * cols * 8 bytes) exceeds 0xFFFFFFFF bytes.
//   Every accepted shape therefore has fewer than 2^29 elements. On such a failure nothing
//   leaks and every object stays usable: an in-place member or assignment leaves its target as
//   it was, and each output parameter holds either its complete result or its old content.
// - Work scales with the elements of the operands and of the results, never with an empty
//   dimension: on a matrix without elements (even 0 x INT_MAX or INT_MAX x 0) an operation
//   returns at once, unless a result it must deliver itself has elements (the n x n factor of
//   the SVD, BiDiagonalize or Gram-Schmidt QR of a 0 x n matrix); a result too large for the
//   size limit raises std::bad_array_new_length before any work is done.
// - Results are computed in a fixed, documented order of IEEE double operations and are
//   reproducible bit for bit on every platform.
// - pow, wherever a comment below names it, is the library's own power function: pow(x, 2.0) is
//   x * x, pow(x, 0.5) is sqrt(x) (but +0.0 for -0.0 and +inf for -inf), pow(x, 1.0) is x, all
//   correctly rounded and identical everywhere; any other exponent uses the C library's pow,
//   whose results may differ between C libraries (exact cases such as integral powers of 10 up
//   to 10^22 or of -1 agree). So the 1- and 2-norms, and everything built on them, are the same
//   on every platform; HadamardPower and ElementWiseNorm with other exponents may not be.
#ifndef KOCALVIX_MATRIX_H
#define KOCALVIX_MATRIX_H

#include <initializer_list>
#include <vector>

#include "kocalvix/export.h"

/// Result code of the matrix operations that report one.
enum KoMatrixError : int {
    NoError = 0,            ///< success
    SingularMatrix = 1,     ///< the matrix is singular as the elimination sees it (Gram-Schmidt QR)
    NotSymmetric = 2,       ///< not square or not exactly equal to its transpose (Eigen, SVD)
    NotSquare = 3,          ///< a linear system whose reduced matrix is not square
    ExternalBuffer = 5,     ///< a wrapped caller buffer cannot take the result's shape
    DimensionMismatch = 6,  ///< operand sizes or the index range do not fit
    InvalidMethod = 7       ///< an unknown QR method
};

class KoMatrixImplement;

/// A dense real matrix of any shape: a handle owning the shape and a row-major buffer of doubles
/// (see the file comment for the conventions every member follows).
class KOCALVIX_API KoMatrix {
  public:
    /// How KoMatrix(rows, cols, data, type) treats the caller's buffer. Any value other than
    /// ShallowCopy behaves as DeepCopy.
    enum CopyType : int {
        DeepCopy = 0,    ///< allocate an own buffer and copy the caller's values
        ShallowCopy = 1  ///< wrap the caller's buffer; it must outlive the matrix
    };

    /// The QR methods of QRDecomposition.
    enum QRMethod : int {
        GramSchmidt = 0,  ///< classical Gram-Schmidt: Q m x n with orthonormal columns, R n x n
        Householder = 1,  ///< reflections: Q m x m, R m x n with a non-negative diagonal
        Givens = 2        ///< plane rotations: Q m x m, R m x n
    };

    /// The kinds IsSpecialMatrix recognises. Any other value is of no kind.
    enum MatrixType : int {
        Square = 0,        ///< rows == cols
        Normal = 1,        ///< square and |A*A^T - A^T*A| < 1e-11 element-wise
        Orthogonal = 2,    ///< square and |A*A^T - I| < 1e-11 and |A^T*A - I| < 1e-11
        Symmetric = 3,     ///< square and exactly equal to its transpose
        Singular = 4,      ///< square and singular as the elimination sees it (see Rank())
        RankDeficient = 5  ///< the same test as Singular
    };

    // ---- Construction, copy, assignment ------------------------------------------------------

    /// The empty matrix: 0 rows, 0 columns, no buffer.
    KoMatrix();
    /// An owning rows x cols matrix of zeros.
    KoMatrix(int rows, int cols);
    /// A rows x cols matrix over `data` (row-major). ShallowCopy wraps `data` without copying
    /// (the matrix never releases or resizes it); any other type copies rows * cols values. A
    /// null `data` with elements to hold gives an owning matrix of zeros for either type.
    KoMatrix(int rows, int cols, double* data, CopyType type);
    /// One inner vector per row. The column count is the first row's length; longer rows are
    /// truncated, shorter rows padded with 0.0. No inner vector gives the empty 0 x 0 matrix.
    KoMatrix(std::vector<std::vector<double>> values);
    /// The same from a braced list of rows, e.g. KoMatrix({{2.0}, {2.0}}) for a column. Without
    /// it such a list would also fit KoMatrix(int, int) and the call would be ambiguous.
    KoMatrix(std::initializer_list<std::initializer_list<double>> values);
    /// Deep copy; the copy of a wrapping matrix owns its own buffer.
    KoMatrix(const KoMatrix& other);
    /// Releases an owned buffer; a wrapped buffer is left untouched.
    ~KoMatrix();
    /// Takes other's shape and elements. A wrapping target takes the elements only when the
    /// shapes agree and is otherwise left unchanged. Owning targets keep their old shape and
    /// contents when allocating the new buffer fails (strong guarantee). Returns *this.
    const KoMatrix& operator=(const KoMatrix& other);

    // ---- Element access (unchecked in release builds, asserted in debug builds) --------------

    /// Element at flat row-major index k, i.e. (k / cols, k % cols).
    double& at(int k);
    /// Element at flat index k, read-only.
    const double& at(int k) const;
    /// Element at flat index k, as at(k).
    double& operator[](int k);
    /// Element at flat index k, read-only.
    const double& operator[](int k) const;
    /// Element (i, j) at flat index cols * i + j.
    double& at(int i, int j);
    /// Element (i, j), read-only.
    const double& at(int i, int j) const;
    /// Element (i, j), as at(i, j).
    double& operator()(int i, int j);
    /// Element (i, j), read-only.
    const double& operator()(int i, int j) const;

    /// Number of rows.
    const int& RowSize() const;
    /// Number of columns.
    const int& ColumnSize() const;
    /// Number of elements, rows * cols.
    const int& ElementNum() const;
    /// The rows as nested vectors: RowSize() inner vectors of ColumnSize() values each. A matrix
    /// without rows gives an empty vector and allocates nothing, whatever its column count.
    std::vector<std::vector<double>> ToVec() const;

    // ---- Element-wise arithmetic ---------------------------------------------------------------

    /// Adds `other` element-wise when the shapes agree; otherwise leaves *this unchanged.
    const KoMatrix& operator+=(const KoMatrix& other);
    /// Subtracts `other` element-wise when the shapes agree; otherwise leaves *this unchanged.
    const KoMatrix& operator-=(const KoMatrix& other);
    /// Adds s to every element. The scalar forms read s once, so an element of the matrix
    /// itself may be passed: m /= m.at(0) divides every element by the old first element.
    const KoMatrix& operator+=(const double& s);
    /// Subtracts s from every element.
    const KoMatrix& operator-=(const double& s);
    /// Multiplies every element by s.
    const KoMatrix& operator*=(const double& s);
    /// Divides every element by s (IEEE division: no check for zero).
    const KoMatrix& operator/=(const double& s);
    /// Sets every element strictly inside (-1e-11, 1e-11) to +0.0; NaN elements stay.
    const KoMatrix& SmallElementToZero();

    /// Element-wise sum other[k] + this[k]; a copy of *this when the shapes differ.
    const KoMatrix operator+(const KoMatrix& other) const;
    /// Element-wise difference this[k] - other[k]; a copy of *this when the shapes differ.
    const KoMatrix operator-(const KoMatrix& other) const;
    /// Element-wise product; a copy of *this when the shapes differ.
    const KoMatrix HadamardProduct(const KoMatrix& other) const;
    /// Element-wise quotient (IEEE division); a copy of *this when the shapes differ.
    const KoMatrix HadamardDivision(const KoMatrix& other) const;
    /// this[k] + s for every element.
    const KoMatrix operator+(const double& s) const;
    /// this[k] - s for every element.
    const KoMatrix operator-(const double& s) const;
    /// this[k] * s for every element.
    const KoMatrix operator*(const double& s) const;
    /// this[k] / s for every element.
    const KoMatrix operator/(const double& s) const;
    /// pow(this[k], n) for every element, n converted to double.
    const KoMatrix HadamardPower(const int& n) const;
    /// pow(this[k], p) for every element (a negative base with a fractional p gives NaN).
    const KoMatrix HadamardPower(const double& p) const;

    // ---- Comparison and element queries ------------------------------------------------------

    /// True when the shapes agree and every pair of elements compares equal (IEEE: NaN is
    /// unequal to everything, +0.0 equals -0.0).
    bool operator==(const KoMatrix& other) const;
    /// The negation of operator==.
    bool operator!=(const KoMatrix& other) const;
    /// True when the row counts and the column counts agree; elements are not looked at.
    bool IsSameDimension(const KoMatrix& other) const;
    /// Sum of the diagonal of a square matrix (0.0 for 0 x 0); 0.0 for any other shape.
    double Trace() const;
    // The virtual table holds, in this order: Max(int&), Max(), Min(int&), Min(), Det().
    // MSVC lays out overloaded virtual functions in reverse order of declaration, so there
    // each pair is declared the other way round to give the same slots.
#if defined(_MSC_VER)
    /// The largest element by the running rule "replace unless the running value is greater"
    /// (so a NaN or an equal element replaces it). Without elements: quiet NaN.
    virtual double Max() const;
    /// The largest element; `index` receives its flat index. The first of equal maxima wins and
    /// a NaN never replaces the running value. Without elements: quiet NaN and index -1.
    virtual double Max(int& index) const;
    /// The smallest element by "replace unless the candidate is greater". Without elements:
    /// quiet NaN.
    virtual double Min() const;
    /// The smallest element; `index` receives its flat index (first of equal minima; NaN never
    /// replaces). Without elements: quiet NaN and index -1.
    virtual double Min(int& index) const;
#else
    /// The largest element; `index` receives its flat index. The first of equal maxima wins and
    /// a NaN never replaces the running value. Without elements: quiet NaN and index -1.
    virtual double Max(int& index) const;
    /// The largest element by the running rule "replace unless the running value is greater"
    /// (so a NaN or an equal element replaces it). Without elements: quiet NaN.
    virtual double Max() const;
    /// The smallest element; `index` receives its flat index (first of equal minima; NaN never
    /// replaces). Without elements: quiet NaN and index -1.
    virtual double Min(int& index) const;
    /// The smallest element by "replace unless the candidate is greater". Without elements:
    /// quiet NaN.
    virtual double Min() const;
#endif

    // ---- Products, transpose, factories ------------------------------------------------------

    /// The matrix product *this * other (rows x other.cols), each element summed over
    /// increasing k from 0.0. A copy of *this when cols != other.rows.
    const KoMatrix operator*(const KoMatrix& other) const;
    /// Replaces *this by *this * other (A *= A uses A as it was). Unchanged when
    /// cols != other.rows, or when *this wraps a buffer and other is not square.
    const KoMatrix& operator*=(const KoMatrix& other);
    /// The cols x rows transpose.
    const KoMatrix Transpose() const;
    /// The n x n identity; 0 x 0 for n <= 0.
    static const KoMatrix Identity(int n);
    /// The n x n matrix with values[0 .. n-1] on the diagonal; 0 x 0 for n <= 0, the zero
    /// matrix when `values` is null.
    static const KoMatrix DiagForm(int n, double* values);
    /// The square matrix with `values` on the diagonal.
    static const KoMatrix DiagForm(std::vector<double> values);

    // ---- Rows and columns --------------------------------------------------------------------

    /// Rows first .. last (inclusive) as a (last - first + 1) x cols matrix. A run outside the
    /// matrix (first < 0, last >= rows, or last < first - 1) gives a 0 x cols matrix.
    const KoMatrix GetRow(int first, int last) const;
    /// Columns first .. last (inclusive) as a rows x (last - first + 1) matrix. A run outside
    /// the matrix gives a rows x 0 matrix.
    const KoMatrix GetColumn(int first, int last) const;
    /// Overwrites rows first .. last with the rows of `source`. DimensionMismatch (nothing
    /// changed) unless source has last - first + 1 rows and cols columns and the run lies inside.
    [[nodiscard]] KoMatrixError SetRow(int first, int last, const KoMatrix& source);
    /// Overwrites columns first .. last with the columns of `source`. DimensionMismatch
    /// (nothing changed) unless source has rows rows and last - first + 1 columns and the run
    /// lies inside.
    [[nodiscard]] KoMatrixError SetColumn(int first, int last, const KoMatrix& source);
    /// Inserts the rows of `source` so that they become rows first .. last of the grown matrix
    /// (first may be 0 .. rows). ExternalBuffer for a wrapping matrix (checked first),
    /// DimensionMismatch for unfit operands; nothing changes unless NoError is returned.
    [[nodiscard]] KoMatrixError AddRow(int first, int last, const KoMatrix& source);
    /// Inserts the columns of `source` so that they become columns first .. last of the grown
    /// matrix (first may be 0 .. cols). Codes as for AddRow.
    [[nodiscard]] KoMatrixError AddColumn(int first, int last, const KoMatrix& source);

    // ---- Norms and property tests ------------------------------------------------------------

    /// The largest absolute element; 0.0 without elements.
    double ElementWiseInfiniteNorm() const;
    /// pow(sum of pow(|x|, p), 1.0 / p) over all elements in row-major order; p unguarded.
    double ElementWiseNorm(const int& p) const;
    /// The largest absolute row sum; 0.0 without elements.
    double MatrixInfiniteNorm() const;
    /// p = 1: the largest absolute column sum; p = 2: the spectral norm, the square root of the
    /// largest eigenvalue of A * A^T; any other p: 0.0. Without elements both norms are 0.0 (the
    /// value the definitions give), answered without forming A * A^T.
    /// Limit (p = 2): zero eigenvalues of A * A^T of a tall or rank-deficient A may come out
    /// slightly negative; their square root is NaN, and the running maximum then lets a NaN or a
    /// later, smaller value win: {{1, 2}, {3, 4}, {5, 6}} gives NaN (9.5255), {{0, -2}, {0, -3},
    /// {-1, 0}} gives 1 (3.6056). KoDiagnostics::MatrixNorm checks the result.
    double MatrixNorm(const int& p) const;
    /// Whether the matrix is of the given kind (see MatrixType); false for unknown kinds.
    bool IsSpecialMatrix(MatrixType type) const;

    // ---- Elimination, rank, determinant ------------------------------------------------------

    /// Row echelon form by Gaussian elimination with partial pivoting (each pivot row scaled to
    /// a leading 1). Always NoError.
    [[nodiscard]] KoMatrixError GaussElimination(KoMatrix& echelon) const;
    /// Solves *this * x = rhs for one right-hand-side column by elimination of the augmented
    /// matrix and back substitution. `reduced` receives the eliminated coefficient matrix,
    /// `solution` the rows x 1 solution. DimensionMismatch when rhs is not rows x 1,
    /// ExternalBuffer when an output wraps a buffer of another shape (both outputs untouched);
    /// NotSquare for a non-square system (reduced set, solution a zero column). A singular
    /// square system is not detected. A system without rows needs no elimination: `reduced`
    /// becomes a copy of *this and `solution` 0 x 1, with NotSquare (NoError for 0 x 0); the
    /// rows x (cols + 1) augmented matrix is formed only when there are rows, so 0 x INT_MAX is
    /// answered like any other shape.
    /// Limit: an inconsistent singular system returns NoError with a finite x that solves
    /// nothing: {{1, 2}, {2, 4}} * x = (1, 3) gives x = (2.5, -0.5). The diagnostics' form
    /// (KoDiagnostics) reports the residual, the missing pivots and the condition.
    [[nodiscard]] KoMatrixError GaussElimination(const KoMatrix& rhs, KoMatrix& solution,
                                                 KoMatrix& reduced) const;
    /// The rank as the elimination sees it: the number of rows of the echelon form holding an
    /// element outside the zero band (0 without elements).
    /// Limit: the band is absolute, whatever the matrix's scale: 1e-12 * I has rank 0, and
    /// 1e6 * {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}} has rank 3 (its rounding residues exceed 1e-11).
    /// KoDiagnostics::Rank compares the count with the singular values.
    int Rank() const;
    /// The same count; `basis` receives the pivot columns of *this (column 0 always included).
    int Rank(KoMatrix& basis) const;
    /// The determinant by elimination; 0.0 for a non-square matrix, 1.0 for 0 x 0.
    /// Limit: a pivot within the absolute zero band counts as 0: Det of 1e-12 * I is 0.0.
    virtual double Det() const;
    /// The product of all elements of m in row-major order (1.0 without elements); *this is
    /// not read.
    double Det(const KoMatrix& m) const;

    // ---- Decompositions ----------------------------------------------------------------------

    /// Factors *this = Q * R by the given method. InvalidMethod for an unknown method (outputs
    /// untouched); SingularMatrix when Gram-Schmidt meets a square singular matrix;
    /// ExternalBuffer when Q or R wraps a buffer that cannot take its result's shape (checked
    /// after the singularity test; outputs untouched); otherwise NoError. Q or R may be *this
    /// itself.
    [[nodiscard]] KoMatrixError QRDecomposition(KoMatrix& Q, KoMatrix& R, QRMethod method) const;
    /// Householder bidiagonalization *this = U * B * V with B upper bidiagonal (up to rounding),
    /// U m x m and V n x n orthogonal. Note: V itself, not its transpose, is the right factor.
    [[nodiscard]] KoMatrixError BiDiagonalize(KoMatrix& U, KoMatrix& B, KoMatrix& V) const;
    /// Eigenvalues of a square matrix by at most 99 unshifted QR steps: V receives the n x 1
    /// diagonal of the last iterate, unsorted. DimensionMismatch for a non-square matrix.
    /// Limit: no shifts, so eigenvalues of equal magnitude never separate and complex ones are
    /// not representable: [[0, 1], [1, 0]] (+-1) and [[0, -1], [1, 0]] (+-i) both give about
    /// (0, 0); crowded eigenvalues stay off by about their spacing after 99 steps.
    /// KoDiagnostics::EigenValues reports the steps and what is left below the diagonal.
    [[nodiscard]] KoMatrixError EigenValues(KoMatrix& V) const;
    /// Eigenvalues (V, n x 1) and eigenvectors (W, n x n, column i for V[i]) of an exactly
    /// symmetric matrix; NotSymmetric (outputs untouched) otherwise.
    /// Limit: the iteration of EigenValues; even on well-separated eigenvalues it stops at a
    /// residual |A*W - W*diag(V)| / |A| near 1e-8, on crowded ones (an SPD matrix B^T*B + n*I)
    /// at 1e-3 to 1e-2. KoDiagnostics::Eigen reports the residual and the orthogonality of W.
    [[nodiscard]] KoMatrixError Eigen(KoMatrix& V, KoMatrix& W) const;
    /// Full SVD *this = U * S * V^T: U m x m, S m x n with non-increasing singular values on its
    /// diagonal, V n x n. NotSymmetric when the Gram matrix is not exactly symmetric (a NaN).
    /// Limit: singular values are square roots of the eigenvalues of A*A^T or A^T*A, so a zero
    /// one comes out NaN (a tiny negative eigenvalue; {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}) or near
    /// 1e-9 instead of 0, small ones keep about half the digits, and the factors inherit the
    /// eigen iteration's error. KoDiagnostics::SVDDecomposition measures the result.
    [[nodiscard]] KoMatrixError SVDDecomposition(KoMatrix& U, KoMatrix& S, KoMatrix& V) const;
    /// Reduced SVD with p = min(m, n): U m x p, S p x p, V n x p.
    /// Limit: as SVDDecomposition. KoDiagnostics::SubSVDDecomposition measures the result.
    [[nodiscard]] KoMatrixError SubSVDDecomposition(KoMatrix& U, KoMatrix& S, KoMatrix& V) const;
    /// The (pseudo-)inverse, n x m for an m x n matrix, through the reduced SVD; singular values
    /// not above 1e-11 are treated as zero. A NaN-producing input gives the n x m NaN matrix.
    /// Limit: a zero singular value that comes out near 1e-9 is above the cut and inverted:
    /// {{4, 2, 1}, {4, 2, -4}, {8, 4, -3}} (rank 2) gives elements near 166 where the
    /// pseudo-inverse has at most 0.2; the cut is absolute, so Inv of 1e-12 * I is zero.
    /// KoDiagnostics::Inv checks the result against the pseudo-inverse's defining equations.
    const KoMatrix Inv() const;

    // ---- Moves and element ranges --------------------------------------------------------------

    /// Takes over other's elements without copying them. `other` is left as the empty 0 x 0
    /// matrix. A source that wraps a caller's buffer, or that is a Matrix3x1 or Matrix3x3 (which
    /// keep their fixed shape), is copied instead and left unchanged. Allocates one small
    /// handle object (std::bad_alloc on failure, `other` unchanged).
    KoMatrix(KoMatrix&& other);
    /// Exchanges the contents of *this and `other`, so `other` holds the former value of *this.
    /// Falls back to the copy assignment (`other` unchanged) when either matrix wraps a caller's
    /// buffer or `other` is a Matrix3x1 or Matrix3x3. Returns *this.
    KoMatrix& operator=(KoMatrix&& other);

    /// The row-major element buffer (ElementNum() doubles); null for a matrix without elements.
    /// Valid until the next operation that replaces the buffer (see at()).
    double* data();
    /// The row-major element buffer, read-only.
    const double* data() const;
    /// First element in row-major order, for standard algorithms and range-for loops.
    double* begin();
    /// First element, read-only.
    const double* begin() const;
    /// One past the last element (begin() + ElementNum()).
    double* end();
    /// One past the last element, read-only.
    const double* end() const;

  protected:
    /// Takes ownership of `implement`, which must not be null. The fixed-size classes hand over
    /// implementations allocated in one block with their elements.
    explicit KoMatrix(KoMatrixImplement* implement) noexcept : impl(implement) {}

    /// The implementation; never null, owned exclusively by this handle.
    KoMatrixImplement* impl;

  private:
    /// The diagnostics reach the eigen iteration's record of its steps through the implementation.
    friend class KoDiagnostics;
    /// Wraps an operation's result: a deep copy of `implement`.
    explicit KoMatrix(const KoMatrixImplement& implement);
    /// Wraps a fresh result by taking over its buffer: the same matrix as the deep copy, without
    /// copying the elements once more.
    explicit KoMatrix(KoMatrixImplement&& implement);
};

// ---- Scalar on the left and negation ---------------------------------------------------------
// Free functions, so that 2.0 * A reads as written. Each is the element-wise operation of the
// matching member with the scalar on the right and returns a fresh owning matrix of m's shape.

/// s * m[k] for every element: the same matrix as m * s.
KOCALVIX_API KoMatrix operator*(const double& s, const KoMatrix& m);
/// s + m[k] for every element: the same matrix as m + s.
KOCALVIX_API KoMatrix operator+(const double& s, const KoMatrix& m);
/// s - m[k] for every element.
KOCALVIX_API KoMatrix operator-(const double& s, const KoMatrix& m);
/// -m[k] for every element (the sign bit flipped; -0.0 for +0.0).
KOCALVIX_API KoMatrix operator-(const KoMatrix& m);

#endif  // KOCALVIX_MATRIX_H

// SPDX-License-Identifier: MIT
// Matrix3x1 and Matrix3x3: the fixed-size column vector and square matrix of order three.
//
// Both are KoMatrix objects whose implementation is 3 x 1 or 3 x 3, so every KoMatrix member
// applies to them as well. Their own members work on the three or nine elements of the base's
// row-major buffer with unrolled closed formulas (element (r, c) of a Matrix3x3 at index
// 3 * r + c) and return fresh owning objects of the fixed shape. Every expression is evaluated
// in the order written in its comment, so results are reproducible bit for bit. pow is the
// library's power function described in kocalvix/matrix.h (exponents 2.0, 0.5 and 1.0 are exact
// and identical everywhere; others use the C library's pow).
//
// A fixed-size value keeps its implementation and its elements in one memory block. Released
// blocks are kept for reuse in a small cache of the releasing thread (at most 33 blocks of 128
// bytes, returned to the heap when the thread ends; not on Windows, where every block comes
// from the heap), so creating a value usually does not reach the heap at all.
//
// Reshaped objects: a KoMatrix operation reached through a base reference (operator=, AddRow,
// AddColumn, operator*=) can give a fixed-size object another shape. The fixed-size members
// then stay within the object's buffer at the cost of one comparison of the element count:
// - an operand (including *this) that no longer holds exactly 3 (Matrix3x1) or 9 (Matrix3x3)
//   elements reads as all zeros (one that does, whatever its shape, reads as its elements);
// - the in-place members leave such a *this unchanged, except assignment and DiagFrom, which
//   give it back its fixed shape before storing their values (also a shape of the same element
//   count, such as 1 x 3);
// - for such an object the virtual queries Max, Min and Det answer with the general KoMatrix
//   members, which accept any shape, and Matrix3x3::Inv chooses its path by that determinant
//   (a singular or non-square shape gets the first nine elements of the general inverse);
// - Matrix3x3::operator*(const KoMatrix&) uses *this with whatever shape it has.
#ifndef KOCALVIX_FIXED_MATRIX_H
#define KOCALVIX_FIXED_MATRIX_H

#include <vector>

#include "kocalvix/export.h"
#include "kocalvix/matrix.h"

class Matrix3x3;

/// A column vector of three doubles (e0, e1, e2), held as a 3 x 1 KoMatrix. Final, so that
/// containers of it build without Clang's warning about a non-virtual destructor.
class KOCALVIX_API Matrix3x1 final : public KoMatrix {
  public:
    // ---- Construction and assignment ---------------------------------------------------------

    /// The zero vector.
    Matrix3x1();
    /// A copy of other's three elements in a buffer of its own.
    Matrix3x1(const Matrix3x1& other);
    /// The vector (a, b, c).
    Matrix3x1(const double& a, const double& b, const double& c);
    /// The vector (v[0], v[1], v[2]); values beyond the third are ignored, missing ones are 0.0.
    /// `v` is not modified.
    Matrix3x1(std::vector<double>& v);
    /// Copies other's three elements into the existing buffer. Returns *this.
    Matrix3x1& operator=(const Matrix3x1& other);

    // ---- Comparison ---------------------------------------------------------------------------

    /// True when the three pairs of elements compare equal (IEEE: a NaN is never equal).
    bool operator==(const Matrix3x1& other) const;
    /// True at the first pair, in order 0, 1, 2, that compares unequal.
    bool operator!=(const Matrix3x1& other) const;

    // ---- Extremes -----------------------------------------------------------------------------

    /// The largest element; `index` receives its position. A later element is taken only when
    /// strictly greater, so the first of equal maxima wins and a NaN never replaces.
    double Max(int& index) const override;
    /// The same value as Max(int&): (e1 > e0 ? e1 : e0), then (e2 > m ? e2 : m).
    double Max() const override;
    /// The smallest element; `index` receives its position (first of equal minima wins).
    double Min(int& index) const override;
    /// The same value as Min(int&): (e1 < e0 ? e1 : e0), then (e2 < m ? e2 : m).
    double Min() const override;

    // ---- Element-wise arithmetic --------------------------------------------------------------

    /// ei = ei + oi. Returns *this.
    Matrix3x1& operator+=(const Matrix3x1& other);
    /// ei = ei - oi. Returns *this.
    Matrix3x1& operator-=(const Matrix3x1& other);
    /// The vector ei + oi.
    Matrix3x1 operator+(const Matrix3x1& other) const;
    /// The vector ei - oi.
    Matrix3x1 operator-(const Matrix3x1& other) const;
    /// ei = ei + s. Returns *this.
    Matrix3x1& operator+=(const double& s);
    /// ei = ei - s. Returns *this.
    Matrix3x1& operator-=(const double& s);
    /// ei = ei * s. Returns *this.
    Matrix3x1& operator*=(const double& s);
    /// ei = ei / s (IEEE division, no check for zero). Returns *this.
    Matrix3x1& operator/=(const double& s);
    /// The vector ei + s.
    Matrix3x1 operator+(const double& s) const;
    /// The vector ei - s.
    Matrix3x1 operator-(const double& s) const;
    /// The vector ei * s.
    Matrix3x1 operator*(const double& s) const;
    /// The vector ei / s (IEEE division).
    Matrix3x1 operator/(const double& s) const;
    /// The vector ei * oi; *this is not modified.
    Matrix3x1 HadamardProduct(const Matrix3x1& other);
    /// The vector ei / oi (IEEE division); *this is not modified.
    Matrix3x1 HadamardDivision(const Matrix3x1& other);
    /// The vector pow(ei, n), n converted to double; *this is not modified.
    Matrix3x1 HadamardPower(const int& n);
    /// The vector pow(ei, p); *this is not modified.
    Matrix3x1 HadamardPower(const double& p);

    // ---- Statistics and rounding --------------------------------------------------------------

    /// sqrt(((e1 - o1)^2 + (e0 - o0)^2 + (e2 - o2)^2) / 3.0), each square pow(d, 2.0).
    double RMSE(const Matrix3x1& other);
    /// A copy with every element rounded half away from zero to `digits` decimal places:
    /// trunc(|x| * 10^digits + 0.5) / 10^digits with x's sign, exactly as a conversion through
    /// a 32-bit integer would give wherever that fits, and without that bound beyond it. A
    /// negative count, NaN, the infinities and values whose scaled magnitude overflows are
    /// returned unchanged.
    Matrix3x1 Rounding(const int& digits) const;

  private:
    friend class Matrix3x3;
    /// Selects the constructor below (a tag, so that no public call such as Matrix3x3(0) could
    /// ever match it).
    struct Adopt {};
    /// Takes over a 3 x 1 implementation the library has just created and filled.
    Matrix3x1(KoMatrixImplement* implement, Adopt) noexcept : KoMatrix(implement) {}
};

/// A 3 x 3 matrix of doubles a0 .. a8 (row by row), held as a 3 x 3 KoMatrix. Final, as
/// Matrix3x1.
class KOCALVIX_API Matrix3x3 final : public KoMatrix {
  public:
    // ---- Construction and assignment ---------------------------------------------------------

    /// The zero matrix.
    Matrix3x3();
    /// A copy of other's nine elements in a buffer of its own.
    Matrix3x3(const Matrix3x3& other);
    /// Copies p[0] .. p[8] row by row; the caller keeps its buffer. A null p gives zeros.
    Matrix3x3(double* p);
    /// The matrix with rows (a0, a1, a2), (a3, a4, a5), (a6, a7, a8).
    Matrix3x3(const double& a0, const double& a1, const double& a2, const double& a3,
              const double& a4, const double& a5, const double& a6, const double& a7,
              const double& a8);
    /// v[0] .. v[8] row by row; values beyond the ninth are ignored, missing ones are 0.0.
    /// `v` is not modified.
    Matrix3x3(std::vector<double>& v);
    /// The diagonal matrix diag(d0, d1, d2).
    Matrix3x3(const Matrix3x1& d);
    /// diag(1.0, 1.0, 1.0).
    static Matrix3x3 Identity();
    /// Overwrites *this with diag(d0, d1, d2), zeroing the off-diagonal elements. Returns *this.
    const Matrix3x3& DiagFrom(const Matrix3x1& d);
    /// Copies other's nine elements into the existing buffer. Returns *this.
    Matrix3x3& operator=(const Matrix3x3& other);

    // ---- Comparison ---------------------------------------------------------------------------

    /// True when the nine pairs of elements compare equal (IEEE: a NaN is never equal).
    bool operator==(const Matrix3x3& other) const;
    /// True at the first pair, in order 0 .. 8, that compares unequal.
    bool operator!=(const Matrix3x3& other) const;

    // ---- Extremes -----------------------------------------------------------------------------

    /// The largest element; `index` receives its flat index. A later element is taken only when
    /// strictly greater, so the first of equal maxima wins and a NaN never replaces.
    double Max(int& index) const override;
    /// The same value as Max(int&).
    double Max() const override;
    /// The smallest element; `index` receives its flat index (first of equal minima wins).
    double Min(int& index) const override;
    /// The same value as Min(int&).
    double Min() const override;

    // ---- Determinant, inverse, transpose -----------------------------------------------------

    /// The product of the elements of a KoMatrix, as in KoMatrix.
    using KoMatrix::Det;
    /// Rule of Sarrus: ((a0a4a8 + a3a7a2) + a5a6a1) - a4a2a6 - a1a3a8 - a0a7a5, each triple
    /// product multiplied left to right.
    double Det() const override;
    /// The adjugate divided element by element by Det(). When Det() is exactly 0.0, the general
    /// (pseudo-)inverse of KoMatrix::Inv instead. A NaN determinant divides the adjugate by NaN.
    /// Limit: the fallback has KoMatrix::Inv's limits: Matrix3x3(4, 2, 1, 4, 2, -4, 8, 4, -3)
    /// (rank 2) gives elements near 166; KoDiagnostics::Inv(m) tells (the same values).
    Matrix3x3 Inv() const;
    /// The transpose.
    Matrix3x3 Transpose() const;

    // ---- Products and powers ------------------------------------------------------------------

    /// C = A * B with cij = (ai0 * b0j + ai1 * b1j) + ai2 * b2j.
    Matrix3x3 operator*(const Matrix3x3& B) const;
    /// *this = A * B, both operands read before anything is written (A *= A squares A).
    /// Returns *this.
    Matrix3x3& operator*=(const Matrix3x3& B);
    /// y = A * x with yi = (ai0 * x0 + ai1 * x1) + ai2 * x2.
    Matrix3x1 operator*(const Matrix3x1& x) const;
    /// The general KoMatrix product of *this and M: 3 x M.cols when M has three rows, otherwise
    /// a KoMatrix copy of *this.
    KoMatrix operator*(const KoMatrix& M) const;
    /// A to the n-th power: *this *= S applied n - 1 times with S a copy of A taken first.
    /// For n <= 1 *this is left unchanged. Returns *this.
    Matrix3x3& operator^=(const int& n);
    /// The same power on a copy; a plain copy for n <= 1.
    Matrix3x3 operator^(const int& n) const;

    // ---- Element-wise arithmetic --------------------------------------------------------------

    /// ai = ai + bi. Returns *this.
    Matrix3x3& operator+=(const Matrix3x3& B);
    /// ai = ai - bi. Returns *this.
    Matrix3x3& operator-=(const Matrix3x3& B);
    /// The matrix ai + bi.
    Matrix3x3 operator+(const Matrix3x3& B) const;
    /// The matrix ai - bi.
    Matrix3x3 operator-(const Matrix3x3& B) const;
    /// ai = ai + s. Returns *this.
    Matrix3x3& operator+=(const double& s);
    /// ai = ai - s. Returns *this.
    Matrix3x3& operator-=(const double& s);
    /// ai = ai * s. Returns *this.
    Matrix3x3& operator*=(const double& s);
    /// ai = ai / s (IEEE division, no check for zero). Returns *this.
    Matrix3x3& operator/=(const double& s);
    /// The matrix ai + s.
    Matrix3x3 operator+(const double& s) const;
    /// The matrix ai - s.
    Matrix3x3 operator-(const double& s) const;
    /// The matrix ai * s.
    Matrix3x3 operator*(const double& s) const;
    /// The matrix ai / s (IEEE division).
    Matrix3x3 operator/(const double& s) const;
    /// The matrix ai * bi; *this is not modified.
    Matrix3x3 HadamardProduct(const Matrix3x3& B);
    /// The matrix ai / bi (IEEE division); *this is not modified.
    Matrix3x3 HadamardDivision(const Matrix3x3& B);
    /// The matrix pow(ai, n), n converted to double; *this is not modified.
    Matrix3x3 HadamardPower(const int& n);
    /// The matrix pow(ai, p); *this is not modified.
    Matrix3x3 HadamardPower(const double& p);

    // ---- Statistics and rounding --------------------------------------------------------------

    /// sqrt(sum / 9.0) where sum starts as (a1 - b1)^2 + (a0 - b0)^2 and adds (ak - bk)^2 for
    /// k = 2 .. 8 in order; each square is pow(d, 2.0).
    double RMSE(const Matrix3x3& B);
    /// A copy with every element rounded as by Matrix3x1::Rounding.
    Matrix3x3 Rounding(const int& digits) const;

  private:
    /// The tag of the constructor below, shared with Matrix3x1.
    using Adopt = Matrix3x1::Adopt;
    /// Takes over a 3 x 3 implementation the library has just created and filled.
    Matrix3x3(KoMatrixImplement* implement, Adopt) noexcept : KoMatrix(implement) {}
};

// ---- Moves ------------------------------------------------------------------------------------
// Matrix3x1 and Matrix3x3 have no move members of their own: a move copies the three or nine
// elements, since every object keeps a buffer of its fixed shape and a move could save nothing.
// Moving one into a KoMatrix (KoMatrix(KoMatrix&&), KoMatrix::operator=(KoMatrix&&)) copies
// as well and leaves the source unchanged.

// ---- Scalar on the left and negation ---------------------------------------------------------
// Free functions, so that 2.0 * v reads as written. Each is the element-wise operation of the
// matching member with the scalar on the right; an operand that was reshaped reads as zeros.

/// The vector s * ei: the same as v * s.
KOCALVIX_API Matrix3x1 operator*(const double& s, const Matrix3x1& v);
/// The vector s + ei: the same as v + s.
KOCALVIX_API Matrix3x1 operator+(const double& s, const Matrix3x1& v);
/// The vector s - ei.
KOCALVIX_API Matrix3x1 operator-(const double& s, const Matrix3x1& v);
/// The vector -ei (the sign bit flipped).
KOCALVIX_API Matrix3x1 operator-(const Matrix3x1& v);
/// The matrix s * ai: the same as A * s.
KOCALVIX_API Matrix3x3 operator*(const double& s, const Matrix3x3& A);
/// The matrix s + ai: the same as A + s.
KOCALVIX_API Matrix3x3 operator+(const double& s, const Matrix3x3& A);
/// The matrix s - ai.
KOCALVIX_API Matrix3x3 operator-(const double& s, const Matrix3x3& A);
/// The matrix -ai (the sign bit flipped).
KOCALVIX_API Matrix3x3 operator-(const Matrix3x3& A);

#endif  // KOCALVIX_FIXED_MATRIX_H

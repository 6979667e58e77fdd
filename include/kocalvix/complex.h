// SPDX-License-Identifier: MIT
// Complex: complex numbers in double precision. Calvix: the library's version query.
//
// Every Complex operation reads both parts of both operands before writing, so a compound
// operator applied to itself (z *= z) uses the old values. Nothing is scaled against overflow
// or underflow, and nothing raises: IEEE arithmetic decides (division by 0 + 0i gives NaN parts).
#ifndef KOCALVIX_COMPLEX_H
#define KOCALVIX_COMPLEX_H

#include "kocalvix/export.h"

/// A complex number re + im*i: the real part, then the imaginary part.
class KOCALVIX_API Complex {
  public:
    /// 0 + 0i.
    Complex();
    /// re + im*i.
    Complex(double re, double im);
    /// Member-wise copy.
    Complex(const Complex& other) = default;
    /// Member-wise copy. Returns *this.
    Complex& operator=(const Complex& other);

    /// The real part.
    double GetReal() const;
    /// The imaginary part.
    double GetImage() const;
    /// Replaces the real part.
    void SetReal(double re);
    /// Replaces the imaginary part.
    void SetImage(double im);

    /// True when both parts are equal (exact).
    bool operator==(const Complex& o) const;
    /// True when either part differs (exact; a NaN part makes a value unequal to itself).
    bool operator!=(const Complex& o) const;

    /// The conjugate a - bi as a new value; this value is not changed.
    Complex Conjugate();

    /// Adds o part by part. Returns *this.
    const Complex& operator+=(const Complex& o);
    /// Subtracts o part by part. Returns *this.
    const Complex& operator-=(const Complex& o);
    /// Replaces this value by the product (see operator*). Returns *this.
    const Complex& operator*=(const Complex& o);
    /// Replaces this value by the quotient (see operator/). Returns *this.
    const Complex& operator/=(const Complex& o);
    /// (a + c) + (b + d)i.
    const Complex operator+(const Complex& o) const;
    /// (a - c) + (b - d)i.
    const Complex operator-(const Complex& o) const;
    /// (a*c - b*d) + (a*d + b*c)i.
    const Complex operator*(const Complex& o) const;
    /// With r = 1.0 / (c*c + d*d): ((a*c + b*d)*r) + ((b*c - a*d)*r)i. The parts are multiplied
    /// by the reciprocal, not divided by the denominator.
    const Complex operator/(const Complex& o) const;

    /// The modulus sqrt(a*a + b*b), formed directly (large parts overflow to +inf).
    double abs();

  private:
    double re;
    double im;
};

/// The library's version query and the settings of its matrix product. A Calvix value has no
/// state; the thread count is the library's one global setting.
class KOCALVIX_API Calvix {
  public:
    /// An empty value; copying or moving one does nothing.
    Calvix() = default;
    /// Copies nothing.
    Calvix(const Calvix&) = default;
    /// Moves nothing.
    Calvix(Calvix&&) = default;
    /// Does nothing. Returns *this.
    Calvix& operator=(const Calvix& other);
    /// Does nothing. Returns *this.
    Calvix& operator=(Calvix&& other);

    /// Writes the version 2.2.0.1, most significant part first: v[0] = 2, v[1] = 2, v[2] = 0,
    /// v[3] = 1. `v` must hold at least four ints; a null pointer does nothing.
    static void Version(int* v);

    /// Sets the number of threads a large matrix product may use (capped at 64); n <= 0 restores
    /// the default: the environment variable KOCALVIX_THREADS when it holds a positive number,
    /// else the hardware's thread count capped at 8. 1 computes every product on the calling
    /// thread. Results are bit-identical for every count. Safe to call from any thread; products
    /// already running keep the count they started with. Small products never use threads, and
    /// threads live only for the product that started them.
    static void SetThreadCount(int n);
    /// The number of threads a large matrix product may use, 1 .. 64.
    static int ThreadCount();
    /// The instruction set of the matrix product on this machine: "avx512", "avx2", "sse2" (x86)
    /// or "generic" (portable C++), chosen once per process from the CPU. The environment
    /// variable KOCALVIX_ISA=generic|sse2|avx2|avx512 forces a path; a path the CPU lacks
    /// falls back to the widest one below it that it has. All paths give the same bits.
    static const char* ProductKernel();
};

#endif  // KOCALVIX_COMPLEX_H

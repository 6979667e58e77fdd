// SPDX-License-Identifier: MIT
// Complex: accessors, exact comparison, the four arithmetic operations, conjugate and modulus.
#include <kocalvix/complex.h>

#include <cmath>

Complex::Complex() : re(0.0), im(0.0) {}

Complex::Complex(double real, double imag) : re(real), im(imag) {}

Complex& Complex::operator=(const Complex& other) {
    re = other.re;
    im = other.im;
    return *this;
}

double Complex::GetReal() const {
    return re;
}

double Complex::GetImage() const {
    return im;
}

void Complex::SetReal(double real) {
    re = real;
}

void Complex::SetImage(double imag) {
    im = imag;
}

bool Complex::operator==(const Complex& o) const {
    return re == o.re && im == o.im;
}

bool Complex::operator!=(const Complex& o) const {
    return re != o.re || im != o.im;
}

Complex Complex::Conjugate() {
    return Complex(re, -im);
}

const Complex& Complex::operator+=(const Complex& o) {
    *this = *this + o;
    return *this;
}

const Complex& Complex::operator-=(const Complex& o) {
    *this = *this - o;
    return *this;
}

const Complex& Complex::operator*=(const Complex& o) {
    *this = *this * o;
    return *this;
}

const Complex& Complex::operator/=(const Complex& o) {
    *this = *this / o;
    return *this;
}

const Complex Complex::operator+(const Complex& o) const {
    return Complex(re + o.re, im + o.im);
}

const Complex Complex::operator-(const Complex& o) const {
    return Complex(re - o.re, im - o.im);
}

const Complex Complex::operator*(const Complex& o) const {
    const double a = re, b = im, c = o.re, d = o.im;
    return Complex(a * c - b * d, a * d + b * c);
}

const Complex Complex::operator/(const Complex& o) const {
    const double a = re, b = im, c = o.re, d = o.im;
    const double r = 1.0 / (c * c + d * d);
    return Complex((a * c + b * d) * r, (b * c - a * d) * r);
}

double Complex::abs() {
    return std::sqrt(re * re + im * im);
}

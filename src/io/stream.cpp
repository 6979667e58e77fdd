// SPDX-License-Identifier: MIT
// operator<< for the library's values. Each value's text is built in full first and written at
// once, so a field width set on the stream applies to the whole value.
#include <kocalvix/io.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace {

// x written with the formatting state (flags, precision, locale) of `os`.
std::string Format(const std::ostream& os, double x) {
    std::ostringstream text;
    text.flags(os.flags());
    text.precision(os.precision());
    text.imbue(os.getloc());
    text << x;
    return text.str();
}

// "(a, b)" or "(a, b, c)" for the first n coordinates of a point.
template <typename Point>
std::string Coordinates(const std::ostream& os, const Point& p, int n) {
    std::string text = "(";
    for (int i = 0; i < n; ++i) {
        text += (i > 0 ? ", " : "") + Format(os, p[i]);
    }
    return text + ")";
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const KoMatrix& m) {
    const int rows = m.RowSize();
    const int cols = m.ColumnSize();
    if (rows <= 0) {
        return os << ("[]");
    }
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(m.ElementNum()));
    std::vector<std::size_t> width(static_cast<std::size_t>(std::max(cols, 0)), 0);
    for (const double& x : m) {
        cells.push_back(Format(os, x));
        std::size_t& w = width[(cells.size() - 1) % width.size()];
        w = std::max(w, cells.back().size());
    }
    std::string text = "[";
    for (int i = 0; i < rows; ++i) {
        text += i > 0 ? ",\n [" : "[";
        for (int j = 0; j < cols; ++j) {
            const std::string& cell = cells[static_cast<std::size_t>(cols * i + j)];
            text += j > 0 ? ", " : "";
            text.append(width[static_cast<std::size_t>(j)] - cell.size(), ' ');
            text += cell;
        }
        text += "]";
    }
    return os << (text + "]");
}

std::ostream& operator<<(std::ostream& os, const KoPoint& p) {
    return os << (Coordinates(os, p, 2));
}

std::ostream& operator<<(std::ostream& os, const KoPoint3D& p) {
    return os << (Coordinates(os, p, 3));
}

std::ostream& operator<<(std::ostream& os, const KoLine& l) {
    return os << ("[" + Coordinates(os, l[0], 2) + ", " + Coordinates(os, l[1], 2) + "]");
}

std::ostream& operator<<(std::ostream& os, const KoPolygon& p) {
    std::string text = "[";
    for (int i = 0; i < p.size(); ++i) {
        text += (i > 0 ? ", " : "") + Coordinates(os, p[i], 2);
    }
    return os << (text + "]");
}

std::ostream& operator<<(std::ostream& os, const Complex& z) {
    const double im = z.GetImage();
    const bool negative = std::signbit(im);
    return os << ("(" + Format(os, z.GetReal()) + (negative ? " - " : " + ") +
                  Format(os, negative ? -im : im) + "i)");
}

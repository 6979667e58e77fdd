// SPDX-License-Identifier: MIT
// The conveniences around the core classes: text output and the version macros. (Element ranges
// are read by the output contract, the scalar-on-the-left and negation operators by the corpus.)
#include <kocalvix/complex.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>
#include <kocalvix/io.h>
#include <kocalvix/matrix.h>
#include <kocalvix/version.h>

#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

namespace {

template <typename T>
std::string Text(const T& value, int precision = 6, bool fixed = false) {
    std::ostringstream out;
    out << std::setprecision(precision) << (fixed ? std::fixed : std::defaultfloat) << value;
    return out.str();
}

}  // namespace

TEST(StreamOutput, Layouts) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {Text(KoMatrix({{1.0, -2.5}, {30.0, 4.0}})), "[[ 1, -2.5],\n [30,    4]]"},
        {Text(KoMatrix()), "[]"},
        {Text(KoMatrix(0, 3)), "[]"},
        {Text(KoMatrix(2, 0)), "[[],\n []]"},
        {Text(KoMatrix({{-0.0, inf}})), "[[-0, inf]]"},
        {Text(KoMatrix({{1.0 / 3.0}}), 3), "[[0.333]]"},
        {Text(KoMatrix({{1.0, 0.5}}), 2, true), "[[1.00, 0.50]]"},
        {Text(Matrix3x1(1.0, 2.0, 3.0)), "[[1],\n [2],\n [3]]"},
        {Text(Matrix3x3::Identity()), "[[1, 0, 0],\n [0, 1, 0],\n [0, 0, 1]]"},
        {Text(KoPoint(1.5, -2.0)), "(1.5, -2)"},
        {Text(KoPoint3D(1.0, 2.0, 3.0)), "(1, 2, 3)"},
        {Text(KoLine(0.0, 1.0, 2.0, 3.0)), "[(0, 1), (2, 3)]"},
        {Text(KoPolygon(std::vector<KoPoint>{})), "[]"},
        {Text(KoTriangle(0.0, 0.0, 1.0, 0.0, 0.0, 1.0)), "[(0, 0), (1, 0), (0, 1)]"},
        {Text(Complex(1.0, 2.0)), "(1 + 2i)"},
        {Text(Complex(1.0, -2.0)), "(1 - 2i)"},
        {Text(Complex(0.0, -0.0)), "(0 - 0i)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, c.expected);
    }
    // A field width applies to the value's whole text.
    std::ostringstream out;
    out << std::setw(8) << KoPoint(1.0, 2.0) << "|";
    EXPECT_EQ(out.str(), "  (1, 2)|");
}

TEST(Version, TheMacrosMatchTheLibrary) {
    int v[4] = {0, 0, 0, 0};
    Calvix::Version(v);
    EXPECT_EQ(std::vector<int>(v, v + 4),
              (std::vector<int>{KOCALVIX_VERSION_MAJOR, KOCALVIX_VERSION_MINOR,
                                KOCALVIX_VERSION_PATCH, KOCALVIX_VERSION_TWEAK}));
    const std::string text = std::to_string(v[0]) + "." + std::to_string(v[1]) + "." +
                             std::to_string(v[2]) + "." + std::to_string(v[3]);
    EXPECT_EQ(text, KOCALVIX_VERSION_STRING);
}

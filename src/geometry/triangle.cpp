// SPDX-License-Identifier: MIT
// KoTriangle: orientation, and the overlap polygon and overlap area of two triangles.
#include <kocalvix/geometry.h>

#include <cstddef>
#include <vector>

namespace {

// The orientation value of vertices 0, 1, 2 (clamped reads): > 0 when they run clockwise.
double Turn(const KoPolygon& t) {
    const KoPoint& p0 = t[0];
    const KoPoint& p1 = t[1];
    const KoPoint& p2 = t[2];
    return (p1[1] - p0[1]) * (p2[0] - p1[0]) - (p2[1] - p1[1]) * (p1[0] - p0[0]);
}

// Makes a triangle clockwise by swapping vertices 0 and 2 when its turn value is neither > 0
// nor == 0 (counter-clockwise or NaN). Collinear vertices stay as they are.
void MakeClockwise(KoPolygon& t) {
    const double turn = Turn(t);
    if (!(turn > 0.0) && !(turn == 0.0)) {
        const KoPoint first = t[0];
        t[0] = t[2];
        t[2] = first;
    }
}

// True when q lies in the closed clockwise triangle t: on the right of, or on, each of its
// directed edges. A NaN side value counts as outside.
bool IsInsideTriangle(const KoPolygon& t, const KoPoint& q) {
    for (int i = 0; i < 3; ++i) {
        const KoPoint& a = t[i];
        const KoPoint& b = t[(i + 1) % 3];
        const double side = (q[1] - a[1]) * (b[0] - a[0]) - (q[0] - a[0]) * (b[1] - a[1]);
        if (!(side < 0.0 || side == 0.0)) {
            return false;
        }
    }
    return true;
}

bool IsPoint(const KoPolygon& t) {
    return t[0] == t[1] && t[1] == t[2];
}

const KoPolygon EmptyPolygon() {
    return KoPolygon(std::vector<KoPoint>());
}

const KoPolygon OnePoint(const KoPoint& p) {
    return KoPolygon(&p, 1);
}

}  // namespace

KoTriangle::KoTriangle() : KoPolygon(KoPoint(), KoPoint(), KoPoint()) {}

KoTriangle::KoTriangle(const double& x0, const double& y0, const double& x1, const double& y1,
                       const double& x2, const double& y2)
    : KoPolygon(KoPoint(x0, y0), KoPoint(x1, y1), KoPoint(x2, y2)) {}

KoTriangle::KoTriangle(const std::vector<double>& a, const std::vector<double>& b,
                       const std::vector<double>& c)
    : KoPolygon(KoPoint(a), KoPoint(b), KoPoint(c)) {}

KoTriangle::KoTriangle(std::vector<KoPoint> v) : KoPolygon(v) {}

KoTriangle::KoTriangle(const KoPoint* p) : KoPolygon(p, 3) {}

KoTriangle::KoTriangle(const KoPoint& a, const KoPoint& b, const KoPoint& c) : KoPolygon(a, b, c) {}

KoTriangle::KoTriangle(const KoTriangle& o) : KoPolygon(o) {}

KoTriangle::~KoTriangle() {}

KoTriangle& KoTriangle::operator=(const KoTriangle& o) {
    KoPolygon::operator=(o);
    return *this;
}

int KoTriangle::CheckClockwise() const {
    const double turn = Turn(*this);
    if (turn > 0.0) {
        return 1;
    }
    if (turn == 0.0) {
        return 0;
    }
    return -1;
}

const KoPolygon KoTriangle::CalculatePolygonvertex(KoTriangle& other) const {
    if (size() == 0 || other.size() == 0) {
        return EmptyPolygon();
    }
    // Work on clockwise copies; neither operand changes.
    KoPolygon a(at(0), at(1), at(2));
    KoPolygon b(other);
    MakeClockwise(a);
    MakeClockwise(b);

    if (IsPoint(a)) {
        return IsInsideTriangle(b, a[0]) ? OnePoint(a[0]) : EmptyPolygon();
    }
    if (IsPoint(b)) {
        return IsInsideTriangle(a, b[0]) ? OnePoint(b[0]) : EmptyPolygon();
    }

    // side[j][i]: CheckSide of a's vertex j against the directed edge i of b.
    int side[3][3];
    bool aInside[3];
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            side[j][i] = KoLine(b[i], b[(i + 1) % 3]).CheckSide(a[j]);
        }
        aInside[j] = side[j][0] != -1 && side[j][1] != -1 && side[j][2] != -1;
    }

    std::vector<KoPoint> candidates;
    candidates.reserve(15);
    for (int i = 0; i < 3; ++i) {
        const KoLine edge(b[i], b[(i + 1) % 3]);
        for (int j = 0; j < 3; ++j) {
            const int next = (j + 1) % 3;
            // a's edge j -> next has its ends strictly on opposite sides of b's edge line i.
            if (side[j][i] != 0 && side[j][i] + side[next][i] == 0) {
                KoPoint crossing;
                edge.LineIntersection(KoLine(a[j], a[next]), crossing);  // (0, 0) if parallel
                if (crossing.IsBetweenWithoutCheck(edge[0], edge[1])) {
                    candidates.push_back(crossing);
                }
            }
        }
        if (aInside[i]) {
            candidates.push_back(a[i]);
        }
        if (IsInsideTriangle(a, b[i])) {
            candidates.push_back(b[i]);
        }
    }

    // Keep each candidate unless an equal one stands earlier in the list.
    std::vector<KoPoint> kept;
    kept.reserve(candidates.size());
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        bool repeated = false;
        for (std::size_t e = 0; e < k && !repeated; ++e) {
            repeated = candidates[e] == candidates[k];
        }
        if (!repeated) {
            kept.push_back(candidates[k]);
        }
    }
    return KoPolygon(kept);
}

double KoTriangle::CoverageArea(KoTriangle& other) const {
    KoPolygon overlap = CalculatePolygonvertex(other);
    return overlap.SortVertice().Area();
}

// SPDX-License-Identifier: MIT
// Moves of KoPolygon and KoTriangle: the vertex array changes hands instead of being copied.
// A moved-from object is left valid, since every polygon keeps an array of at least one vertex:
// the move constructors leave the default value (KoPolygon(): one vertex; KoTriangle(): three
// vertices), the move assignments the target's former vertices (the two are exchanged).
#include <kocalvix/geometry.h>

#include <utility>

KoPolygon::KoPolygon(KoPolygon&& o) : KoPolygon() {
    std::swap(count, o.count);
    std::swap(vertices, o.vertices);
}

KoPolygon& KoPolygon::operator=(KoPolygon&& o) noexcept {
    std::swap(count, o.count);
    std::swap(vertices, o.vertices);
    return *this;
}

KoTriangle::KoTriangle(KoTriangle&& o) : KoTriangle() {
    KoPolygon::operator=(std::move(o));
}

KoTriangle& KoTriangle::operator=(KoTriangle&& o) noexcept {
    KoPolygon::operator=(std::move(o));
    return *this;
}

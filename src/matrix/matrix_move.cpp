// SPDX-License-Identifier: MIT
// Moves of the KoMatrix handle: the implementation changes hands instead of being copied.
//
// Only a plain owning KoMatrix gives its implementation away. A matrix wrapping a caller's buffer
// must stay wrapping (and its copies owning), and a Matrix3x1 or Matrix3x3 must keep its fixed
// shape, so for those the moves copy exactly as the copy constructor and assignment do.
#include <typeinfo>
#include <utility>

#include "matrix/KoMatrixImplement.h"

namespace {

// True when `m` may hand its implementation over: an owning matrix whose dynamic type is
// KoMatrix itself.
bool CanGiveAway(const KoMatrix& m, const KoMatrixImplement& implement) {
    return !implement.external && typeid(m) == typeid(KoMatrix);
}

}  // namespace

KoMatrix::KoMatrix(KoMatrix&& other) : impl(nullptr) {
    if (!CanGiveAway(other, *other.impl)) {
        impl = new KoMatrixImplement(*other.impl);
        return;
    }
    // The empty implementation is allocated first, so a failure leaves `other` as it was.
    impl = new KoMatrixImplement();
    std::swap(impl, other.impl);
}

KoMatrix& KoMatrix::operator=(KoMatrix&& other) {
    if (impl->external || !CanGiveAway(other, *other.impl)) {
        *impl = *other.impl;
    } else {
        std::swap(impl, other.impl);
    }
    return *this;
}

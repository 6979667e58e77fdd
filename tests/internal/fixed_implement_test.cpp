// SPDX-License-Identifier: MIT
// The one-block implementation of the fixed-size values under the general implementation's
// lifecycle: a move (construction or assignment) copies the co-allocated elements, an assignment
// of another element count moves them to a buffer of their own, and deleting through the base
// releases every block once (the sanitizer build checks).
#include <gtest/gtest.h>

#include <memory>

#include "fixed/fixed_implement.h"

namespace {

TEST(FixedImplement, LeavesItsBlockOnlyByCopy) {
    std::unique_ptr<KoMatrixImplement> fixed(kocalvix::fixed::NewFixedImplement<3, 3>());
    ASSERT_TRUE(fixed->coallocated);
    ASSERT_EQ(fixed->count, 9);
    for (int k = 0; k < 9; ++k) {
        fixed->data[k] = k + 0.5;
    }

    const KoMatrixImplement moved(std::move(*fixed));
    EXPECT_FALSE(moved.coallocated);
    EXPECT_NE(moved.data, fixed->data);
    EXPECT_EQ(fixed->count, 9);  // the source keeps its elements
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(moved.data[k], k + 0.5);
        EXPECT_EQ(fixed->data[k], k + 0.5);
    }

    const KoMatrixImplement row(1, 9, moved.data);
    *fixed = row;  // the same count: stays in the block
    EXPECT_TRUE(fixed->coallocated);
    EXPECT_EQ(fixed->rows, 1);

    KoMatrixImplement target(2, 2);
    target = std::move(*fixed);  // a move assignment copies out of the block as well
    EXPECT_FALSE(target.coallocated);
    EXPECT_EQ(target.count, 9);
    EXPECT_EQ(fixed->count, 9);
    EXPECT_EQ(target.data[8], 8.5);

    *fixed = KoMatrixImplement(2, 2);  // another count: a buffer of its own (taken over)
    EXPECT_FALSE(fixed->coallocated);
    EXPECT_EQ(fixed->count, 4);
    *fixed = moved;
    EXPECT_EQ(fixed->data[8], 8.5);
}

}  // namespace

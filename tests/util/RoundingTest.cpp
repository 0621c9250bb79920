#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/Rounding.h"

namespace lumaplot {
namespace {

TEST(RoundingTest, NearestWithHalvesUpward) {
  const struct {
    double x;
    int expected;
  } cases[] = {
      {2.5, 3},
      {-2.5, -2},
      {2.49, 2},
      {0.0, 0},
      {-0.5, 0},
      {-0.51, -1},
      {-1.5, -1},
      {-1.51, -2},
      {-1.9, -2},
      {-0.9, -1},
      {0.9, 1},
      {759.9999, 760},
      {1e300, std::numeric_limits<int>::max()},
      {-1e300, std::numeric_limits<int>::min()},
      {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfUp(c.x), c.expected) << c.x;
}

}  // namespace
}  // namespace lumaplot

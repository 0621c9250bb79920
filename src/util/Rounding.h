#pragma once
// Rounding of scaled coordinates to whole pixels.
namespace lumaplot {

// Nearest integer, halves upward: 2.5 gives 3, −2.5 gives −2, −1.9 gives −2.
// NaN gives 0; results beyond the int range are clamped to it.
int RoundHalfUp(double x);

}  // namespace lumaplot

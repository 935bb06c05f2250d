#pragma once
// The banner rotation's draw: which of the two banners comes to the front.
// Portable: no <windows.h>.

#include <cstdint>

namespace annuvia {

// r x 6 + 1 rounded to the nearest integer, halfway to the even neighbour:
// 2 to 6 each with probability 1/6, 1 and 7 with 1/12. Needs 0 <= r < 1.
std::int16_t CoBrandNumber(float r);

enum class FrontBanner { CoBrand, FullBrand, AsCreated };
// 1, 3, 5: the co-brand banner; 2, 4, 6: the full-brand banner; 7: no change.
FrontBanner FrontBannerFor(std::int16_t number);

}  // namespace annuvia

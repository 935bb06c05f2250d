#include "core/web/cobrand.h"

#include <cmath>

namespace annuvia {

std::int16_t CoBrandNumber(float r) {
    // In double the product and sum are exact for every float r, so the
    // halfway cases (r = 0.25, 0.5, 0.75) stay halfway; nearbyint rounds
    // them to even under the default rounding mode.
    return static_cast<std::int16_t>(std::nearbyint(static_cast<double>(r) * 6.0 + 1.0));
}

FrontBanner FrontBannerFor(std::int16_t number) {
    if (number == 7) return FrontBanner::AsCreated;
    return (number % 2 == 1) ? FrontBanner::CoBrand : FrontBanner::FullBrand;
}

}  // namespace annuvia

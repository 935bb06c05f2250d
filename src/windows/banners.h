#pragma once
// What the main and the result windows both show: the promotion along their
// top and the two banners that share a frame along their foot.

#include "core/web/gateway.h"
#include "forms/control_table.h"

namespace annuvia {

inline constexpr wchar_t kPromotionCaption[] =
    L"Talk numerology, astrology and tarot with friends on our free discussion board. "
    L"Visit us at " ANNUVIA_GATEWAY_HOST;

inline constexpr wchar_t kFullBrandCaption[] =
    L"Home Business Opportunity. Start your own Internet business and make money online. Get "
    L"this software fully branded for your website. Click here for more details.";
inline constexpr wchar_t kCoBrandCaption[] =
    L"Co-brand this software for your site.  Increase loyalty and traffic to your site. Put your "
    L"site's name &&  link here. See \"Help\" for details.    Click Here for more info on "
    L"co-branding.";

inline constexpr FontRow kPromotionFont{L"Verdana", 900, false, true};
inline constexpr FontRow kBannerFont{L"Verdana", 825, true, true};

}  // namespace annuvia

#pragma once
// The About window: name and version, what the Personal Year Number is, a
// link to the publisher's site, the full-branding offer and OK. Shown modally.

#include "core/platform/platform.h"
#include "core/web/gateway.h"
#include "forms/form.h"
#include "windows/frmAbout/frmAbout_ids.h"

namespace annuvia {

inline constexpr wchar_t kAboutDescription[] =
    L"Annuvia Software gives you an idea about the trends and influences of the particular year on "
    L"your life. This number can be calculated by adding the digits of your birthday, your month of "
    L"birth and your year of birth. There are 9 personal years with nine different types of levels "
    L"of development. So this software helps you in reevaluate whether you are able to deal with the "
    L"problems more efficiently than nine years ago. All rights in this software are held by "
    ANNUVIA_GATEWAY_HOST L".";
inline constexpr wchar_t kAboutHomePageCaption[] = L"Click here to visit " ANNUVIA_GATEWAY_HOST;
inline constexpr wchar_t kAboutOfferCaption[] =
    L"Home Business Opportunity. Start your own Internet business and make money online. Get this "
    L"software fully branded for your website. ";
inline constexpr wchar_t kAboutDetailsCaption[] = L"Click here for more details.";

class frmAbout final : public Form {
public:
    using enum frmAboutIds::Id;

    frmAbout(FormRegistry& forms, Platform& platform);

    void cmdOK_Click();
    void lblHomePage_Click();
    void lblCobrand_Click();

private:
    static const ControlEvent kEvents[];

    Platform& platform_;
};

}  // namespace annuvia

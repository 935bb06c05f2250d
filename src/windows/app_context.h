#pragma once
// What the windows share: the platform seam, the loaded forms, each other,
// and the routines of the program that stand above any one window.

#include <functional>

#include "core/platform/platform.h"
#include "forms/form.h"
#include "core/web/gateway.h"

namespace annuvia {

class frmAbout;
class frmMain;
class frmNagScreen;
class frmNagScreen2;
class frmPersonalYear;

struct AppContext {
    Platform& platform;
    FormRegistry& forms;
    frmNagScreen* nagScreen = nullptr;
    frmMain* main = nullptr;
    frmPersonalYear* personalYear = nullptr;
    // Runs inside the unload or exit handler of the window being closed.
    std::function<void(Form& closing)> exitHandOver;
    // The update reminder: run by start-up and first when the main window loads.
    std::function<void()> checkUpdateReminder;
    // Unloads every window in load order and ends the process.
    std::function<void()> unloadAllAndEnd;
    frmAbout* about = nullptr;
    frmNagScreen2* nagScreen2 = nullptr;  // the exit screen
};

// The promotion label at the top of the main and result windows.
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

inline constexpr FontSpec kPromotionFont{L"Verdana", 900, false, true};
inline constexpr FontSpec kBannerFont{L"Verdana", 825, true, true};

}  // namespace annuvia

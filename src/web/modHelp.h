#pragma once
// The page launchers: each opens one fixed page of the publisher's gateway.
// Portable: no <windows.h>.

#include "platform/platform.h"

namespace annuvia {

// Scheme and host of the publisher's web gateway.
inline constexpr wchar_t kGatewayBase[] = L"http://www.corvaneboard.com";
// The host as the captions name it.
inline constexpr wchar_t kGatewayHost[] = L"www.corvaneboard.com";

// The complete address of the page with this key.
std::wstring PageAddress(const std::wstring& pageKey);

void OpenWebPage(Platform& platform, const std::wstring& address);
void OpenHomePage(Platform& platform);
void OpenHelpPage(Platform& platform);
void OpenDownloadPage(Platform& platform);
void OpenDonatePage(Platform& platform);
void OpenCoBrandPage(Platform& platform);
void OpenFullyBrandedPage(Platform& platform);
void OpenSoftwaresPage(Platform& platform);

}  // namespace annuvia

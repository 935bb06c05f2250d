#include "web/modHelp.h"

namespace annuvia {

namespace {
#define ANNUVIA_PAGE(key) L"http://www.corvaneboard.com/annuvia/ssd.php?page=" key
constexpr wchar_t kHomePage[] = ANNUVIA_PAGE(L"home-page");
constexpr wchar_t kHelpPage[] = ANNUVIA_PAGE(L"help-web-page");
constexpr wchar_t kDownloadPage[] = ANNUVIA_PAGE(L"download-web-page");
constexpr wchar_t kDonatePage[] = ANNUVIA_PAGE(L"donate");
constexpr wchar_t kCoBrandPage[] = ANNUVIA_PAGE(L"co-brand");
constexpr wchar_t kFullyBrandedPage[] = ANNUVIA_PAGE(L"fully-branded");
constexpr wchar_t kSoftwaresPage[] = ANNUVIA_PAGE(L"corvanesoftwares");
#undef ANNUVIA_PAGE
}  // namespace

std::wstring PageAddress(const std::wstring& pageKey) {
    return std::wstring(kGatewayBase) + L"/annuvia/ssd.php?page=" + pageKey;
}

void OpenWebPage(Platform& platform, const std::wstring& address) { platform.OpenPage(address); }

void OpenHomePage(Platform& platform) { OpenWebPage(platform, kHomePage); }
void OpenHelpPage(Platform& platform) { OpenWebPage(platform, kHelpPage); }
void OpenDownloadPage(Platform& platform) { OpenWebPage(platform, kDownloadPage); }
void OpenDonatePage(Platform& platform) { OpenWebPage(platform, kDonatePage); }
void OpenCoBrandPage(Platform& platform) { OpenWebPage(platform, kCoBrandPage); }
void OpenFullyBrandedPage(Platform& platform) { OpenWebPage(platform, kFullyBrandedPage); }
void OpenSoftwaresPage(Platform& platform) { OpenWebPage(platform, kSoftwaresPage); }

}  // namespace annuvia

#pragma once
// modHelp: the page launchers, each opening one fixed page of the publisher's
// gateway; the setting codec; the update reminder. Portable: no <windows.h>.

#include <string>

#include "core/platform/platform.h"
#include "core/web/gateway.h"

namespace annuvia {

// A page address: gateway, the program's script, and the page key.
#define ANNUVIA_PAGE_ADDRESS(key) ANNUVIA_GATEWAY_BASE L"/annuvia/ssd.php?page=" key

inline constexpr wchar_t kGatewayBase[] = ANNUVIA_GATEWAY_BASE;
inline constexpr wchar_t kGatewayHost[] = ANNUVIA_GATEWAY_HOST;

inline constexpr wchar_t kHomePage[] = ANNUVIA_PAGE_ADDRESS(L"home-page");
inline constexpr wchar_t kHelpPage[] = ANNUVIA_PAGE_ADDRESS(L"help-web-page");
inline constexpr wchar_t kDownloadPage[] = ANNUVIA_PAGE_ADDRESS(L"download-web-page");
inline constexpr wchar_t kDonatePage[] = ANNUVIA_PAGE_ADDRESS(L"donate");
inline constexpr wchar_t kCoBrandPage[] = ANNUVIA_PAGE_ADDRESS(L"co-brand");
inline constexpr wchar_t kFullyBrandedPage[] = ANNUVIA_PAGE_ADDRESS(L"fully-branded");
inline constexpr wchar_t kSoftwaresPage[] = ANNUVIA_PAGE_ADDRESS(L"corvanesoftwares");

// The one shell call that opens an address; its result is not examined.
void OpenWebPage(Platform& platform, const std::wstring& address);
void OpenHomePage(Platform& platform);
void OpenHelpPage(Platform& platform);
void OpenDownloadPage(Platform& platform);
void OpenDonatePage(Platform& platform);
void OpenCoBrandPage(Platform& platform);
void OpenFullyBrandedPage(Platform& platform);
void OpenSoftwaresPage(Platform& platform);

// The setting codec on ANSI codes: every code moves up by 85 (Encode) or down
// by 85 (Decode); a code that would leave 0..255 is dropped, the rest keeps
// its order. Decoding undoes encoding for every code from 0 to 170.
std::string EncodeSettingCodes(const std::string& codes);
std::string DecodeSettingCodes(const std::string& codes);
// The same on text, each character turned into its ANSI code and back by the
// platform; a character whose shifted code is no character is dropped.
std::wstring EncodeSetting(Platform& platform, const std::wstring& text);
std::wstring DecodeSetting(Platform& platform, const std::wstring& text);

// Where the reminder date is kept: section and (plain) key name.
inline constexpr wchar_t kSettingsSection[] = L"Settings";
inline constexpr wchar_t kReminderKey[] = L"Duration";
// The reminder's question; the lone carriage return splits it into two lines.
inline constexpr wchar_t kReminderQuestion[] =
    L"There maybe an update to this software available\rDo you want to check for an update?";

// What the reminder does with the decoded stored text on a given day.
enum class ReminderStep {
    StoreToday,  // nothing stored yet, or no longer a date: store today, ask nothing
    Nothing,     // reminded less than fifteen days ago (or ahead)
    Ask,         // fifteen days or more either way: ask, then store today
};
ReminderStep DecideReminder(const std::wstring& decoded, const std::optional<CivilDate>& storedDate,
                            CivilDate today);

// The update reminder: asks at most once in fifteen days whether to look for
// a newer version; Yes opens the download page after today is stored.
// Returns whether it asked.
bool CheckUpdateReminder(Platform& platform);

}  // namespace annuvia

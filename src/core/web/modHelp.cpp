#include "core/web/modHelp.h"

namespace annuvia {

void OpenWebPage(Platform& platform, const std::wstring& address) { platform.OpenPage(address); }

void OpenHomePage(Platform& platform) { OpenWebPage(platform, kHomePage); }
void OpenHelpPage(Platform& platform) { OpenWebPage(platform, kHelpPage); }
void OpenDownloadPage(Platform& platform) { OpenWebPage(platform, kDownloadPage); }
void OpenDonatePage(Platform& platform) { OpenWebPage(platform, kDonatePage); }
void OpenCoBrandPage(Platform& platform) { OpenWebPage(platform, kCoBrandPage); }
void OpenFullyBrandedPage(Platform& platform) { OpenWebPage(platform, kFullyBrandedPage); }
void OpenSoftwaresPage(Platform& platform) { OpenWebPage(platform, kSoftwaresPage); }

namespace {

constexpr int kShift = 85;

std::string ShiftCodes(const std::string& codes, int delta) {
    std::string shifted;
    shifted.reserve(codes.size());
    for (const char c : codes) {
        const int code = static_cast<unsigned char>(c) + delta;
        if (code >= 0 && code <= 255) shifted.push_back(static_cast<char>(code));
    }
    return shifted;
}

std::wstring ShiftText(Platform& platform, const std::wstring& text, int delta) {
    std::wstring shifted;
    const std::size_t length = text.size();
    for (std::size_t i = 0; i < length; ++i) {
        const int code = platform.AnsiCodeOf(text[i]) + delta;
        if (code < 0 || code > 255) continue;
        if (const std::optional<wchar_t> c = platform.CharOfAnsiCode(code)) shifted.push_back(*c);
    }
    return shifted;
}

}  // namespace

std::string EncodeSettingCodes(const std::string& codes) { return ShiftCodes(codes, kShift); }
std::string DecodeSettingCodes(const std::string& codes) { return ShiftCodes(codes, -kShift); }

std::wstring EncodeSetting(Platform& platform, const std::wstring& text) {
    return ShiftText(platform, text, kShift);
}
std::wstring DecodeSetting(Platform& platform, const std::wstring& text) {
    return ShiftText(platform, text, -kShift);
}

ReminderStep DecideReminder(const std::wstring& decoded, const std::optional<CivilDate>& storedDate,
                            CivilDate today) {
    if (decoded.empty() || !storedDate) return ReminderStep::StoreToday;
    const long days = DayNumber(today) - DayNumber(*storedDate);
    return (days >= -14 && days <= 14) ? ReminderStep::Nothing : ReminderStep::Ask;
}

bool CheckUpdateReminder(Platform& platform) {
    const std::wstring key = EncodeSetting(platform, kReminderKey);
    const std::wstring app = platform.AppName();
    const std::wstring decoded = DecodeSetting(platform, platform.GetSetting(app, kSettingsSection, key));
    const CivilDate today = platform.Today();
    const std::optional<CivilDate> stored =
        decoded.empty() ? std::nullopt : platform.DateFromText(decoded);
    const auto storeToday = [&] {
        platform.SaveSetting(app, kSettingsSection, key, EncodeSetting(platform, platform.ShortDateText(today)));
    };
    switch (DecideReminder(decoded, stored, today)) {
        case ReminderStep::Nothing:
            return false;
        case ReminderStep::StoreToday:
            storeToday();
            return false;
        case ReminderStep::Ask: {
            // Asked before any window shows, so the box has no owner.
            const MsgAnswer answer =
                platform.ShowMessage(nullptr, kReminderQuestion, MsgButtons::YesNo, MsgIcon::Information);
            storeToday();
            if (answer == MsgAnswer::Yes) OpenDownloadPage(platform);
            return true;
        }
    }
    return false;
}

}  // namespace annuvia

// The real platform under Wine: the per-user registry, regional date texts,
// the ANSI code page of the setting codec, and the instance guard's mutex.

#include <windows.h>
#include <oleauto.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>

#include "win32/win32_platform.h"
#include "core/web/modHelp.h"

namespace annuvia::test {
namespace {

class RealSettings : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKeyPath(app, L"").c_str()); }
    void TearDown() override { SetUp(); }
    Win32Platform platform;
    const std::wstring app = L"annuvia-platform-test";
};

TEST_F(RealSettings, StringValuesRoundTripAndOtherTypesReadAsNothing) {
    EXPECT_EQ(platform.GetSetting(app, L"Settings", L"missing"), L"");
    const std::wstring key = EncodeSetting(platform, L"Duration");
    const std::wstring value = EncodeSetting(platform, L"12/8/2026");
    platform.SaveSetting(app, L"Settings", key, value);
    EXPECT_EQ(platform.GetSetting(app, L"Settings", key), value);
    EXPECT_EQ(DecodeSetting(platform, platform.GetSetting(app, L"Settings", key)), L"12/8/2026");

    // The value sits where such programs keep their settings.
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (L"Software\\VB and VBA Program Settings\\" + app + L"\\Settings").c_str(),
                            0, KEY_ALL_ACCESS, &handle),
              ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(handle, key.c_str(), nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    const DWORD number = 42;
    RegSetValueExW(handle, L"dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegSetValueExW(handle, L"binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>("ab"), 2);
    RegSetValueExW(handle, L"empty", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    RegCloseKey(handle);
    for (const wchar_t* name : {L"dword", L"binary", L"empty"})
        EXPECT_EQ(platform.GetSetting(app, L"Settings", name), L"") << name;
}

TEST(RealPlatform, ShortDatesReadBackAsTheSameDay) {
    Win32Platform platform;
    for (const CivilDate date : {CivilDate{2026, 12, 8}, CivilDate{2024, 2, 29}, CivilDate{1999, 1, 31},
                                 CivilDate{2030, 11, 5}}) {
        const std::wstring text = platform.ShortDateText(date);
        ASSERT_FALSE(text.empty());
        const std::optional<CivilDate> back = platform.DateFromText(text);
        ASSERT_TRUE(back.has_value()) << std::string(text.begin(), text.end());
        EXPECT_EQ(back->year, date.year);
        EXPECT_EQ(back->month, date.month);
        EXPECT_EQ(back->day, date.day);
    }
    for (const wchar_t* text : {L"", L"not a date", L"\u2122\u00ca"})
        EXPECT_FALSE(platform.DateFromText(text).has_value());
}

TEST(RealPlatform, CodecWorksInTheAnsiCodePage) {
    Win32Platform platform;
    ASSERT_EQ(GetACP(), 1252u) << "the expected codes below are those of code page 1252";
    const std::wstring key = EncodeSetting(platform, L"Duration");
    EXPECT_EQ(key, L"\u2122\u00ca\u00c7\u00b6\u00c9\u00be\u00c4\u00c3");  // codes 153 202 199 182 201 190 196 195
    EXPECT_EQ(DecodeSetting(platform, key), L"Duration");
    EXPECT_EQ(platform.AnsiCodeOf(L'\u00e9'), 233);
    EXPECT_EQ(platform.AnsiCodeOf(L'\u0394'), '?');  // not in the code page
    // An unassigned slot of the code page still makes the round trip.
    const std::optional<wchar_t> undefined = platform.CharOfAnsiCode(0x8D);
    ASSERT_TRUE(undefined.has_value());
    EXPECT_EQ(platform.AnsiCodeOf(*undefined), 0x8D);
    EXPECT_FALSE(platform.CharOfAnsiCode(256).has_value());
    EXPECT_FALSE(platform.CharOfAnsiCode(-1).has_value());
}

TEST(RealPlatform, TheFirstCopyOwnsTheMarkerAndLaterOnesFindIt) {
    EXPECT_EQ(InstanceMarkerName(L"Annuvia"), InstanceMarkerName(L"ANNUVIA"));
    EXPECT_NE(InstanceMarkerName(L"annuvia"), InstanceMarkerName(L"annuvia2"));
    Win32Platform first;
    ASSERT_FALSE(first.AnotherInstanceRunning());
    EXPECT_FALSE(first.AnotherInstanceRunning());  // decided once
    {
        Win32Platform second;
        EXPECT_TRUE(second.AnotherInstanceRunning());
    }
}

TEST(RealPlatform, OnlyPlainNumericShortDatesAreReadWithoutTheDateParser) {
    struct Case { const wchar_t* picture; int order; bool plain; };
    const Case cases[] = {
        {L"M/d/yyyy", 0, true},   {L"dd.MM.yyyy", 1, true}, {L"yyyy-MM-dd", 2, true},
        {L"d/M/yyyy", 0, false},  // read month first: the picture says day first
        {L"d/M/yy", 1, false},    {L"dd-MMM-yyyy", 1, false}, {L"yyyy/M/d", 2, true},
        {L"d.M.yyyy.", 1, false}, {L"dd/MM-yyyy", 1, false}, {L"gg yyyy/M/d", 2, false},
        {L"yyyy'\u5e74'M'\u6708'd'\u65e5'", 2, false}, {L"dd//MM/yyyy", 1, false}, {L"", 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlainNumericShortDate(c.picture, c.order), c.plain) << std::string(c.picture, c.picture + wcslen(c.picture));
}

// The short date format of the user, changed for a test and put back after.
class ShortDateFormat : public testing::Test {
protected:
    void SetUp() override {
        wchar_t text[80] = {};
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, text, 80);
        saved_ = text;
    }
    void TearDown() override { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved_.c_str()); }
    std::wstring saved_;
};

TEST_F(ShortDateFormat, DatesReadBackAsTheDateParserReadsThemInEveryFormat) {
    Win32Platform platform;
    const long today = DayNumber(platform.Today());
    for (const wchar_t* picture : {L"M/d/yyyy", L"dd.MM.yyyy", L"yyyy-MM-dd", L"d/M/yy", L"dd-MMM-yyyy"}) {
        ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture));
        for (long day = today - 20; day <= today + 20; ++day) {
            // The civil date of a day number, through the system's calendar.
            SYSTEMTIME st{};
            ULARGE_INTEGER ticks{};
            ticks.QuadPart = static_cast<ULONGLONG>(day + 134774) * 864000000000ULL;  // 1601 to 1970
            FILETIME file{ticks.LowPart, ticks.HighPart};
            FileTimeToSystemTime(&file, &st);
            const std::wstring text = platform.ShortDateText({st.wYear, st.wMonth, st.wDay});
            DATE parsed = 0;
            std::wstring copy = text;
            ASSERT_EQ(VarDateFromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &parsed), S_OK);
            SYSTEMTIME expected{};
            VariantTimeToSystemTime(parsed, &expected);
            const std::optional<CivilDate> back = platform.DateFromText(text);
            ASSERT_TRUE(back.has_value()) << std::string(text.begin(), text.end());
            EXPECT_EQ(DayNumber(*back), DayNumber({expected.wYear, expected.wMonth, expected.wDay}))
                << std::string(text.begin(), text.end()) << " as " << std::string(picture, picture + wcslen(picture));
        }
    }
}

}  // namespace
}  // namespace annuvia::test

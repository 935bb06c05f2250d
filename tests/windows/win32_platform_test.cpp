// The real platform under Wine: the per-user registry, regional date texts,
// the ANSI code page of the setting codec, and the instance guard's mutex.

#include <gtest/gtest.h>

#include <string>

#include "platform/win32_platform.h"
#include "web/modHelp.h"

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

}  // namespace
}  // namespace annuvia::test

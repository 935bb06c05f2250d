// The update reminder, the setting codec, the banner draw and the random
// numbers behind it, run against the recording platform.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <string>

#include "core/platform/random.h"
#include "support/fake_platform.h"
#include "core/web/cobrand.h"
#include "core/web/modHelp.h"

namespace annuvia::test {
namespace {

TEST(SettingCodec, ShiftsEveryCodeBy85AndDropsWhatFallsOutside) {
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        const std::string up = EncodeSettingCodes(one), down = DecodeSettingCodes(one);
        if (c <= 170) {
            ASSERT_EQ(up.size(), 1u) << c;
            EXPECT_EQ(static_cast<unsigned char>(up[0]), c + 85) << c;
            EXPECT_EQ(DecodeSettingCodes(up), one) << c;
        } else {
            EXPECT_TRUE(up.empty()) << c;
        }
        if (c >= 85) {
            ASSERT_EQ(down.size(), 1u) << c;
            EXPECT_EQ(static_cast<unsigned char>(down[0]), c - 85) << c;
        } else {
            EXPECT_TRUE(down.empty()) << c;
        }
    }
    // Order is kept around a dropped code.
    EXPECT_EQ(DecodeSettingCodes("\x55\x10\x56"), std::string("\x00\x01", 2));
    EXPECT_EQ(EncodeSettingCodes(""), "");
}

TEST(SettingCodec, TextGoesThroughThePlatformsCodePage) {
    FakePlatform platform;
    const std::wstring key = EncodeSetting(platform, L"Duration");
    const int expected[] = {153, 202, 199, 182, 201, 190, 196, 195};
    ASSERT_EQ(key.size(), std::size(expected));
    for (std::size_t i = 0; i < key.size(); ++i) EXPECT_EQ(platform.AnsiCodeOf(key[i]), expected[i]) << i;
    EXPECT_EQ(DecodeSetting(platform, key), L"Duration");
    EXPECT_EQ(DecodeSetting(platform, EncodeSetting(platform, L"12/8/2026")), L"12/8/2026");
    // Codes above 170 cannot be shifted up: left out, the rest kept in order.
    EXPECT_EQ(DecodeSetting(platform, EncodeSetting(platform, L"a\u00ffb")), L"ab");
}

TEST(DayNumber, CountsCalendarDaysLikeTheStandardCalendar) {
    using namespace std::chrono;
    for (int y = 1899; y <= 2101; ++y)
        for (unsigned m = 1; m <= 12; ++m)
            for (unsigned d : {1u, 15u, 28u}) {
                const sys_days days{year{y} / month{m} / day{d}};
                ASSERT_EQ(DayNumber({y, static_cast<int>(m), static_cast<int>(d)}), days.time_since_epoch().count());
            }
}

TEST(UpdateReminder, DecidesFromTheStoredDate) {
    const CivilDate today{2024, 3, 15};
    struct Case { const wchar_t* decoded; std::optional<CivilDate> stored; ReminderStep step; };
    const Case cases[] = {
        {L"", std::nullopt, ReminderStep::StoreToday},
        {L"garbage", std::nullopt, ReminderStep::StoreToday},
        {L"x", CivilDate{2024, 3, 15}, ReminderStep::Nothing},
        {L"x", CivilDate{2024, 3, 1}, ReminderStep::Nothing},     // 14 days ago
        {L"x", CivilDate{2024, 2, 29}, ReminderStep::Ask},        // 15, across a leap day
        {L"x", CivilDate{2024, 3, 29}, ReminderStep::Nothing},    // 14 ahead
        {L"x", CivilDate{2024, 3, 30}, ReminderStep::Ask},        // 15 ahead
        {L"x", CivilDate{2023, 12, 31}, ReminderStep::Ask},
    };
    for (const Case& c : cases) EXPECT_EQ(DecideReminder(c.decoded, c.stored, today), c.step) << c.decoded;
}

// Records the stored reminder at the moment a page opens.
class OrderCheckingPlatform final : public FakePlatform {
public:
    void OpenPage(const std::wstring& address) override {
        storedWhenOpened = GetSetting(appName, L"Settings", EncodeSetting(*this, L"Duration"));
        FakePlatform::OpenPage(address);
    }
    std::wstring storedWhenOpened;
};

TEST(UpdateReminder, AsksAtMostOnceInFifteenDaysAndStoresToday) {
    struct Case {
        const char* name;
        const wchar_t* stored;  // decoded text under "annuvia"; nullptr: nothing stored
        std::wstring appName;
        MsgAnswer answer;
        bool asks;
        bool storesToday;
    };
    const Case cases[] = {
        {"first run", nullptr, L"annuvia", MsgAnswer::No, false, true},
        {"same day", L"12/8/2026", L"annuvia", MsgAnswer::No, false, true},
        {"14 days ago", L"11/24/2026", L"annuvia", MsgAnswer::No, false, false},
        {"15 days ago, No", L"11/23/2026", L"annuvia", MsgAnswer::No, true, true},
        {"15 days ahead, Yes", L"12/23/2026", L"annuvia", MsgAnswer::Yes, true, true},
        {"not a date", L"31.02.", L"annuvia", MsgAnswer::Yes, false, true},
        {"renamed program", L"1/1/2000", L"annuvia2", MsgAnswer::Yes, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OrderCheckingPlatform platform;
        platform.today = {2026, 12, 8};
        platform.appName = c.appName;
        const std::wstring key = EncodeSetting(platform, L"Duration");
        if (c.stored) platform.settings[{L"annuvia", L"Settings", key}] = EncodeSetting(platform, c.stored);
        platform.answers = {c.answer};
        CheckUpdateReminder(platform);
        CheckUpdateReminder(platform);  // the main window's load runs it again: never a second box

        ASSERT_EQ(platform.messages.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            const RecordedMessage& box = platform.messages[0];
            EXPECT_EQ(box.text, L"There maybe an update to this software available\r"
                                L"Do you want to check for an update?");
            EXPECT_EQ(box.owner, nullptr);
            EXPECT_EQ(box.buttons, MsgButtons::YesNo);
            EXPECT_EQ(box.icon, MsgIcon::Information);
            EXPECT_EQ(box.title, L"Annuvia");
        }
        const std::wstring stored = platform.GetSetting(c.appName, L"Settings", key);
        EXPECT_EQ(DecodeSetting(platform, stored),
                  c.storesToday ? std::wstring(L"12/8/2026") : std::wstring(c.stored ? c.stored : L""));
        const bool opens = c.asks && c.answer == MsgAnswer::Yes;
        EXPECT_EQ(platform.pages, opens ? std::vector<std::wstring>{kDownloadPage} : std::vector<std::wstring>{});
        if (opens) {
            EXPECT_EQ(platform.storedWhenOpened, stored) << "today is stored before the page opens";
        }
    }
}

TEST(CoBrand, DrawRoundsHalfwayToEven) {
    struct Case { float r; int number; FrontBanner front; };
    const Case cases[] = {
        {0.0f, 1, FrontBanner::CoBrand},
        {std::nextafter(1.0f / 12.0f, 0.0f), 1, FrontBanner::CoBrand},
        {1.0f / 12.0f + 1e-6f, 2, FrontBanner::FullBrand},
        {0.25f, 2, FrontBanner::FullBrand},  // 2.5
        {0.5f, 4, FrontBanner::FullBrand},   // 4.0
        {0.75f, 6, FrontBanner::FullBrand},  // 5.5
        {0.4f, 3, FrontBanner::CoBrand},
        {0.7f, 5, FrontBanner::CoBrand},
        {11.0f / 12.0f + 1e-6f, 7, FrontBanner::AsCreated},
        {std::nextafter(1.0f, 0.0f), 7, FrontBanner::AsCreated},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CoBrandNumber(c.r), c.number) << c.r;
        EXPECT_EQ(FrontBannerFor(CoBrandNumber(c.r)), c.front) << c.r;
    }
}

TEST(CoBrand, GeneratorStaysBelowOneAndDrawsWithTheDesignedOdds) {
    RandomGenerator generator(20261209);
    std::map<int, int> counts;
    constexpr int kDraws = 240000;
    for (int i = 0; i < kDraws; ++i) {
        const float r = generator.Next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ASSERT_EQ(r * 16777216.0f, std::floor(r * 16777216.0f));  // 24 bits
        ++counts[CoBrandNumber(r)];
    }
    ASSERT_EQ(counts.size(), 7u);
    for (const auto& [number, count] : counts) {
        const double expected = (number == 1 || number == 7) ? kDraws / 12.0 : kDraws / 6.0;
        EXPECT_NEAR(count, expected, expected * 0.03) << number;
    }
    RandomGenerator a(7), b(7), c(8);
    EXPECT_EQ(a.Next(), b.Next());
    EXPECT_NE(a.Next(), c.Next());
}

}  // namespace
}  // namespace annuvia::test

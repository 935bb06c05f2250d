#include "core/input/entry_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace annuvia {
namespace {

const wchar_t* const kMonthNames[12] = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December",
};

// Entries as the main window would read them with the lists filled as shipped.
MainEntries Entries(int day, int month, int year, std::wstring first = L"ANN",
                    std::wstring last = L"LEE") {
    MainEntries e;
    e.firstName = std::move(first);
    e.lastName = std::move(last);
    e.dayText = std::to_wstring(day);
    e.dayIndex = day - 1;
    e.monthText = kMonthNames[month - 1];
    e.monthIndex = month - 1;
    e.yearText = std::to_wstring(year);
    return e;
}

const std::wstring kBadFebruary = L"Please Enter Correct Date Or Month!";
const std::wstring kBadThirtyDay = L"Please Enter Correct Date Or Month !";

TEST(CheckEntries, EveryListedDateAgainstTheCalendar) {
    int passed = 0;
    for (int year = 1900; year <= 2050; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                const std::chrono::year_month_day date{std::chrono::year{year},
                                                       std::chrono::month{unsigned(month)},
                                                       std::chrono::day{unsigned(day)}};
                const EntryCheck check = CheckEntries(Entries(day, month, year));
                if (date.ok()) {
                    ASSERT_TRUE(check.Passed()) << day << "/" << month << "/" << year;
                    ++passed;
                } else {
                    ASSERT_FALSE(check.Passed()) << day << "/" << month << "/" << year;
                    ASSERT_EQ(check.message, month == 2 ? kBadFebruary : kBadThirtyDay);
                    ASSERT_EQ(check.failedTest, month == 2 ? 6 : 7);
                    ASSERT_EQ(check.focus, EntryFocus::Unchanged);
                }
            }
        }
    }
    // 151 years of 365 days, and 37 leap days (1904 to 2048; 1900 is not one).
    EXPECT_EQ(passed, 151 * 365 + 37);
}

TEST(CheckEntries, LeapDays) {
    EXPECT_FALSE(CheckEntries(Entries(29, 2, 1900)).Passed());
    EXPECT_EQ(CheckEntries(Entries(29, 2, 1900)).message, kBadFebruary);
    EXPECT_TRUE(CheckEntries(Entries(29, 2, 2000)).Passed());
    EXPECT_TRUE(CheckEntries(Entries(29, 2, 1904)).Passed());
    EXPECT_EQ(CheckEntries(Entries(29, 2, 1901)).message, kBadFebruary);
    EXPECT_EQ(CheckEntries(Entries(30, 2, 2000)).message, kBadFebruary);
    EXPECT_EQ(CheckEntries(Entries(31, 2, 2000)).message, kBadFebruary);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
}

TEST(CheckEntries, ChecksRunInOrderAndStopAtTheFirstFailure) {
    struct Case {
        const char* what;
        MainEntries entries;
        int test;
        std::wstring message;
        EntryFocus focus;
    };
    MainEntries noDay = Entries(31, 4, 1900, L"", L"");
    noDay.firstName = L"A";
    noDay.dayText.clear();
    noDay.dayIndex = -1;
    MainEntries noMonth = Entries(31, 4, 1900);
    noMonth.monthText.clear();
    noMonth.monthIndex = -1;
    MainEntries noYear = Entries(31, 2, 1900);
    noYear.yearText.clear();
    const Case cases[] = {
        {"both names empty", Entries(31, 4, 1900, L"", L""), 1, L"Please Enter Your First Name",
         EntryFocus::FirstName},
        {"last name empty", Entries(31, 4, 1900, L"A", L""), 2, L"Please Enter Your Last Name",
         EntryFocus::LastName},
        {"no day", noDay, 2, L"Please Enter Your Last Name", EntryFocus::LastName},
        {"no month", noMonth, 4, L"Please Specify Your Birth Month", EntryFocus::Month},
        {"no year", noYear, 5, L"Please Specify Your Birth Year", EntryFocus::Year},
        {"31 April", Entries(31, 4, 1900), 7, kBadThirtyDay, EntryFocus::Unchanged},
        {"30 February", Entries(30, 2, 1976), 6, kBadFebruary, EntryFocus::Unchanged},
    };
    for (const Case& c : cases) {
        const EntryCheck check = CheckEntries(c.entries);
        EXPECT_EQ(check.failedTest, c.test) << c.what;
        EXPECT_EQ(check.message, c.message) << c.what;
        EXPECT_EQ(check.focus, c.focus) << c.what;
    }
    noDay.lastName = L"B";
    EXPECT_EQ(CheckEntries(noDay).failedTest, 3);
    EXPECT_EQ(CheckEntries(noDay).message, std::wstring(L"Please Specify Your Birth Date"));
    EXPECT_EQ(CheckEntries(noDay).focus, EntryFocus::Date);
}

TEST(CheckEntries, NamesAreComparedWithTheEmptyTextOnly) {
    EXPECT_TRUE(CheckEntries(Entries(1, 1, 1900, L" ", L" ")).Passed());
    MainEntries noMiddle = Entries(15, 6, 1976);
    EXPECT_TRUE(CheckEntries(noMiddle).Passed());
}

TEST(CheckEntries, DateChecksLookAtListPositionsNotTexts) {
    MainEntries e = Entries(1, 1, 2001);
    e.monthIndex = 1;  // February, whatever the text says
    e.dayIndex = 28;   // day 29
    EXPECT_EQ(CheckEntries(e).failedTest, 6);
    e.monthIndex = 10;  // November
    e.dayIndex = 30;
    EXPECT_EQ(CheckEntries(e).failedTest, 7);
}

}  // namespace
}  // namespace annuvia

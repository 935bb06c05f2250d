#include "core/numerology/numerology.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace annuvia {
namespace {

std::int16_t Calc(const wchar_t* day, const wchar_t* month, int year) {
    return CalcPersonalYear(day, month, FixedClock({year, 6, 15}));
}

const wchar_t* const kMonthNames[12] = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December",
};

TEST(CalcPersonalYear, WorkedExamples) {
    struct Case { const wchar_t* day; const wchar_t* month; int year; int expected; };
    const Case cases[] = {
        {L"29", L"March", 2026, 6},     {L"29", L"March", 2025, 5},
        {L"19", L"December", 2026, 5},  {L"9", L"September", 2012, 5},
        {L"28", L"September", 1999, 2}, {L"11", L"November", 2029, 8},
        {L"1", L"January", 2000, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Calc(c.day, c.month, c.year), c.expected)
            << std::wstring(c.day).size() << " " << c.year;
    }
}

TEST(CalcPersonalYear, MatchesClosedFormForEveryDayMonthAndYear) {
    for (int year = 1; year <= 9999; ++year) {
        const FixedClock clock({year, 1, 1});
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                const int expected = 1 + (day + month + year - 1) % 9;
                const int got = CalcPersonalYear(std::to_wstring(day), kMonthNames[month - 1], clock);
                if (got != expected) {
                    FAIL() << "day " << day << " month " << month << " year " << year << ": got "
                           << got << ", expected " << expected;
                }
            }
        }
    }
}

TEST(CalcPersonalYear, ReadsTheClockAtEachCall) {
    FixedClock clock({2025, 12, 31});
    EXPECT_EQ(CalcPersonalYear(L"29", L"March", clock), 5);
    clock.Set({2026, 1, 1});
    EXPECT_EQ(CalcPersonalYear(L"29", L"March", clock), 6);
}

TEST(CalcPersonalYear, UnknownOrMiscasedMonthCountsAsZero) {
    EXPECT_EQ(MonthValue(L"march"), 0);
    EXPECT_EQ(MonthValue(L""), 0);
    EXPECT_EQ(MonthValue(L"October"), 1);
    EXPECT_EQ(MonthValue(L"December"), 3);
    // 1 + 0 = 1 for the day and month; 2026 gives 1; 1 + 1 = 2.
    EXPECT_EQ(Calc(L"1", L"Smarch", 2026), 2);
}

TEST(ReduceNumber, FoldsTheDigitSumTwice) {
    struct Case { const wchar_t* text; int expected; };
    const Case cases[] = {
        {L"2026", 1}, {L"1999", 1}, {L"7", 7}, {L"", 0}, {L"0", 0},
        {L"3899", 2},   // 29 -> 11 -> 2
        {L"2999", 2},   // 29
        {L"1999", 1},   // 28 -> 10 -> 1
        {L"9999", 9},   // 36 -> 9
        {L"18", 9},     {L"10", 1}, {L"11", 2}, {L"22", 4},
    };
    for (const Case& c : cases) EXPECT_EQ(ReduceNumber(c.text), c.expected) << c.expected;
}

TEST(ReduceNumber, FoldLooksAtFirstAndLastDigitOnly) {
    EXPECT_EQ(FoldOnce(7), 7);
    EXPECT_EQ(FoldOnce(29), 11);
    EXPECT_EQ(FoldOnce(123), 4);  // 1 + 3, the middle digit is not looked at
    // Eleven nines add up to 99, folded to 18 and again to 9.
    EXPECT_EQ(ReduceNumber(std::wstring(11, L'9')), 9);
}

TEST(ReduceNumber, OverflowIsAnErrorNotAWrap) {
    EXPECT_THROW(ReduceNumber(std::wstring(4000, L'9')), std::overflow_error);
}

const std::wstring kCRLF = L"\r\n";

TEST(ResultText, EveryNumberHasItsFourBlocks) {
    for (PersonalYear n = 1; n <= 9; ++n) {
        const auto blocks = ResultBlocks(n);
        EXPECT_EQ(blocks[0], L"Your Personal Year Number is: " + std::to_wstring(n) + kCRLF + kCRLF);
        EXPECT_EQ(blocks[1], std::wstring(kGeneralText) + kCRLF + kCRLF);
        EXPECT_EQ(blocks[2], GetYearReading(n) + kCRLF + kCRLF);
        EXPECT_EQ(blocks[3], kCRLF + kCRLF);

        const std::wstring text = ResultText(n);
        EXPECT_EQ(text, blocks[0] + blocks[1] + blocks[2] + blocks[3]);
        EXPECT_EQ(text.size(), 30 + 1 + 4 + 194 + 4 + GetYearReading(n).size() + 8);
        EXPECT_EQ(text.substr(text.size() - 8), kCRLF + kCRLF + kCRLF + kCRLF);
        EXPECT_NE(text.substr(text.size() - 10, 2), kCRLF);
        // The readings carry no line breaks of their own.
        EXPECT_EQ(GetYearReading(n).find_first_of(L"\r\n"), std::wstring::npos);
    }
}

TEST(ResultText, HeaderAndGeneralTextAreExact) {
    EXPECT_EQ(std::wstring(kResultHeader).size(), 30u);
    EXPECT_EQ(std::wstring(kGeneralText).size(), 194u);
    EXPECT_EQ(std::wstring(kGeneralText),
              L"This number describes the pattern of the particular year. Each year you work "
              L"through one of the nine Personal Years that define your experiences in life. It "
              L"is concurrent with the calendar year.");
    EXPECT_EQ(ResultText(6).substr(0, 33), L"Your Personal Year Number is: 6\r\n");
}

TEST(ResultText, ReadingsKeepTheirRunsOfSpacesAndStartAsWritten) {
    EXPECT_NE(GetYearReading(1).find(L"fulfill it.   Follow"), std::wstring::npos);
    EXPECT_NE(GetYearReading(3).find(L"unleashed.  Your"), std::wstring::npos);
    struct Case { int n; const wchar_t* start; const wchar_t* end; std::size_t length; };
    const Case cases[] = {
        {1, L"It's a perfect time", L"making this year successful.", 323},
        {2, L"Your patience will", L"You may have a lot of energy.", 338},
        {3, L"You will get recognition", L"your social life may be hectic.", 285},
        {4, L"Focus on your dreams", L"reap the results next year.", 292},
        {5, L"Your previous year's", L"what the year wishes to bring.", 280},
        {6, L"Relationships with family", L"connection, and nurturing.", 226},
        {7, L"This is a year of introspection", L"your search for destiny.", 414},
        {8, L"Focus on those tasks", L"progress phase will happen.", 399},
        {9, L"Anticipation of future", L"especially important at this time.", 324},
    };
    for (const Case& c : cases) {
        const std::wstring& r = GetYearReading(static_cast<PersonalYear>(c.n));
        EXPECT_EQ(r.rfind(c.start, 0), 0u) << c.n;
        const std::wstring end = c.end;
        EXPECT_EQ(r.substr(r.size() - end.size()), end) << c.n;
        EXPECT_EQ(r.size(), c.length) << c.n;
    }
}

TEST(ResultText, NumbersOutsideOneToNineHaveNoReading) {
    EXPECT_THROW(GetYearReading(0), std::out_of_range);
    EXPECT_THROW(GetYearReading(10), std::out_of_range);
}

}  // namespace
}  // namespace annuvia

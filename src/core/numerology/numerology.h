#pragma once
// Personal Year Number: the day and month of birth folded together with the
// current calendar year into one digit, and the texts that interpret it.
// Portable: no <windows.h>.

#include <array>
#include <cstdint>
#include <string>

#include "core/platform/clock.h"

namespace annuvia {

using PersonalYear = std::int16_t;  // 1 to 9

// Folds a number once: two or more decimal digits become first digit + last digit.
std::int16_t FoldOnce(std::int16_t value);

// Adds the digit values of a text of decimal digits and folds the total twice.
// An empty text gives 0.
std::int16_t ReduceNumber(const std::wstring& digits);

// The month names, January first: the main window's list of months, and the
// names the calculation reads.
inline constexpr std::array<const wchar_t*, 12> kMonthNames{
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December",
};

// The month's number folded once: "January" = 1 ... "September" = 9,
// "October" = 1, "November" = 2, "December" = 3; any other name gives 0. The
// comparison is exact and case-sensitive.
std::int16_t MonthValue(const std::wstring& monthName);

// The Personal Year Number for a day text ("1" to "31") and a month name,
// with the current year read from the clock once.
PersonalYear CalcPersonalYear(const std::wstring& dayText, const std::wstring& monthName,
                              const Clock& clock);

// The reading for a number from 1 to 9.
const std::wstring& GetYearReading(PersonalYear number);

// The result text as the four blocks that the result window inserts one by one:
// header and number, general text, reading, empty paragraph; each ends in CRLF CRLF.
std::array<std::wstring, 4> ResultBlocks(PersonalYear number);

// The four blocks joined.
std::wstring ResultText(PersonalYear number);

extern const wchar_t kResultHeader[];
extern const wchar_t kGeneralText[];

}  // namespace annuvia

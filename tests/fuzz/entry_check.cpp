// Fuzzer 5, the main window's entry checks: CheckEntries on arbitrary list
// positions and texts, compared with a reference written here from the
// checks the window makes, in their order:
//   1-2 first / last name empty (exactly empty: spaces pass); 3-5 day, month,
//   year text empty; 6 February (month position 1) with day position from 29
//   to 30 in a leap year, from 28 to 30 otherwise; 7 month position 3, 5, 8 or
//   10 with day position 30. Tests 6 and 7 look at positions only; the year
//   text is read as an integer the way the C library reads a decimal number.
// Also checked: a pass implies both names non-empty, and for positions and
// years inside the lists' range, a date that the calendar has.
//
// Input: byte 0 the day position and byte 1 the month position, as signed
// bytes (-128 takes the next four bytes as a whole int); then the texts
// first|last|day|month|year, split at raw '|' bytes.

#include <chrono>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "core/input/entry_check.h"

namespace {

using annuvia::EntryFocus;
using annuvia::fuzz::Show;

// The year text as an integer: leading white space, a sign, decimal digits,
// up to the first other character; saturated to the range of long as the C
// library does, then narrowed to int.
int YearOf(const std::wstring& text) {
    std::size_t i = 0;
    const auto isSpace = [](wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    // Accumulate as a negative number, which has the room for LONG_MIN.
    long value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        const long digit = text[i] - L'0';
        if (value < (LONG_MIN + digit) / 10) overflow = true;
        if (!overflow) value = value * 10 - digit;
    }
    if (overflow)
        value = negative ? LONG_MIN : LONG_MAX;
    else if (!negative)
        value = value == LONG_MIN ? LONG_MAX : -value;
    return static_cast<int>(value);  // C++20: modulo 2^32
}

// The entry checks use the Gregorian rule (entry_check.h documents and tests
// it): 1900 is no leap year, although a plain "divisible by 4" rule would make
// it one. The reference follows that contract.
bool Leap(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

struct Expected {
    int test;
    const wchar_t* message;
    EntryFocus focus;
};

Expected Reference(const annuvia::MainEntries& e) {
    if (e.firstName.empty()) return {1, L"Please Enter Your First Name", EntryFocus::FirstName};
    if (e.lastName.empty()) return {2, L"Please Enter Your Last Name", EntryFocus::LastName};
    if (e.dayText.empty()) return {3, L"Please Specify Your Birth Date", EntryFocus::Date};
    if (e.monthText.empty()) return {4, L"Please Specify Your Birth Month", EntryFocus::Month};
    if (e.yearText.empty()) return {5, L"Please Specify Your Birth Year", EntryFocus::Year};
    if (e.monthIndex == 1) {
        const int from = Leap(YearOf(e.yearText)) ? 29 : 28;
        if (e.dayIndex >= from && e.dayIndex <= 30)
            return {6, L"Please Enter Correct Date Or Month!", EntryFocus::Unchanged};
    }
    if ((e.monthIndex == 3 || e.monthIndex == 5 || e.monthIndex == 8 || e.monthIndex == 10) &&
        e.dayIndex == 30)
        return {7, L"Please Enter Correct Date Or Month !", EntryFocus::Unchanged};
    return {0, nullptr, EntryFocus::Unchanged};
}

int Position(annuvia::fuzz::ByteReader& reader) {
    const auto b = static_cast<std::int8_t>(reader.Byte());
    if (b != INT8_MIN) return b;
    return static_cast<int>(reader.Bits(4));  // C++20: modulo 2^32
}

bool IsPlainYear(const std::wstring& text, int& year) {
    if (text.empty() || text.size() > 4) return false;
    year = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        year = year * 10 + (c - L'0');
    }
    return year >= 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    annuvia::fuzz::ByteReader reader(data, size);
    annuvia::MainEntries e;
    e.dayIndex = Position(reader);
    e.monthIndex = Position(reader);
    const std::vector<std::wstring> texts = reader.WideFields(5);
    e.firstName = texts[0];
    e.lastName = texts[1];
    e.dayText = texts[2];
    e.monthText = texts[3];
    e.yearText = texts[4];

    const annuvia::EntryCheck check = annuvia::CheckEntries(e);
    const Expected expected = Reference(e);
    const auto what = [&] {
        return std::string("positions day " + std::to_string(e.dayIndex) + " month " +
                           std::to_string(e.monthIndex) + " first " + Show(e.firstName) + " last " +
                           Show(e.lastName) + " day " + Show(e.dayText) + " month " + Show(e.monthText) +
                           " year " + Show(e.yearText));
    };

    CHECK(check.failedTest == expected.test, what() + ": failed test " + std::to_string(check.failedTest) +
                                                 ", expected " + std::to_string(expected.test));
    CHECK(check.Passed() == (expected.test == 0), what());
    if (expected.message) {
        CHECK(check.message != nullptr && std::wstring(check.message) == expected.message,
              what() + ": message " +
                  (check.message ? Show(std::wstring(check.message)) : std::string("null")));
    }
    CHECK(check.focus == expected.focus, what() + ": focus");

    if (check.Passed()) {
        CHECK(!e.firstName.empty() && !e.lastName.empty(), what());
        CHECK(!e.dayText.empty() && !e.monthText.empty() && !e.yearText.empty(), what());
        // Inside the lists' range a pass is a date of the calendar.
        int year = 0;
        if (e.dayIndex >= 0 && e.dayIndex <= 30 && e.monthIndex >= 0 && e.monthIndex <= 11 &&
            IsPlainYear(e.yearText, year)) {
            using namespace std::chrono;
            const year_month_day date{std::chrono::year{year}, month{static_cast<unsigned>(e.monthIndex + 1)},
                                      day{static_cast<unsigned>(e.dayIndex + 1)}};
            CHECK(date.ok(), what() + ": passed a date the calendar lacks");
        }
    }
    return 0;
}

#include "core/input/entry_check.h"

#include <cwchar>

namespace annuvia {

namespace {

constexpr int kFebruary = 1;
constexpr int kDay29 = 28, kDay30 = 29, kDay31 = 30;

bool IsThirtyDayMonth(int monthIndex) {
    return monthIndex == 3 || monthIndex == 5 || monthIndex == 8 || monthIndex == 10;
}

// The year list holds four-digit texts only; anything else reads as 0.
int YearNumber(const std::wstring& text) {
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

EntryCheck Fail(int test, const wchar_t* message, EntryFocus focus) {
    return EntryCheck{test, message, focus};
}

}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

EntryCheck CheckEntries(const MainEntries& e) {
    if (e.firstName.empty())
        return Fail(1, L"Please Enter Your First Name", EntryFocus::FirstName);
    if (e.lastName.empty())
        return Fail(2, L"Please Enter Your Last Name", EntryFocus::LastName);
    if (e.dayText.empty())
        return Fail(3, L"Please Specify Your Birth Date", EntryFocus::Date);
    if (e.monthText.empty())
        return Fail(4, L"Please Specify Your Birth Month", EntryFocus::Month);
    if (e.yearText.empty())
        return Fail(5, L"Please Specify Your Birth Year", EntryFocus::Year);

    if (e.monthIndex == kFebruary) {
        const int firstBadDay = IsLeapYear(YearNumber(e.yearText)) ? kDay30 : kDay29;
        if (e.dayIndex >= firstBadDay && e.dayIndex <= kDay31)
            return Fail(6, L"Please Enter Correct Date Or Month!", EntryFocus::Unchanged);
    }
    if (IsThirtyDayMonth(e.monthIndex) && e.dayIndex == kDay31)
        return Fail(7, L"Please Enter Correct Date Or Month !", EntryFocus::Unchanged);
    return EntryCheck{};
}

}  // namespace annuvia

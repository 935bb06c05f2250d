#pragma once
// The checks that the main window runs before a calculation, as plain logic on
// the entries it reads from its controls. Portable: no <windows.h>.

#include <string>

namespace annuvia {

// What the main window reads: the texts of the name boxes, the texts of the
// chosen list entries (empty when none is chosen) and the list positions.
struct MainEntries {
    std::wstring firstName;
    std::wstring lastName;
    std::wstring dayText;
    std::wstring monthText;
    std::wstring yearText;
    int dayIndex = -1;    // position in the day list, 0 is day 1
    int monthIndex = -1;  // position in the month list, 0 is January
};

// Where the focus goes after a failed check.
enum class EntryFocus { Unchanged, FirstName, LastName, Date, Month, Year };

struct EntryCheck {
    int failedTest = 0;               // 0 when every check passed, else 1 to 7
    const wchar_t* message = nullptr;  // the text of the message box
    EntryFocus focus = EntryFocus::Unchanged;

    bool Passed() const { return failedTest == 0; }
};

// Gregorian: divisible by 4, and not by 100 unless by 400.
bool IsLeapYear(int year);

// Runs the checks in order and stops at the first that fails.
EntryCheck CheckEntries(const MainEntries& entries);

}  // namespace annuvia

#pragma once
// The calendar date as the program sees it. Portable: no <windows.h>.

namespace annuvia {

struct CivilDate {
    int year = 0;   // 1 to 9999
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

// Days since 1 January 1970 in the proleptic Gregorian calendar; the
// difference of two day numbers is the number of whole calendar days between.
constexpr long DayNumber(CivilDate date) {
    const long y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Where "today" comes from. The product reads the system clock; tests set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CivilDate Today() const = 0;
};

// A clock that always shows the same date.
class FixedClock final : public Clock {
public:
    explicit FixedClock(CivilDate date) : date_(date) {}
    CivilDate Today() const override { return date_; }
    void Set(CivilDate date) { date_ = date; }

private:
    CivilDate date_;
};

}  // namespace annuvia

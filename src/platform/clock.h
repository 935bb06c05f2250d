#pragma once
// The calendar date as the program sees it. Portable: no <windows.h>.

namespace annuvia {

struct CivilDate {
    int year = 0;   // 1 to 9999
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

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

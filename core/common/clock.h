#pragma once

namespace inkquot {

// A calendar day. Dates on screen and in the history file are whole days.
struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Where "today" comes from: the machine's clock in the program, a fixed day
// in tests, so that date rules (the history cut-off, the date line) can be
// checked on any day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CivilDate today() const = 0;
};

// Today in the machine's local time zone.
class SystemClock final : public Clock {
public:
    CivilDate today() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(CivilDate day) : day_(day) {}
    CivilDate today() const override { return day_; }
    void set(CivilDate day) { day_ = day; }

private:
    CivilDate day_;
};

// Stored dates count days from 30 December 1899 (day 0), so 1 January 1900 is
// day 2 and 7 December 2026 is day 46363.
int serialFromDate(CivilDate date);
CivilDate dateFromSerial(int serial);

// Whether the day exists in the Gregorian calendar (29 February only in leap
// years; years 1 to 9999).
bool isValidDate(CivilDate date);

}  // namespace inkquot

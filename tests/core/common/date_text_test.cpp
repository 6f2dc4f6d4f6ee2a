#include "core/common/date_text.h"

#include <gtest/gtest.h>

#include <clocale>

#include "core/common/clock.h"

namespace inkquot {
namespace {

struct DateCase {
    CivilDate date;
    const char* longText;
    const char* shortText;
};

TEST(DateText, LongAndShortForms) {
    const DateCase cases[] = {
        {{2026, 12, 7}, "2026年12月7日", "2026/12/7"},
        {{2026, 1, 1}, "2026年1月1日", "2026/1/1"},
        {{1999, 10, 31}, "1999年10月31日", "1999/10/31"},
        {{2000, 2, 29}, "2000年2月29日", "2000/2/29"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(longDateText(c.date), c.longText);
        EXPECT_EQ(shortDateText(c.date), c.shortText);
    }
}

TEST(DateText, IgnoresTheMachineLocale) {
    // A locale with other date conventions must not change the texts.
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    EXPECT_EQ(longDateText({2026, 12, 7}), "2026年12月7日");
    EXPECT_EQ(shortDateText({2026, 12, 7}), "2026/12/7");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(SerialDate, KnownDays) {
    struct Case {
        CivilDate date;
        int serial;
    };
    const Case cases[] = {
        {{1899, 12, 30}, 0},   {{1899, 12, 31}, 1},    {{1900, 1, 1}, 2},    {{1900, 3, 1}, 61},
        {{2000, 1, 1}, 36526}, {{2026, 12, 7}, 46363}, {{1899, 12, 29}, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(serialFromDate(c.date), c.serial) << c.date.year << '-' << c.date.month;
        EXPECT_EQ(dateFromSerial(c.serial), c.date) << c.serial;
    }
}

TEST(SerialDate, RoundTripsOverFourHundredYears) {
    for (int s = -1000; s < 146097 + 1000; s += 7) {
        EXPECT_EQ(serialFromDate(dateFromSerial(s)), s);
    }
}

TEST(ValidDate, MonthLengthsAndLeapYears) {
    struct Case {
        CivilDate date;
        bool valid;
    };
    const Case cases[] = {
        {{2024, 2, 29}, true},  {{2023, 2, 29}, false}, {{1900, 2, 29}, false},
        {{2000, 2, 29}, true},  {{2026, 4, 31}, false}, {{2026, 12, 31}, true},
        {{2026, 13, 1}, false}, {{2026, 0, 1}, false},  {{2026, 1, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidDate(c.date), c.valid)
            << c.date.year << '-' << c.date.month << '-' << c.date.day;
    }
}

TEST(FixedClock, GivesItsDay) {
    FixedClock clock({2026, 12, 7});
    EXPECT_EQ(clock.today(), (CivilDate{2026, 12, 7}));
    clock.set({2027, 1, 1});
    EXPECT_EQ(clock.today(), (CivilDate{2027, 1, 1}));
}

}  // namespace
}  // namespace inkquot

#pragma once

#include <optional>
#include <string>
#include <string_view>

// Calendar dates as day numbers, for plans and the diary. Qt-free.
namespace qel {

struct CivilDate {
    int year = 1970, month = 1, day = 1;
    bool operator==(const CivilDate&) const = default;
};

// Days since 1970-01-01 of the proleptic Gregorian calendar.
int dayNumber(const CivilDate& date);
CivilDate civilDate(int dayNumber);
// "YYYY-MM-DD"; nothing for any other text or an impossible date ("2023-02-29").
std::optional<CivilDate> parseIsoDate(std::string_view text);
std::string isoDate(const CivilDate& date);
// The local calendar date of now.
CivilDate today();
bool isLeapYear(int year);
int daysInMonth(int year, int month);

} // namespace qel

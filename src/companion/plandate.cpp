#include "companion/plandate.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace qel {

// The era-based conversions of the proleptic Gregorian calendar: exact for every date,
// leap days included, without a table.
int dayNumber(const CivilDate& date) {
    const int y = date.year - (date.month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilDate(int number) {
    const int z = number + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int dayOfEra = z - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int mp = (5 * dayOfYear + 2) / 153;
    const int day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[(month - 1) % 12];
}

std::optional<CivilDate> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&](std::size_t from, std::size_t length) {
        int value = -1;
        const char* end = text.data() + from + length;
        if (std::from_chars(text.data() + from, end, value).ptr != end)
            return -1;
        return value;
    };
    const CivilDate date{number(0, 4), number(5, 2), number(8, 2)};
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > daysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

std::string isoDate(const CivilDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

CivilDate today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace qel

#include "engine/DbServer.h"

#include <cstdio>
#include <ctime>

namespace derode::engine {

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : days[m - 1];
}

}  // namespace

std::string Date::iso() const
{
    if (empty())
        return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year % 10000, month % 100, day % 100);
    return buf;
}

std::string Date::dtos() const
{
    if (empty())
        return std::string(8, ' ');
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", year % 10000, month % 100, day % 100);
    return buf;
}

Date Date::fromDtos(const std::string& s)
{
    if (s.size() != 8)
        return {};
    for (char c : s)
        if (c < '0' || c > '9')
            return {};
    const int y = std::stoi(s.substr(0, 4));
    const int m = std::stoi(s.substr(4, 2));
    const int d = std::stoi(s.substr(6, 2));
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m))
        return {};
    return Date{y, m, d};
}

long Date::julianDay() const
{
    if (empty())
        return 0;
    const long a = (14 - month) / 12;
    const long y = year + 4800 - a;
    const long m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

Date Date::fromJulianDay(long jd)
{
    if (jd <= 0)
        return {};
    // Fliegel and Van Flandern.
    long l = jd + 68569;
    const long n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const long i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const long j = 80 * l / 2447;
    const int day = static_cast<int>(l - 2447 * j / 80);
    l = j / 11;
    const int month = static_cast<int>(j + 2 - 12 * l);
    const int year = static_cast<int>(100 * (n - 49) + i + l);
    return Date{year, month, day};
}

Date Date::today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace derode::engine

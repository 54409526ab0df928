// Reading a request's query (request.h).
#include "request.h"

#include "../core/random.h"

#include <cstdio>

namespace {

bool all_digits(const std::string &s, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; i++)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

int number_at(const std::string &s, std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; i++)
        n = n * 10 + (s[i] - '0');
    return n;
}

bool leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
    static const int DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : DAYS[month - 1];
}

} // namespace

std::string check_name(const std::string &name) {
    if (name.empty())
        return "a name is needed";
    if (name.size() > MAX_NAME)
        return "a name of more than 16 characters";
    for (unsigned char c : name)
        if (c < 0x20 || c > 0x7E)
            return "a name of other than printable characters";
    return "";
}

uint32_t parse_day(const std::string &date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' || !all_digits(date, 0, 4) ||
        !all_digits(date, 5, 2) || !all_digits(date, 8, 2))
        return 0;
    const int year = number_at(date, 0, 4), month = number_at(date, 5, 2),
              day = number_at(date, 8, 2);
    if (year < 2000 || year > 2999 || month < 1 || month > 12 || day < 1 ||
        day > days_in_month(year, month))
        return 0;
    return static_cast<uint32_t>(year * 10000 + month * 100 + day);
}

std::string day_text(uint32_t yyyymmdd) {
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", yyyymmdd / 10000 % 10000,
                  yyyymmdd / 100 % 100, yyyymmdd % 100);
    return text;
}

std::string parse_board_query(const std::string &kind, const std::string &date,
                              const std::string &limit, int64_t now, BOARD_QUERY &query) {
    query = {false, 0, DEFAULT_BOARD_LIMIT};
    if (kind == "daily")
        query.daily = true;
    else if (!kind.empty() && kind != "all")
        return "kind is all or daily";
    if (!date.empty()) {
        query.day = parse_day(date);
        if (query.day == 0)
            return "date is a day written YYYY-MM-DD";
    } else {
        query.day = utc_day(now);
    }
    if (!limit.empty()) {
        if (limit.size() > 3 || !all_digits(limit, 0, limit.size()))
            return "limit is a number from 1 to 100";
        query.limit = number_at(limit, 0, limit.size());
        if (query.limit < 1 || query.limit > MAX_BOARD_LIMIT)
            return "limit is a number from 1 to 100";
    }
    return "";
}

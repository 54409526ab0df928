// The high-score table's rules and file image; called by the game-over screen
// (through shell/flow/high_score_entry.cpp) and by the file's reader and writer.
#include "high_scores.h"

#include <cstdio>
#include <cstring>

HIGH_SCORE_TABLE high_scores;

namespace {

const char FIRST_LINE[] = "Tarvellion high scores 1";

constexpr int32_t FIRST_YEAR = 1970;
constexpr int32_t LAST_YEAR = 9999;
constexpr int MAX_DIGITS = 10; // INT32_MAX has ten

int days_in_month(int32_t year, int32_t month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Reads the characters of one line, field by field; each reader takes its
// field and the one separator after it, and fails on anything else.
class LineReader {
  public:
    LineReader(const char *at, const char *end) : at(at), end(end) {}

    // A whole number from 1 to INT32_MAX in plain decimal, no sign, no
    // leading zero, then the separator.
    bool number(int32_t &value, char separator) {
        int64_t n = 0;
        int digits = 0;
        while (at < end && *at >= '0' && *at <= '9' && digits <= MAX_DIGITS) {
            if (digits == 0 && *at == '0')
                return false;
            n = n * 10 + (*at - '0');
            digits++;
            at++;
        }
        if (digits == 0 || digits > MAX_DIGITS || n > INT32_MAX)
            return false;
        value = static_cast<int32_t>(n);
        return take(separator);
    }

    // Exactly `width` digits, leading zeros and all, then the separator.
    bool digits(int width, int32_t &value, char separator) {
        value = 0;
        for (int i = 0; i < width; i++, at++) {
            if (at >= end || *at < '0' || *at > '9')
                return false;
            value = value * 10 + (*at - '0');
        }
        return take(separator);
    }

    // The rest of the line, up to its line break; a zero byte in it would
    // cut the text short of what the file holds.
    bool rest(char *text, std::size_t room) {
        const char *stop = static_cast<const char *>(std::memchr(at, '\n', end - at));
        if (!stop || static_cast<std::size_t>(stop - at) >= room ||
            std::memchr(at, '\0', stop - at))
            return false;
        std::memcpy(text, at, stop - at);
        text[stop - at] = '\0';
        at = stop + 1;
        return true;
    }

    const char *position() const { return at; }

  private:
    bool take(char separator) {
        if (at >= end || *at != separator)
            return false;
        at++;
        return true;
    }

    const char *at;
    const char *end;
};

bool read_entry(LineReader &line, HIGH_SCORE &e) {
    int32_t year, month, day;
    if (!line.number(e.score, ' ') || !line.number(e.level, ' ') || !line.digits(4, year, '-') ||
        !line.digits(2, month, '-') || !line.digits(2, day, ' ') ||
        !line.rest(e.name, sizeof e.name))
        return false;
    e.date = year * 10000 + month * 100 + day;
    return is_high_score_date(e.date) && is_high_score_name(e.name);
}

} // namespace

int high_score_rank(const HIGH_SCORE_TABLE &table, int32_t score) {
    if (score < 1)
        return -1;
    int place = 0;
    while (place < table.count && table.entry[place].score >= score)
        place++;
    return place < HIGH_SCORE_COUNT ? place : -1;
}

int insert_high_score(HIGH_SCORE_TABLE &table, const HIGH_SCORE &entry) {
    const int place = high_score_rank(table, entry.score);
    if (place < 0)
        return -1;
    const int kept = table.count < HIGH_SCORE_COUNT ? table.count : HIGH_SCORE_COUNT - 1;
    for (int i = kept; i > place; i--)
        table.entry[i] = table.entry[i - 1];
    table.entry[place] = entry;
    table.count = kept + 1;
    return place;
}

bool is_high_score_name(const char *name) {
    std::size_t length = 0;
    while (length <= static_cast<std::size_t>(PLAYER_NAME_MAX) && name[length])
        length++;
    if (length < 1 || length > static_cast<std::size_t>(PLAYER_NAME_MAX))
        return false;
    for (std::size_t i = 0; i < length; i++)
        if (name[i] < ' ' || name[i] > '~')
            return false;
    return name[0] != ' ' && name[length - 1] != ' ';
}

bool is_high_score_date(int32_t date) {
    const int32_t year = date / 10000;
    const int32_t month = date / 100 % 100;
    const int32_t day = date % 100;
    return year >= FIRST_YEAR && year <= LAST_YEAR && month >= 1 && month <= 12 && day >= 1 &&
           day <= days_in_month(year, month);
}

std::string encode_high_scores(const HIGH_SCORE_TABLE &table) {
    std::string text = std::string(FIRST_LINE) + "\n";
    for (int i = 0; i < table.count && i < HIGH_SCORE_COUNT; i++) {
        const HIGH_SCORE &e = table.entry[i];
        char line[96];
        std::snprintf(line, sizeof line, "%d %d %04d-%02d-%02d %.*s\n", e.score, e.level,
                      e.date / 10000, e.date / 100 % 100, e.date % 100, PLAYER_NAME_MAX, e.name);
        text += line;
    }
    return text;
}

bool decode_high_scores(const char *bytes, std::size_t size, HIGH_SCORE_TABLE &table) {
    table = HIGH_SCORE_TABLE{};
    const std::size_t first = sizeof FIRST_LINE - 1;
    if (size < first + 1 || std::memcmp(bytes, FIRST_LINE, first) != 0 || bytes[first] != '\n')
        return false;
    HIGH_SCORE_TABLE read{};
    LineReader line(bytes + first + 1, bytes + size);
    while (line.position() < bytes + size) {
        if (read.count == HIGH_SCORE_COUNT)
            return false;
        HIGH_SCORE &e = read.entry[read.count];
        if (!read_entry(line, e))
            return false;
        if (read.count > 0 && e.score > read.entry[read.count - 1].score)
            return false;
        read.count++;
    }
    table = read;
    return true;
}

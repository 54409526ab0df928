// Fuzz target for the board's reading of a request's query: the name, the
// kind, the date and the limit, each a line of the input, and the clock as
// its first eight bytes. Whatever they hold, what is taken lies within its
// limits and a day taken is written back as it was read.
#include "board/request.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string next_line(const std::string &input, std::size_t &at) {
    const std::size_t end = std::min(input.find('\n', at), input.size());
    const std::string line = input.substr(at, end - at);
    at = end < input.size() ? end + 1 : end;
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int64_t now = 0;
    if (size >= sizeof now) {
        std::memcpy(&now, data, sizeof now);
        data += sizeof now;
        size -= sizeof now;
    }
    const std::string input(reinterpret_cast<const char *>(data), size);
    std::size_t at = 0;
    const std::string name = next_line(input, at), kind = next_line(input, at),
                      date = next_line(input, at), limit = next_line(input, at);

    if (check_name(name).empty()) {
        if (name.empty() || name.size() > MAX_NAME)
            std::abort();
        for (unsigned char c : name)
            if (c < 0x20 || c > 0x7E)
                std::abort();
    }
    const uint32_t day = parse_day(date);
    if (day != 0 && day_text(day) != date)
        std::abort();
    BOARD_QUERY query;
    if (parse_board_query(kind, date, limit, now, query).empty()) {
        if (query.limit < 1 || query.limit > MAX_BOARD_LIMIT)
            std::abort();
        if (!date.empty() && query.day != day)
            std::abort();
    }
    return 0;
}

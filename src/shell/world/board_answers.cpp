// A small JSON reader, enough for the board's answers: objects, arrays,
// strings, numbers, true, false and null.
#include "board_answers.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Far deeper than the board's answers go.
constexpr int MAX_DEPTH = 8;
// A board's names are 1 to 16 characters.
constexpr std::size_t BOARD_NAME_MAX = 16;
constexpr std::size_t REASON_MAX = 70;
constexpr int64_t LARGEST_ID = 1000000000000000000;
constexpr int32_t LARGEST_SCORE = 2000000000;
constexpr int32_t LARGEST_COUNT = 1000000000;

struct JSON {
    enum Kind { NONE, OBJECT, ARRAY, TEXT, NUMBER, OTHER } kind = NONE;
    std::string text;
    double number = 0;
    std::vector<std::pair<std::string, JSON>> members;
    std::vector<JSON> items;

    const JSON *member(const char *name) const {
        for (const auto &m : members)
            if (m.first == name)
                return &m.second;
        return nullptr;
    }
};

struct Reader {
    const std::string &s;
    std::size_t at = 0;

    void blanks() {
        while (at < s.size() && std::strchr(" \t\r\n", s[at]) && s[at] != '\0')
            at++;
    }

    bool take(char c) {
        blanks();
        if (at < s.size() && s[at] == c) {
            at++;
            return true;
        }
        return false;
    }

    // A string's characters; an escaped character beyond ASCII reads as '?'.
    bool string(std::string &out) {
        if (!take('"'))
            return false;
        while (at < s.size() && s[at] != '"') {
            char c = s[at++];
            if (c == '\\') {
                if (at >= s.size())
                    return false;
                const char e = s[at++];
                if (e == 'u') {
                    if (at + 4 > s.size())
                        return false;
                    const long code = std::strtol(s.substr(at, 4).c_str(), nullptr, 16);
                    at += 4;
                    c = code >= 0x20 && code < 0x7F ? static_cast<char>(code) : '?';
                } else {
                    c = std::strchr("nrtbf", e) && e != '\0' ? ' ' : e;
                }
            }
            out += c;
        }
        return take('"');
    }

    bool word(const char *w) {
        const std::size_t n = std::strlen(w);
        if (s.compare(at, n, w) != 0)
            return false;
        at += n;
        return true;
    }

    bool value(JSON &v, int depth) {
        blanks();
        if (depth > MAX_DEPTH || at >= s.size())
            return false;
        const char c = s[at];
        if (c == '{') {
            v.kind = JSON::OBJECT;
            at++;
            if (take('}'))
                return true;
            do {
                std::pair<std::string, JSON> m;
                if (!string(m.first) || !take(':') || !value(m.second, depth + 1))
                    return false;
                v.members.push_back(std::move(m));
            } while (take(','));
            return take('}');
        }
        if (c == '[') {
            v.kind = JSON::ARRAY;
            at++;
            if (take(']'))
                return true;
            do {
                v.items.emplace_back();
                if (!value(v.items.back(), depth + 1))
                    return false;
            } while (take(','));
            return take(']');
        }
        if (c == '"') {
            v.kind = JSON::TEXT;
            return string(v.text);
        }
        if (word("true") || word("false") || word("null")) {
            v.kind = JSON::OTHER;
            return true;
        }
        char *end = nullptr;
        v.number = std::strtod(s.c_str() + at, &end);
        if (end == s.c_str() + at || !std::isfinite(v.number))
            return false;
        v.kind = JSON::NUMBER;
        at = static_cast<std::size_t>(end - s.c_str());
        return true;
    }
};

bool read_json(const std::string &text, JSON &v) {
    Reader reader{text};
    if (!reader.value(v, 0))
        return false;
    reader.blanks();
    return reader.at == text.size() && v.kind == JSON::OBJECT;
}

// A member that is a whole number within low .. high.
template <typename Int>
bool whole(const JSON &object, const char *name, Int low, Int high, Int &n) {
    const JSON *m = object.member(name);
    if (!m || m->kind != JSON::NUMBER || m->number != std::floor(m->number) ||
        m->number < static_cast<double>(low) || m->number > static_cast<double>(high))
        return false;
    n = static_cast<Int>(m->number);
    return true;
}

std::string printable(const std::string &text, std::size_t longest) {
    std::string out;
    for (char c : text) {
        if (out.size() == longest)
            break;
        out += c >= ' ' && c <= '~' ? c : '?';
    }
    return out;
}

} // namespace

bool read_board_listing(const std::string &json, std::vector<WORLD_ENTRY> &entries) {
    JSON answer;
    if (!read_json(json, answer))
        return false;
    const JSON *list = answer.member("entries");
    if (!list || list->kind != JSON::ARRAY)
        return false;
    entries.clear();
    for (const JSON &item : list->items) {
        WORLD_ENTRY e{};
        const JSON *name = item.member("name");
        if (!name || name->kind != JSON::TEXT || !whole(item, "place", 1, LARGEST_COUNT, e.place) ||
            !whole(item, "score", 0, LARGEST_SCORE, e.score) ||
            !whole(item, "level", 0, LARGEST_COUNT, e.level) ||
            !whole<int64_t>(item, "id", 1, LARGEST_ID, e.id))
            return false;
        e.name = printable(name->text, BOARD_NAME_MAX);
        entries.push_back(e);
    }
    return true;
}

bool read_game_taken(const std::string &json, GAME_TAKEN &taken) {
    JSON answer;
    return read_json(json, answer) && whole<int64_t>(answer, "id", 1, LARGEST_ID, taken.id) &&
           whole(answer, "place", 1, LARGEST_COUNT, taken.place) &&
           whole(answer, "score", 0, LARGEST_SCORE, taken.score) &&
           whole(answer, "level", 0, LARGEST_COUNT, taken.level);
}

std::string read_refusal(const std::string &json) {
    JSON answer;
    if (!read_json(json, answer))
        return "";
    const JSON *error = answer.member("error");
    return error && error->kind == JSON::TEXT ? printable(error->text, REASON_MAX) : "";
}

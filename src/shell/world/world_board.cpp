// The requests to the world board and what their answers change; called by
// start-up, the main loop and the world screens.
#include "world_board.h"

#include "board_answers.h"
#include "../files/options.h"
#include "../../core/random.h"
#include "../../platform/platform.h"

#include <cctype>

WORLD_PAGE world = {{}, 0, -1, -1, ""};

namespace {

enum { PROBE, SEND, PAGE_ALL, PAGE_DAILY, REPLAY_FETCH, REQUESTS };

int handles[REQUESTS] = {};
bool answered = false;
bool sent_daily = false;
// The pages asked for before the game sent was stored are asked for again.
bool pages_again = false;
bool replay_wanted = false;
bool replay_came = false;
REPLAY fetched;
std::string fetched_label;

const char *const NO_ANSWER = "The world board does not answer";

std::string url_of(const std::string &path) {
    std::string base = options.board;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base + "/api/" + path;
}

std::string url_encoded(const std::string &text) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

void begin(int request, const char *method, const std::string &path, const std::string &body = "") {
    if (options.board[0] == '\0' || handles[request] != 0)
        return;
    handles[request] = http_begin(method, url_of(path), body);
}

bool is_daily(uint32_t seed) {
    for (uint32_t day : daily_days(wall_clock_us() / 1000000))
        if (seed == daily_seed(day))
            return true;
    return false;
}

std::string place_text(int place) {
    const int tens = place % 100 / 10;
    const int last = place % 10;
    const char *suffix = tens == 1 || last > 3 || last == 0 ? "th"
                         : last == 1                        ? "st"
                         : last == 2                        ? "nd"
                                                            : "rd";
    return std::to_string(place) + suffix;
}

void take_page(int board, const HTTP_ANSWER &answer) {
    if (answer.status == 200 && read_board_listing(answer.body, world.boards[board])) {
        answered = true;
        return;
    }
    if (world.status.empty())
        world.status = NO_ANSWER;
}

void take_sent(const HTTP_ANSWER &answer) {
    GAME_TAKEN taken;
    if (answer.status == 201 && read_game_taken(answer.body, taken)) {
        world.own_id = taken.id;
        pages_again = true;
        world.status = "Your game is " + place_text(taken.place) + " on the world board" +
                       (sent_daily ? "'s daily challenge" : "");
        return;
    }
    const std::string reason = read_refusal(answer.body);
    if (answer.status >= 400 && answer.status < 500 && !reason.empty())
        world.status = "The world board did not take the game: " + reason;
    else
        world.status = std::string(NO_ANSWER) + ": the game was not sent";
}

void take_replay(const HTTP_ANSWER &answer) {
    // The player left the page before it came: nothing to play or say.
    if (!replay_wanted)
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(answer.body.data());
    replay_came = answer.status == 200 && decode_replay(bytes, answer.body.size(), fetched).empty();
    if (!replay_came)
        world.status = answer.status == 0 ? NO_ANSWER : "The world board has no such game";
}

} // namespace

void look_for_board() {
    begin(PROBE, "GET", "board?kind=all&limit=" + std::to_string(WORLD_ROWS));
}

bool board_answers() {
    return answered && options.board[0] != '\0';
}

void send_game(const REPLAY &game, const std::string &name) {
    world.own_id = 0;
    if (game.began != BEGAN_BY_START && game.began != BEGAN_AFTER_GAME_OVER)
        return;
    sent_daily = is_daily(game.seed);
    const std::vector<unsigned char> bytes = encode_replay(game);
    world.status = "Sending your game to the world board...";
    begin(SEND, "POST", "games?name=" + url_encoded(name) + (sent_daily ? "&kind=daily" : ""),
          std::string(bytes.begin(), bytes.end()));
}

void fetch_world_pages() {
    const std::string limit = "&limit=" + std::to_string(WORLD_ROWS);
    begin(PAGE_ALL, "GET", "board?kind=all" + limit);
    begin(PAGE_DAILY, "GET", "board?kind=daily" + limit);
}

void fetch_entry_replay(int64_t id, const std::string &label) {
    replay_came = false;
    replay_wanted = true;
    fetched_label = label;
    begin(REPLAY_FETCH, "GET", "games/" + std::to_string(id) + "/replay");
}

bool entry_replay_came() {
    return replay_came;
}

bool take_entry_replay(REPLAY &replay, std::string &label) {
    if (!replay_came)
        return false;
    replay_came = false;
    replay_wanted = false;
    replay = fetched;
    label = fetched_label;
    return true;
}

void forget_entry_replay() {
    replay_wanted = false;
    replay_came = false;
}

void follow_world_board() {
    for (int request = 0; request < REQUESTS; request++) {
        HTTP_ANSWER answer;
        if (handles[request] == 0 || !http_done(handles[request], answer))
            continue;
        handles[request] = 0;
        if (request == PROBE || request == PAGE_ALL)
            take_page(ALL_TIME_BOARD, answer);
        else if (request == PAGE_DAILY)
            take_page(DAILY_BOARD, answer);
        else if (request == SEND)
            take_sent(answer);
        else
            take_replay(answer);
    }
    if (pages_again && handles[PAGE_ALL] == 0 && handles[PAGE_DAILY] == 0) {
        pages_again = false;
        fetch_world_pages();
    }
}

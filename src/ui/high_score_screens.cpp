// The name entry, the table after a game over and the table in the menu;
// called by showlost() (screens.cpp) and put_bmp() (frame.cpp).
#include "high_score_screens.h"

#include "frame.h"
#include "../rules/high_scores.h"
#include "../rules/screens.h"
#include "../shell/endings.h"
#include "../shell/game_state.h"
#include "../shell/gamepad.h"
#include "../shell/high_score_file.h"
#include "../shell/input.h"
#include "../shell/player_files.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

const char DEFAULT_NAME[] = "Player";
constexpr int LINE_HEIGHT = 16;
constexpr int ROW_HEIGHT = 12;
constexpr int TYPING_FRAME_MS = 20;
constexpr int CHARACTER_WIDTH = 8;   // of the library's built-in font
constexpr int TABLE_CHARACTERS = 46; // the widest row of draw_high_score_table
constexpr int MENU_TABLE_TOP = 280;  // below the End button
constexpr int MENU_CENTRE = 320;     // where the buttons stand, whatever the screen
constexpr int BACKDROP_MARGIN = 6;
constexpr int ASCII_BACKSPACE = 8;
constexpr int ASCII_ENTER = 13;
constexpr int ASCII_ESC = 27;

int white() {
    return makecol(255, 255, 255);
}

int highlight_colour() {
    return makecol(255, 255, 0);
}

void copy_name(char *to, const char *from) {
    std::snprintf(to, PLAYER_NAME_MAX + 1, "%s", from);
}

void settle(NAME_ENTRY &entry, const char *name) {
    copy_name(entry.name, name);
    entry.settled = true;
}

// What is typed, without the blanks at either end.
std::string trimmed(const char *typed) {
    std::string s = typed;
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Today as yyyymmdd; a clock the table cannot hold gives the first day it can.
int32_t today() {
    const std::time_t now = std::time(nullptr);
    const std::tm *local = std::localtime(&now);
    const int32_t date =
        local ? (local->tm_year + 1900) * 10000 + (local->tm_mon + 1) * 100 + local->tm_mday : 0;
    return is_high_score_date(date) ? date : 19700101;
}

void draw_centred(const char *text, int x, int y, int colour) {
    textout_centre_ex(buffer, font, text, x, y, colour, -1);
}

void draw_name_entry(const NAME_ENTRY &entry, int place) {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;
    char line[96];
    draw_centred("A new high score!", cx, cy - 3 * LINE_HEIGHT, white());
    std::snprintf(line, sizeof line, "%d points: place %d of the ten best", unit.score, place + 1);
    draw_centred(line, cx, cy - 2 * LINE_HEIGHT, white());
    std::snprintf(line, sizeof line, "Your name: %-*s", PLAYER_NAME_MAX + 1,
                  (std::string(entry.typed) + "_").c_str());
    draw_centred(line, cx, cy, highlight_colour());
    draw_centred("Type it and press Enter; Esc keeps the name offered.", cx, cy + 2 * LINE_HEIGHT,
                 white());
    if (num_joysticks > 0)
        draw_centred("The gamepad's button takes the name offered.", cx, cy + 3 * LINE_HEIGHT,
                     white());
}

// Until Enter or Esc, the gamepad's button, or the session ending.
void ask_name(NAME_ENTRY &entry, int place) {
    clear_keybuf();
    forget_pad_presses();
    while (!entry.settled) {
        draw_name_entry(entry, place);
        show_to_screen();
        // Without a keyboard (tests, the soak) nothing will be typed.
        if (ending_requested() || (!keyboard_driver && !keypressed())) {
            accept_offered_name(entry);
            break;
        }
        while (keypressed() && !entry.settled)
            take_name_key(entry, readkey());
        poll_gamepad();
        if (pad.pressed_button && !entry.settled)
            accept_offered_name(entry);
        if (!entry.settled)
            rest(TYPING_FRAME_MS);
    }
    clear_keybuf();
}

void remember_name(const char *name) {
    if (std::strcmp(options.name, name) == 0)
        return;
    copy_name(options.name, name);
    write_options(player_path("options.ini").c_str());
}

void show_table(int place, int write_error) {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;
    const int top = cy - (HIGH_SCORE_COUNT + 4) * ROW_HEIGHT / 2;
    draw_centred("The ten best games", cx, top - LINE_HEIGHT, white());
    const int rows =
        draw_high_score_table(buffer, cx - TABLE_CHARACTERS * CHARACTER_WIDTH / 2, top, place);
    int y = top + (rows + 1) * ROW_HEIGHT;
    if (write_error) {
        char line[128];
        std::snprintf(line, sizeof line, "The table could not be saved: %s",
                      std::strerror(write_error));
        draw_centred(line, cx, y, highlight_colour());
        y += LINE_HEIGHT;
    }
    draw_centred("Press a key", cx, y, white());
    show_to_screen();
    clear_keybuf();
    wait_for_key();
}

} // namespace

void begin_name_entry(NAME_ENTRY &entry, const char *offered) {
    entry = NAME_ENTRY{};
    copy_name(entry.offered, is_high_score_name(offered) ? offered : DEFAULT_NAME);
    copy_name(entry.typed, entry.offered);
}

void take_name_key(NAME_ENTRY &entry, int key) {
    if (entry.settled)
        return;
    const int scancode = key >> 8;
    const int character = key & 0xff;
    if (scancode == KEY_ESC || character == ASCII_ESC) {
        settle(entry, entry.offered);
    } else if (scancode == KEY_ENTER || scancode == KEY_ENTER_PAD || character == ASCII_ENTER) {
        const std::string name = trimmed(entry.typed);
        settle(entry, name.empty() ? entry.offered : name.c_str());
    } else if (scancode == KEY_BACKSPACE || character == ASCII_BACKSPACE) {
        const std::size_t length = std::strlen(entry.typed);
        if (length > 0)
            entry.typed[length - 1] = '\0';
        entry.edited = true;
    } else if (character >= ' ' && character <= '~') {
        if (!entry.edited)
            entry.typed[0] = '\0';
        entry.edited = true;
        const std::size_t length = std::strlen(entry.typed);
        if (length < static_cast<std::size_t>(PLAYER_NAME_MAX)) {
            entry.typed[length] = static_cast<char>(character);
            entry.typed[length + 1] = '\0';
        }
    }
}

void accept_offered_name(NAME_ENTRY &entry) {
    if (!entry.settled)
        settle(entry, entry.offered);
}

int draw_high_score_table(BITMAP *onto, int left, int top, int highlight) {
    char row[96];
    std::snprintf(row, sizeof row, "%2s  %-12s %10s  %5s  %s", "", "Name", "Score", "Level",
                  "Date");
    textout_ex(onto, font, row, left, top, white(), -1);
    for (int i = 0; i < high_scores.count && i < HIGH_SCORE_COUNT; i++) {
        const HIGH_SCORE &e = high_scores.entry[i];
        std::snprintf(row, sizeof row, "%2d. %-12.12s %10d  %5d  %04d-%02d-%02d", i + 1, e.name,
                      e.score, e.level, e.date / 10000, e.date / 100 % 100, e.date % 100);
        textout_ex(onto, font, row, left, top + (i + 1) * ROW_HEIGHT,
                   i == highlight ? highlight_colour() : white(), -1);
    }
    return high_scores.count + 1;
}

void draw_menu_high_scores(BITMAP *onto) {
    if (high_scores.count == 0)
        return;
    const int left = MENU_CENTRE - TABLE_CHARACTERS * CHARACTER_WIDTH / 2;
    const int rows = high_scores.count + 1;
    rectfill(onto, left - BACKDROP_MARGIN, MENU_TABLE_TOP - BACKDROP_MARGIN,
             left + TABLE_CHARACTERS * CHARACTER_WIDTH + BACKDROP_MARGIN,
             MENU_TABLE_TOP + rows * ROW_HEIGHT + BACKDROP_MARGIN, makecol(0, 0, 0));
    draw_high_score_table(onto, left, MENU_TABLE_TOP, -1);
}

void record_high_score() {
    if (!high_scores_kept())
        return;
    const int place = high_score_rank(high_scores, unit.score);
    if (place < 0)
        return;
    NAME_ENTRY entry;
    begin_name_entry(entry, options.name);
    ask_name(entry, place);

    HIGH_SCORE game{};
    copy_name(game.name, entry.name);
    game.score = unit.score;
    game.level = unit.level > 0 ? unit.level : 1;
    game.date = today();
    insert_high_score(high_scores, game);
    const int error = write_high_scores();
    remember_name(entry.name);
    if (!ending_requested())
        show_table(place, error);
    forget_pressed_keys();
}

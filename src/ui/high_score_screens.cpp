// The name entry, the table after a game over and the table in the menu;
// called by the main loop's high-score screen (shell/flow/high_score_entry.cpp)
// and by put_bmp() (frame.cpp).
#include "high_score_screens.h"

#include "../core/game_state.h"
#include "../core/high_scores.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char DEFAULT_NAME[] = "Player";
constexpr int LINE_HEIGHT = 16;
constexpr int ROW_HEIGHT = 12;
constexpr int CHARACTER_WIDTH = 8;   // of the library's built-in font
constexpr int TABLE_CHARACTERS = 46; // the widest row of draw_high_score_table
constexpr int MENU_TABLE_TOP = 330;  // below the Daily button
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

void draw_centred(BITMAP *onto, const char *text, int x, int y, int colour) {
    textout_centre_ex(onto, font, text, x, y, colour, -1);
}

} // namespace

void draw_name_entry(BITMAP *onto, const NAME_ENTRY &entry, int place) {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;
    char line[96];
    draw_centred(onto, "A new high score!", cx, cy - 3 * LINE_HEIGHT, white());
    std::snprintf(line, sizeof line, "%d points: place %d of the ten best", unit.score, place + 1);
    draw_centred(onto, line, cx, cy - 2 * LINE_HEIGHT, white());
    std::snprintf(line, sizeof line, "Your name: %-*s", PLAYER_NAME_MAX + 1,
                  (std::string(entry.typed) + "_").c_str());
    draw_centred(onto, line, cx, cy, highlight_colour());
    draw_centred(onto, "Type it and press Enter; Esc keeps the name offered.", cx,
                 cy + 2 * LINE_HEIGHT, white());
    if (num_joysticks > 0)
        draw_centred(onto, "The gamepad's button takes the name offered.", cx, cy + 3 * LINE_HEIGHT,
                     white());
}

void draw_table_screen(BITMAP *onto, int place, int write_error) {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;
    const int top = cy - (HIGH_SCORE_COUNT + 4) * ROW_HEIGHT / 2;
    draw_centred(onto, "The ten best games", cx, top - LINE_HEIGHT, white());
    const int rows =
        draw_high_score_table(onto, cx - TABLE_CHARACTERS * CHARACTER_WIDTH / 2, top, place);
    int y = top + (rows + 1) * ROW_HEIGHT;
    if (write_error) {
        char line[128];
        std::snprintf(line, sizeof line, "The table could not be saved: %s",
                      std::strerror(write_error));
        draw_centred(onto, line, cx, y, highlight_colour());
        y += LINE_HEIGHT;
    }
    draw_centred(onto, "Press a key", cx, y, white());
}

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

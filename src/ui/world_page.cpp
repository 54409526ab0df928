// Drawing the world board's question and its page; called every pass while
// either shows (shell/flow/world_screens.cpp).
#include "world_page.h"

#include "pictures.h"
#include "present.h"

#include <cstdio>

namespace {

constexpr int TITLE_TOP = 40;
constexpr int TEXT_DROP = 4;
constexpr int FOOT_FROM_BOTTOM = 52;

constexpr int CHOICES_TOP = 200;
constexpr int CHOICE_HEIGHT = 24;
constexpr int CHOICE_LEFT = 220;
constexpr int CHOICE_RIGHT = 420;
const char *const CHOICES[2] = {"Send my games", "Don't send"};

constexpr int COLUMNS_TOP = 80;
constexpr int ROWS_TOP = 100;
constexpr int ROW_HEIGHT = 15;
constexpr int COLUMN_LEFT[WORLD_BOARDS] = {24, 336};
constexpr int COLUMN_WIDTH = 280;
const char *const BOARD_TITLES[WORLD_BOARDS] = {"All time", "Today's daily challenge"};

int white() {
    return makecol(255, 255, 255);
}

int gold() {
    return makecol(255, 214, 64);
}

// A lit row in the menu buttons' lit grey, its text black; the colour to
// write it in.
int light_row(BITMAP *onto, int left, int top, int right, int height, bool lit, int colour) {
    if (!lit)
        return colour;
    rectfill(onto, left, top, right, top + height - 2, makecol(227, 227, 227));
    return makecol(0, 0, 0);
}

void draw_pointer(BITMAP *onto) {
    if (bmouse)
        draw_sprite(onto, bmouse, field_pointer_x(), field_pointer_y());
}

} // namespace

void draw_send_question(BITMAP *onto, const std::string &board, int lit) {
    clear_to_color(onto, makecol(0, 0, 0));
    const int middle = onto->w / 2;
    textout_centre_ex(onto, font, "The world board", middle, TITLE_TOP, gold(), -1);
    textout_centre_ex(onto, font, "Send your finished games to the world board", middle, 100,
                      white(), -1);
    textout_centre_ex(onto, font, board.c_str(), middle, 116, white(), -1);
    textout_centre_ex(onto, font, "to be played again there and ranked by their scores?", middle,
                      132, white(), -1);
    textout_centre_ex(onto, font, "Your name in the high-score table goes with them.", middle, 156,
                      white(), -1);
    for (int i = 0; i < 2; i++) {
        const int top = CHOICES_TOP + i * CHOICE_HEIGHT;
        const int colour =
            light_row(onto, CHOICE_LEFT, top, CHOICE_RIGHT, CHOICE_HEIGHT, i == lit, white());
        textout_centre_ex(onto, font, CHOICES[i], middle, top + 7, colour, -1);
    }
    textout_centre_ex(onto, font, "Y or N, or the arrows and Enter", middle,
                      onto->h - FOOT_FROM_BOTTOM, white(), -1);
    draw_pointer(onto);
}

int send_choice_at(int x, int y) {
    if (x < CHOICE_LEFT || x > CHOICE_RIGHT || y < CHOICES_TOP)
        return -1;
    const int choice = (y - CHOICES_TOP) / CHOICE_HEIGHT;
    return choice < 2 ? choice : -1;
}

void draw_world_page(BITMAP *onto, const WORLD_PAGE &page) {
    clear_to_color(onto, makecol(0, 0, 0));
    textout_centre_ex(onto, font, "The world board", onto->w / 2, TITLE_TOP, gold(), -1);
    for (int b = 0; b < WORLD_BOARDS; b++) {
        const int left = COLUMN_LEFT[b];
        textout_ex(onto, font, BOARD_TITLES[b], left, COLUMNS_TOP, gold(), -1);
        const std::vector<WORLD_ENTRY> &entries = page.boards[b];
        if (entries.empty())
            textout_ex(onto, font, "No games yet", left, ROWS_TOP + TEXT_DROP, white(), -1);
        for (int i = 0; i < static_cast<int>(entries.size()) && i < WORLD_ROWS; i++) {
            const WORLD_ENTRY &e = entries[i];
            const int top = ROWS_TOP + i * ROW_HEIGHT;
            const bool own = e.id == page.own_id && page.own_id != 0;
            const bool lit = b == page.lit_board && i == page.lit_row;
            const int colour = light_row(onto, left - 4, top, left + COLUMN_WIDTH, ROW_HEIGHT, lit,
                                         own ? gold() : white());
            char row[64];
            std::snprintf(row, sizeof row, "%c%3d %-16s %7ld L%ld", own ? '>' : ' ', e.place,
                          e.name.c_str(), static_cast<long>(e.score), static_cast<long>(e.level));
            textout_ex(onto, font, row, left, top + TEXT_DROP, colour, -1);
        }
    }
    textout_centre_ex(onto, font, page.status.c_str(), onto->w / 2, 280, white(), -1);
    textout_centre_ex(onto, font, "The arrows choose, Enter watches the game, Esc goes on",
                      onto->w / 2, onto->h - FOOT_FROM_BOTTOM, white(), -1);
    draw_pointer(onto);
}

bool world_row_at(const WORLD_PAGE &page, int x, int y, int &board, int &row) {
    for (int b = 0; b < WORLD_BOARDS; b++) {
        const int r = (y - ROWS_TOP) / ROW_HEIGHT;
        if (x >= COLUMN_LEFT[b] - 4 && x <= COLUMN_LEFT[b] + COLUMN_WIDTH && y >= ROWS_TOP &&
            r < static_cast<int>(page.boards[b].size()) && r < WORLD_ROWS) {
            board = b;
            row = r;
            return true;
        }
    }
    return false;
}

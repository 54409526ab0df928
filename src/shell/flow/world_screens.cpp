// The question and the World page, a step each pass while they show. Keys,
// the pointer, taps and the gamepad all work them, as in the menu.
#include "world_screens.h"

#include "endings.h"
#include "../input/gamepad.h"
#include "../input/input.h"
#include "../files/options.h"
#include "../output/display.h"
#include "../world/world_board.h"
#include "../../ui/frame.h"
#include "../../ui/present.h"
#include "../../ui/world_page.h"

#include <allegro.h>

namespace {

constexpr double STEP_MS = 40;

enum { SEND = 0, DONT_SEND = 1 };
int lit_choice = SEND;

// A key from the queue as one of these, or NONE.
enum { NONE, UP, DOWN, LEFT, RIGHT, CHOOSE, LEAVE, YES, NO, OTHER };

int next_key() {
    poll_gamepad();
    if (pad.pressed_button)
        return CHOOSE;
    if (pad.pressed_start)
        return LEAVE;
    if (pad.pressed_up)
        return UP;
    if (pad.pressed_down)
        return DOWN;
    if (pad.pressed_left)
        return LEFT;
    if (pad.pressed_right)
        return RIGHT;
    if (!keypressed())
        return NONE;
    const int k = readkey();
    switch (k >> 8) {
    case KEY_UP:
        return UP;
    case KEY_DOWN:
        return DOWN;
    case KEY_LEFT:
        return LEFT;
    case KEY_RIGHT:
        return RIGHT;
    case KEY_ENTER:
    case KEY_ENTER_PAD:
        return CHOOSE;
    case KEY_ESC:
        return LEAVE;
    case KEY_Y:
        return YES;
    case KEY_N:
        return NO;
    default:
        return OTHER;
    }
}

void answer(int choice) {
    options.send_games = choice == SEND ? 1 : 0;
    keep_options();
}

// The lit entry moved by the arrows, within its board's rows.
void move_light(int key) {
    if (world.lit_board < 0) {
        world.lit_board = world.boards[ALL_TIME_BOARD].empty() ? DAILY_BOARD : ALL_TIME_BOARD;
        world.lit_row = 0;
    } else if (key == LEFT || key == RIGHT) {
        world.lit_board = key == LEFT ? ALL_TIME_BOARD : DAILY_BOARD;
    } else {
        world.lit_row += key == UP ? -1 : 1;
    }
    const int rows = static_cast<int>(world.boards[world.lit_board].size());
    world.lit_row = rows == 0               ? -1
                    : world.lit_row < 0     ? 0
                    : world.lit_row >= rows ? rows - 1
                                            : world.lit_row;
    if (world.lit_row < 0)
        world.lit_board = -1;
}

void watch(int board, int row) {
    if (row >= static_cast<int>(world.boards[board].size()))
        return;
    const WORLD_ENTRY &e = world.boards[board][row];
    fetch_entry_replay(e.id, "World board: " + e.name + " " + std::to_string(e.score));
    world.status = "Fetching the game...";
}

// A game still on its way from the board is not played once it comes.
double leave_world_page() {
    forget_entry_replay();
    world.status.clear();
    return 0;
}

} // namespace

bool send_question_due() {
    return options.send_games < 0 && board_answers();
}

void begin_send_question() {
    lit_choice = SEND;
    clear_keybuf();
    forget_pad_presses();
    take_left_press();
}

double send_question_step() {
    // A board on the page's own site has no address worth showing.
    const bool own_site = options.board[0] == '.' || options.board[0] == '/';
    draw_send_question(buffer, own_site ? "of this game's site" : options.board, lit_choice);
    show_to_screen();
    // A session ending asks nothing and leaves the question for next time.
    if (ending_requested())
        return 0;
    if (take_left_press()) {
        const int choice = send_choice_at(field_pointer_x(), field_pointer_y());
        if (choice >= 0) {
            answer(choice);
            return 0;
        }
    }
    for (int key = next_key(); key != NONE; key = next_key()) {
        if (key == UP || key == DOWN || key == LEFT || key == RIGHT)
            lit_choice = 1 - lit_choice;
        if (key == CHOOSE || key == YES || key == NO || key == LEAVE) {
            answer(key == YES ? SEND : key == CHOOSE ? lit_choice : DONT_SEND);
            return 0;
        }
    }
    return STEP_MS;
}

bool world_page_due() {
    return options.send_games == 1 && options.board[0] != '\0';
}

void begin_world_page() {
    world.lit_board = world.lit_row = -1;
    fetch_world_pages();
    clear_keybuf();
    forget_pad_presses();
    take_left_press();
}

double world_page_step() {
    // The attract mode plays it as the menu comes back.
    if (entry_replay_came()) {
        world.status.clear();
        return 0;
    }
    draw_world_page(buffer, world);
    show_to_screen();
    if (ending_requested())
        return leave_world_page();
    if (take_left_press()) {
        int board, row;
        if (!world_row_at(world, field_pointer_x(), field_pointer_y(), board, row))
            return leave_world_page();
        world.lit_board = board;
        world.lit_row = row;
        watch(board, row);
    }
    for (int key = next_key(); key != NONE; key = next_key()) {
        if (key == UP || key == DOWN || key == LEFT || key == RIGHT)
            move_light(key);
        else if (key == CHOOSE && world.lit_board >= 0)
            watch(world.lit_board, world.lit_row);
        else
            return leave_world_page();
    }
    return STEP_MS;
}

// The soak: the complete pass of the main loop, driven headless for hundreds
// of thousands of passes by seeded random keys and menu clicks, through many
// levels, game overs, saves and loads. After every pass the records must be
// sound; after a warm-up the process must not grow.
//
// Usage: soak [passes [seed [width height]]]
// (default 200000 passes, seed 1, the default 640 x 480 window). Most of a
// pass is drawing the background, so a smaller window makes a faster soak.
#include "game_harness.h"

#include "shell/files/save_file.h"
#include "core/game_state.h"
#include "core/random.h"
#include "shell/flow/main_loop.h"
#include "shell/flow/waits.h"
#include "ui/menu.h"

#include <allegro.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr long DEFAULT_PASSES = 200000;
constexpr long RSS_SLACK_KB = 1024; // page-ins of code and data seen late
constexpr long HEAP_SLACK_BYTES = 64 * 1024;

// The menu buttons, and the middles where the driver clicks them.
enum class Menu { NONE, START, CONTINUE, END };
struct Point {
    int x, y;
};
Point middle(Menu button) {
    switch (button) {
    case Menu::START:
        return {320, 212};
    case Menu::CONTINUE:
        return {320, 182};
    default:
        return {320, 242};
    }
}

struct Tally {
    long passes = 0;
    long levels_cleared = 0;
    long highest_level = 0;
    long game_overs = 0;
    long starts = 0;
    long saves = 0;
    long loads = 0;
};

// What the invariants across passes compare with.
struct Snapshot {
    bool game = false;
    int32_t level = 0, score = 0, apples = 0, timer = 0, pause = 0;
};

Snapshot snapshot() {
    return {unit.fruitmax != 0, unit.level, unit.score, unit.apples, unit.timer, unit.pause};
}

bool is_new_game() {
    return unit.level == 1 && unit.score == 0 && unit.apples == 0;
}

long resident_kb() {
    long pages = 0, resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long heap_in_use() {
    return static_cast<long>(mallinfo2().uordblks);
}

// Plays like an impatient player: mostly heads for the nearest fruit, now and
// then wanders at random, rarely pauses, opens the menu or changes the speed
// or the lives, and clicks its way out of the menu.
class Driver {
  public:
    explicit Driver(unsigned seed) : rng(seed) {}

    // Sets key[] and the mouse for the coming pass.
    void choose_input() {
        for (int k : {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ESC, KEY_ENTER, KEY_MINUS,
                      KEY_EQUALS, KEY_HOME, KEY_END})
            key[k] = 0;
        released = Menu::NONE;
        if (pressed != Menu::NONE || pressed_hidden) {
            mouse_b = 0; // completes the click where the press was
            released = pressed;
            pressed = Menu::NONE;
            pressed_hidden = false;
            return;
        }
        if (showmouse) {
            click(pick_button());
            return;
        }
        if (unit.pause) { // paused with Enter
            key[KEY_ENTER] = chance(20);
            return;
        }
        key[KEY_ESC] = chance(8000);
        key[KEY_ENTER] = chance(4000);
        key[KEY_MINUS] = chance(30000);
        key[KEY_EQUALS] = chance(30000);
        // In some games the player buys a life whenever down to the last, so
        // those games reach the high levels where the fruit table fills up.
        if (unit.level == 1 && unit.timer <= 1)
            buying_lives = chance(2);
        key[KEY_HOME] = chance(20000) || (buying_lives && player.live == 1);
        key[KEY_END] = chance(20000);
        if (chance(2000)) { // presses on the hidden buttons must do nothing
            mouse_x = between(0, SW - 1);
            mouse_y = between(0, SH - 1);
            mouse_b = 1;
            pressed_hidden = true;
        }
        steer();
    }

    bool pressed_end_key() const { return key[KEY_END] != 0; }

    // The menu button a click ends on in the coming pass.
    Menu released_button() const { return released; }

  private:
    bool chance(int one_in) { return between(1, one_in) == 1; }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    Menu pick_button() {
        const int roll = between(1, 100);
        if (roll <= 8)
            return Menu::END;
        return roll <= 85 ? Menu::CONTINUE : Menu::START;
    }

    void click(Menu button) {
        mouse_x = middle(button).x;
        mouse_y = middle(button).y;
        mouse_b = 1;
        pressed = button;
    }

    void steer() {
        if (--phase_left <= 0) {
            seeking = between(1, 10) <= 8;
            phase_left = between(50, 500);
        }
        if (seeking) {
            press(towards_nearest_fruit());
            return;
        }
        if (--hold_left <= 0) {
            wander = between(0, 4); // 4: let go of the arrows
            hold_left = between(1, 30);
        }
        press(wander);
    }

    // 0 left, 1 right, 2 up, 3 down, anything else no arrow.
    static void press(int arrow) {
        key[KEY_LEFT] = arrow == 0;
        key[KEY_RIGHT] = arrow == 1;
        key[KEY_UP] = arrow == 2;
        key[KEY_DOWN] = arrow == 3;
    }

    static int towards_nearest_fruit() {
        int best = -1;
        long best_distance = 0;
        for (int i = 0; i < unit.fruitmax && i < FRUIT_TABLE_SIZE; i++) {
            if (!fruit[i].live)
                continue;
            const long d = std::labs(static_cast<long>(fruit[i].pos.x) - player.pos.x) +
                           std::labs(static_cast<long>(fruit[i].pos.y) - player.pos.y);
            if (best < 0 || d < best_distance) {
                best = i;
                best_distance = d;
            }
        }
        if (best < 0)
            return 4;
        const long dx = static_cast<long>(fruit[best].pos.x) - player.pos.x;
        const long dy = static_cast<long>(fruit[best].pos.y) - player.pos.y;
        if (std::labs(dx) >= std::labs(dy))
            return dx < 0 ? 0 : 1;
        return dy < 0 ? 2 : 3;
    }

    std::mt19937 rng;
    Menu pressed = Menu::NONE;
    Menu released = Menu::NONE;
    bool pressed_hidden = false;
    bool buying_lives = false;
    bool seeking = true;
    int phase_left = 0;
    int wander = 4;
    int hold_left = 0;
};

std::string check_pass(const Snapshot &last_game, bool rules_ran, bool end_key) {
    const std::string broken = broken_invariant();
    if (!broken.empty())
        return broken;
    if (unit.fruitmax == 0)
        return {};
    if (last_game.game && !is_new_game()) {
        if (unit.score < last_game.score)
            return "the score fell from " + std::to_string(last_game.score);
        if (unit.apples < last_game.apples)
            return "the collected count fell from " + std::to_string(last_game.apples);
        if (unit.level < last_game.level || unit.level > last_game.level + 1)
            return "the level went from " + std::to_string(last_game.level);
    }
    if (rules_ran && !end_key && player.live < 1)
        return "a game with no lives left went on";
    return {};
}

// Where two games' file images first differ, or an empty string.
std::string first_difference(const SavedGame &a, const SavedGame &b) {
    unsigned char image_a[SAVE_FILE_SIZE], image_b[SAVE_FILE_SIZE];
    encode_save(a, image_a);
    encode_save(b, image_b);
    for (size_t i = 0; i < SAVE_FILE_SIZE; i++)
        if (image_a[i] != image_b[i])
            return "byte " + std::to_string(i) + " of the save is " + std::to_string(image_a[i]) +
                   ", not " + std::to_string(image_b[i]);
    return {};
}

} // namespace

int main(int argc, char **argv) {
    const long passes = argc > 1 ? std::atol(argv[1]) : DEFAULT_PASSES;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u;
    if (argc > 4) {
        SW = std::atoi(argv[3]);
        SH = std::atoi(argv[4]);
    }
    if (passes < 1 || SW < 400 || SH < 300) {
        std::fprintf(stderr, "usage: soak [passes [seed [width height]]], at least 400 x 300\n");
        return 2;
    }

    start_library();
    leap_through_waits();
    use_screen(SW, SH, 32);
    const std::string work_dir = make_temp_dir();
    const int data_files = load_assets_in(work_dir);
    if (chdir(work_dir.c_str()) != 0)
        fail("can't change to " + work_dir);
    next_game_seed = static_cast<uint32_t>(seed);
    DELAY = 0;
    show_menu(true); // as start-up leaves it
    follow_menu();

    Driver driver(seed);
    Tally tally;
    Snapshot last_game;
    SavedGame saved; // what "save.dat" holds
    bool save_exists = false;
    const long warm_up = passes / 10;
    long rss_after_warm_up = 0, heap_after_warm_up = 0;
    const auto started = std::chrono::steady_clock::now();

    for (long pass = 0; pass < passes; pass++) {
        driver.choose_input();
        const Snapshot before = snapshot();
        // The screens between levels pass at once on the leaping clock.
        delay(run_pass());
        while (!in_play())
            delay(run_pass());
        tally.passes++;

        const bool rules_ran = before.game && before.pause == 0;
        const std::string broken = check_pass(last_game, rules_ran, driver.pressed_end_key());
        if (!broken.empty())
            fail("pass " + std::to_string(pass) + ": " + broken);

        if (driver.released_button() == Menu::CONTINUE && !before.game) {
            // Continue as the first thing in a run takes up the saved game.
            if (save_exists) {
                // The player has already taken the pass's step.
                SavedGame expected = saved;
                expected.unit.end = 0;
                expected.unit.pause = 0;
                const int32_t step = saved.player.speed2;
                if (std::abs(player.pos.x - saved.player.pos.x) > step ||
                    std::abs(player.pos.y - saved.player.pos.y) > step ||
                    std::abs(player.speed2 - step) > 1)
                    fail("pass " + std::to_string(pass) + ": the loaded player leapt");
                expected.player.pos = player.pos;
                expected.player.speed2 = player.speed2;
                const std::string differs = first_difference(records_now(), expected);
                if (!differs.empty())
                    fail("pass " + std::to_string(pass) +
                         ": Continue loaded another game: " + differs);
                tally.loads++;
            } else if (!is_new_game()) {
                fail("pass " + std::to_string(pass) + ": Continue without a save file");
            }
        }
        if (unit.fruitmax != 0) {
            if (rules_ran && before.timer != 0 && unit.timer == 1 && is_new_game())
                tally.game_overs++;
            else if (driver.released_button() == Menu::START)
                tally.starts++;
            else if (last_game.game && unit.level == last_game.level + 1)
                tally.levels_cleared++;
            if (unit.level > tally.highest_level)
                tally.highest_level = unit.level;
            last_game = snapshot();
        }

        if (unit.end) {
            // Shutdown saves a game if there is one; the next run starts with
            // no game and the menu.
            if (unit.fruitmax != 0) {
                game_save();
                saved = records_now();
                save_exists = true;
                tally.saves++;
            }
            reset_records();
            show_menu(true);
            follow_menu();
        }

        if (pass == warm_up) {
            rss_after_warm_up = resident_kb();
            heap_after_warm_up = heap_in_use();
        }
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long rss_growth = resident_kb() - rss_after_warm_up;
    const long heap_growth = heap_in_use() - heap_after_warm_up;
    std::printf("soak: %ld passes in %.1f s (seed %u, %d x %d, %d data files)\n", tally.passes,
                seconds, seed, SW, SH, data_files);
    std::printf("soak: %ld levels cleared, highest level %ld, %ld game overs, %ld new games from "
                "Start, %ld saves, %ld loads\n",
                tally.levels_cleared, tally.highest_level, tally.game_overs, tally.starts,
                tally.saves, tally.loads);
    std::printf("soak: after the warm-up the process grew by %ld kB, the heap by %ld bytes\n",
                rss_growth, heap_growth);
    if (rss_growth > RSS_SLACK_KB || heap_growth > HEAP_SLACK_BYTES)
        fail("memory grew while the game ran");
    if (tally.levels_cleared == 0 || tally.game_overs == 0)
        fail("the soak never cleared a level or lost a game: the driver does not play");
    return 0;
}

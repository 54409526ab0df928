// The level-cleared and game-over screens, watched as the player sees them.
// Each frame presented is caught when the sparkle wait after it draws its
// first dot, before that dot lands; the key waits are answered through the
// library's keyboard hooks. The passes run in real time, waits and all.
#include "../headless.h"

#include "core/game_state.h"
#include "core/level_setup.h"
#include "shell/output/assets.h"
#include "shell/flow/main_loop.h"
#include "shell/flow/waits.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using V = std::vector<int32_t>;
using Bitmap = std::unique_ptr<BITMAP, decltype(&destroy_bitmap)>;

struct Frame {
    double at; // clock_ms() when it was caught
    BITMAP *frame;
};
struct KeyRead {
    double at;
    size_t frames; // presented before it
};
std::vector<Frame> frames;
std::vector<KeyRead> key_waits;

// The player presses a key once the game has asked twice about keys over the
// same frame: emptying the key buffer asks once, a wait for a key keeps asking.
int questions = 0;
bool pressed = false;

GFX_VTABLE watching; // the screen's own drawing, but for its dots
void (*draw_dot)(BITMAP *, int, int, int);
int mark;

// Every presentation copies a whole frame over the mark in the corner, so a
// dot that finds the mark gone is the first after a new frame.
void watch_dot(BITMAP *bmp, int x, int y, int colour) {
    const int mx = bmp->w - 1, my = bmp->h - 1;
    // More frames than any of these screens shows means the game went wrong;
    // they are not kept, so that it cannot fill the memory.
    if (getpixel(bmp, mx, my) != mark && frames.size() < 8) {
        const double at = clock_ms();
        BITMAP *copy = create_bitmap(bmp->w, bmp->h);
        blit(bmp, copy, 0, 0, 0, 0, bmp->w, bmp->h);
        frames.push_back({at, copy});
        questions = 0;
        draw_dot(bmp, mx, my, mark);
    }
    if (x != mx || y != my)
        draw_dot(bmp, x, y, colour);
}

int key_ready() {
    if (++questions >= 2)
        pressed = true;
    return pressed;
}
int key_read() {
    key_waits.push_back({clock_ms(), frames.size()});
    pressed = false;
    questions = 0;
    return 'x';
}

constexpr int CX = 320, CY = 240; // the middle of the default field
constexpr double SLACK = 50; // ms a busy machine may put between a presentation and its first dot
const char *const GREAT = "Great!  Go on!";

// What a presented frame holds: the cleared field, the screen's own drawing,
// and the status line over both.
Bitmap expected(V status, const std::function<void(BITMAP *)> &draw) {
    Bitmap b(create_bitmap(SCREEN_W, SCREEN_H), destroy_bitmap);
    clear_to_color(b.get(), makecol(0, 128, 0));
    draw(b.get());
    char line[128];
    std::snprintf(line, sizeof line,
                  "Game Level: %d     Score: %d     Apples: %d      Player Lives: %d", status[0],
                  status[1], status[2], status[3]);
    textout_ex(b.get(), font, line, 10, 10, makecol(255, 255, 255), -1);
    return b;
}

void text(BITMAP *b, const char *line, int y) {
    textout_centre_ex(b, font, line, CX, y, makecol(255, 255, 255), -1);
}

Bitmap text_frame(V status, const char *line) {
    return expected(status, [&](BITMAP *b) { text(b, line, CY); });
}

// Pixels that differ between the two within rows from .. to - 1.
int differences(BITMAP *a, const Bitmap &b, int from = 0, int to = 1 << 30) {
    int count = 0;
    for (int y = std::max(from, 0); y < std::min(to, a->h); y++)
        for (int x = 0; x < a->w; x++)
            count += getpixel(a, x, y) != getpixel(b.get(), x, y);
    return count;
}

// The column at which a line centred on CX and beginning with start begins,
// or -1. What follows start is the game's own (a contact address).
int centred_line_beginning(BITMAP *frame, const char *start, int y) {
    const int w = text_length(font, start), h = text_height(font);
    const int green = makecol(0, 128, 0);
    Bitmap probe(create_bitmap(w, h), destroy_bitmap);
    clear_to_color(probe.get(), green);
    textout_ex(probe.get(), font, start, 0, 0, makecol(255, 255, 255), -1);
    for (int x0 = 0; x0 < CX - w / 2; x0++) {
        bool same = true;
        for (int row = 0; row < h && same; row++)
            for (int col = 0; col < w && same; col++)
                same = getpixel(frame, x0 + col, y + row) == getpixel(probe.get(), col, row);
        if (!same)
            continue;
        int outside = 0, rest = 0; // drawn pixels beyond the line, and after start
        for (int row = 0; row < h; row++)
            for (int x = 0; x < frame->w; x++) {
                const bool drawn = getpixel(frame, x, y + row) != green;
                outside += drawn && (x < x0 || x >= 2 * CX - x0);
                rest += drawn && x >= x0 + w && x < 2 * CX - x0;
            }
        return outside == 0 && rest > 0 ? x0 : -1;
    }
    return -1;
}

// A pass of the main loop, and the passes after it while its screens show,
// each followed by its wait.
void play_through_screens() {
    double wait = run_pass();
    while (!in_play()) {
        delay(wait);
        wait = run_pass();
    }
}

class Screens : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        game_initdata();
        mark = makecol(1, 2, 3);
        putpixel(screen, screen->w - 1, screen->h - 1, mark);
        plain = screen->vtable;
        watching = *plain;
        draw_dot = plain->putpixel;
        watching.putpixel = watch_dot;
        screen->vtable = &watching;
        questions = 0;
        pressed = false;
        install_keyboard_hooks(key_ready, key_read);
    }

    void TearDown() override {
        install_keyboard_hooks(nullptr, nullptr);
        screen->vtable = plain;
        for (const Frame &f : frames)
            destroy_bitmap(f.frame);
        frames.clear();
        key_waits.clear();
        blost = nullptr;
        if (picture)
            destroy_bitmap(picture);
        Headless::TearDown();
    }

    void clear_every_fruit() {
        for (int i = 0; i < unit.fruitmax; i++)
            fruit[i].live = 0;
    }

    GFX_VTABLE *plain = nullptr;
    BITMAP *picture = nullptr;
};

TEST_F(Screens, AfterLevelNineTheNextNumberFollowsWithoutAKey) {
    unit.level = 9;
    unit.score = 8000;
    unit.apples = 77;
    player.live = 2;
    clear_every_fruit();
    play_through_screens();
    const double end = clock_ms();

    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(differences(frames[0].frame, text_frame({9, 8000, 77, 2}, GREAT)), 0);
    EXPECT_EQ(differences(frames[1].frame, text_frame({9, 8000, 77, 2}, "Level 10")), 0);
    EXPECT_GE(frames[1].at - frames[0].at, 1500 - SLACK);
    EXPECT_GE(end - frames[1].at, 2000 - SLACK);
    EXPECT_TRUE(key_waits.empty());
    EXPECT_EQ(unit.level, 10);
    EXPECT_EQ(unit.fruitmax, 14);
    // The extra life still comes in the pass that cleared the level.
    EXPECT_EQ(V({player.live, player.maxjy}), V({3, 28000}));
}

TEST_F(Screens, AfterLevelTenAMessageWaitsForAKey) {
    unit.level = 10;
    unit.score = 150;
    unit.apples = 3;
    clear_every_fruit();
    play_through_screens();
    const double end = clock_ms();

    ASSERT_EQ(frames.size(), 4u);
    const V status = {10, 150, 3, 3};
    EXPECT_EQ(differences(frames[0].frame, text_frame(status, GREAT)), 0);
    EXPECT_EQ(differences(frames[1].frame, text_frame(status, GREAT)), 0);
    const Bitmap message = expected(status, [](BITMAP *b) {
        text(b, "You will get a nice present if you do that!", CY + 16);
        text(b, "Maybe it is a new game that you would like very much!", CY + 32);
    });
    EXPECT_EQ(differences(frames[2].frame, message, 0, CY), 0);
    EXPECT_EQ(differences(frames[2].frame, message, CY + 8), 0);
    EXPECT_GE(centred_line_beginning(frames[2].frame, "Please send your file \"save.dat\" to ", CY),
              0);
    EXPECT_EQ(differences(frames[3].frame, text_frame(status, "Level 11")), 0);

    ASSERT_EQ(key_waits.size(), 1u);
    EXPECT_EQ(key_waits[0].frames, 3u);
    EXPECT_GE(frames[1].at - frames[0].at, 1500 - SLACK);
    EXPECT_GE(frames[2].at - frames[1].at, 1500 - SLACK);
    EXPECT_GE(key_waits[0].at - frames[2].at, 500 - SLACK);
    EXPECT_GE(end - frames[3].at, 2000 - SLACK);
    EXPECT_EQ(unit.level, 11);
}

TEST_F(Screens, LevelClearedAndLastLifeLostInOnePassEndInANewGame) {
    // An odd-sized picture with a transparent stripe, so that both the
    // centring and the masking show.
    picture = create_bitmap(101, 61);
    clear_to_color(picture, makecol(200, 40, 40));
    rectfill(picture, 0, 20, 100, 30, makecol(255, 0, 255));
    blost = picture;
    unit.level = 3;
    unit.score = 7990;
    unit.apples = 40;
    player.live = 1;
    clear_every_fruit();
    fruit[5] = {player.pos, 10, 1, -1};
    fire[2] = {FW_RIGHT, 5, -1, player.pos};

    play_through_screens();

    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(differences(frames[0].frame, text_frame({3, 8000, 41, 0}, GREAT)), 0);
    EXPECT_EQ(differences(frames[1].frame, text_frame({3, 8000, 41, 0}, "Level 4")), 0);
    const Bitmap lost =
        expected({4, 8000, 41, 0}, [&](BITMAP *b) { draw_sprite(b, picture, CX - 50, CY - 30); });
    EXPECT_EQ(differences(frames[2].frame, lost), 0);
    ASSERT_EQ(key_waits.size(), 1u);
    EXPECT_EQ(key_waits[0].frames, 3u);
    EXPECT_GE(key_waits[0].at - frames[2].at, 2000 - SLACK);
    // A new game, and its score of 0 earns no life.
    EXPECT_EQ(V({unit.level, unit.score, unit.apples, unit.fruitmax, player.live, player.maxjy}),
              V({1, 0, 0, 12, 3, 8000}));
}

} // namespace

// Frame composition: what put_bmp draws and in which order, the status line
// and presentation of show_to_screen, and the animation pace of flash.
#include "scratch.h"

#include "core/game_state.h"
#include "ui/frame.h"
#include "ui/menu.h"

#include <climits>
#include <string>

namespace {

const struct Art {
    Sprite *sprite;
    const char *file;
    int count;
} ART[] = {{&sgreen, "green", 2}, {&sblue, "blue", 2},     {&syellow, "yellow", 2},
           {&sred, "red", 2},     {&splayer, "player", 4}, {&sfire, "fire", 3},
           {&strain, "train", 3}, {&sback, "back", 3}};

// Every frame of every sprite in its own colour.
Rgb colour_of(const Sprite &s, int frame = 0) {
    int k = 0;
    while (ART[k].sprite != &s)
        k++;
    return {20 + 25 * k, 10 + 40 * frame, 200};
}

const Rgb FIELD{0, 128, 0};
const Rgb GREY{192, 192, 192};
const Rgb POINTER{250, 250, 10};

class FrameTest : public Headless {
  protected:
    // The game's own assets and buttons, with every sprite and the pointer
    // then replaced by pictures of one colour each.
    void SetUp() override {
        Headless::SetUp();
        load_assets();
        for (const Art &a : ART) {
            const bool back = a.sprite == &sback; // 100 x 100 of a nominal 640 x 480
            for (int f = 0; f < a.count; f++)
                write_picture(a.file + std::to_string(f) + ".dat", back ? 100 : 32, back ? 100 : 32,
                              colour_of(*a.sprite, f));
            a.sprite->Create(a.file, a.count, back ? 640 : 32, back ? 480 : 32);
        }
        destroy_bitmap(bmouse);
        bmouse = create_bitmap(8, 8);
        clear_to_color(bmouse, makecol(POINTER.r, POINTER.g, POINTER.b));
        player.pos = {600, 450}; // out of the way unless a test places them
        for (_TRAIN &t : train)
            t.pos = {600, 450};
    }
    ScratchDir dir;
};

TEST_F(FrameTest, FruitIsDrawnByKindAndOnlyWithinFruitmax) {
    const struct {
        int kind, live;
        const Sprite *sprite; // null: nothing drawn
    } cases[] = {
        {3, -1, &sred},   {1, -1, &sgreen}, {2, -1, &syellow}, {4, -1, &sblue},
        {0, -1, nullptr}, {5, -1, nullptr}, {3, 0, nullptr},   {2, 7, &syellow},
        {3, -1, nullptr}, {1, -1, nullptr}, // at and beyond fruitmax
    };
    unit.fruitmax = 8;
    for (int i = 0; i < 10; i++)
        fruit[i] = {{150 + 45 * i, 350}, 50, cases[i].kind, cases[i].live};
    put_bmp();
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(pixel_rgb(buffer, 150 + 45 * i, 350),
                  cases[i].sprite ? colour_of(*cases[i].sprite) : FIELD)
            << "fruit " << i;
}

TEST_F(FrameTest, LaysTheItemsOverEachOtherInOrder) {
    unit.fruitmax = 1;
    fruit[0] = {{200, 400}, 10, 1, -1};
    player.pos = {216, 400};
    train[2].pos = {232, 400};
    train[0].pos = {300, 350};
    fire[0] = {1, 5, -1, {310, 350}};
    train[1].pos = {320, 350};
    fire[1] = {1, 5, 0, {400, 350}};
    train[3].pos = {300, 212};
    fire[3] = {1, 5, -1, {500, 350}};
    mouse_x = 500;
    mouse_y = 100;
    const struct {
        int x, y;
        Rgb colour;
    } pixels[] = {
        {50, 50, colour_of(sback)},
        {150, 50, FIELD},
        {190, 400, colour_of(sgreen)},
        {205, 400, colour_of(splayer)},
        {220, 400, colour_of(strain)},
        {290, 350, colour_of(strain)},
        {300, 350, colour_of(sfire)},
        {315, 350, colour_of(strain)}, // train 1 over shot 0
        {400, 350, FIELD},
        {500, 350, colour_of(sfire)},
        {285, 203, GREY},
        {500, 100, FIELD}, // no pointer without the menu
    };
    put_bmp();
    for (const auto &p : pixels)
        EXPECT_EQ(pixel_rgb(buffer, p.x, p.y), p.colour) << p.x << "," << p.y;

    showmouse = true;
    for (const POS at : {POS{290, 205}, POS{500, 100}}) {
        mouse_x = at.x;
        mouse_y = at.y;
        put_bmp();
        EXPECT_EQ(pixel_rgb(buffer, at.x, at.y), POINTER);
        EXPECT_EQ(pixel_rgb(buffer, at.x + 7, at.y + 7), POINTER);
        EXPECT_NE(pixel_rgb(buffer, at.x - 1, at.y), POINTER);
        EXPECT_NE(pixel_rgb(buffer, at.x, at.y - 1), POINTER);
    }
}

TEST_F(FrameTest, PresentsTheFrameWithTheStatusLineAndClearsIt) {
    const struct {
        int32_t level, score, apples, live;
        const char *line;
    } cases[] = {
        {0, 0, 0, 0, "Game Level: 0     Score: 0     Apples: 0      Player Lives: 0"},
        {7, 12345, 42, -3, "Game Level: 7     Score: 12345     Apples: 42      Player Lives: -3"},
        {INT32_MIN, INT32_MAX, INT32_MIN, -1,
         "Game Level: -2147483648     Score: 2147483647     Apples: -2147483648      "
         "Player Lives: -1"},
    };
    BITMAP *expected = create_bitmap(640, 480);
    for (const auto &c : cases) {
        unit.level = c.level;
        unit.score = c.score;
        unit.apples = c.apples;
        player.live = c.live;
        put_bmp();
        blit(buffer, expected, 0, 0, 0, 0, 640, 480);
        textout_ex(expected, font, c.line, 10, 10, makecol(255, 255, 255), -1);
        show_to_screen();
        int wrong = 0, green = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++) {
                wrong += pixel_rgb(screen, x, y) != pixel_rgb(expected, x, y);
                green += pixel_rgb(buffer, x, y) == FIELD;
            }
        EXPECT_EQ(wrong, 0) << c.line;
        EXPECT_EQ(green, 640 * 480);
    }
    destroy_bitmap(expected);
}

TEST_F(FrameTest, AnimatesOnPassesWhoseTimerIsAMultipleOfFive) {
    const Sprite *stepped[] = {&sgreen, &sblue, &syellow, &sred, &sfire, &strain};
    int frame[6] = {};
    // One flash; true if every stepped sprite advanced, false if none did.
    auto pass = [&]() {
        flash();
        int moved = 0;
        for (int k = 0; k < 6; k++) {
            moved += stepped[k]->Frame() != frame[k];
            frame[k] = stepped[k]->Frame();
        }
        EXPECT_TRUE(moved == 0 || moved == 6) << "timer " << unit.timer;
        EXPECT_EQ(sback.Frame(), 0);
        return moved == 6;
    };

    // Running: the timer goes up after every flash; player.fw changes late
    // in a pass.
    const struct {
        int player_frame, fw_after;
    } running[] = {{0, 0}, {0, 2}, {0, 2}, {0, 2}, {0, 2}, {2, 2},
                   {2, 3}, {2, 3}, {2, 3}, {2, 3}, {3, 3}, {3, 1}};
    for (int t = 0; t < 12; t++) {
        unit.timer = t;
        EXPECT_EQ(pass(), t % 5 == 0) << "timer " << t;
        EXPECT_EQ(splayer.Frame(), running[t].player_frame) << "timer " << t;
        player.fw = running[t].fw_after;
    }

    // Paused: the timer stands, at a multiple of five or not.
    unit.timer = 10;
    for (int p = 0; p < 3; p++)
        EXPECT_TRUE(pass());
    EXPECT_EQ(splayer.Frame(), 1);
    unit.timer = 7;
    player.fw = 2;
    for (int p = 0; p < 3; p++)
        EXPECT_FALSE(pass());
    EXPECT_EQ(splayer.Frame(), 1);

    // The buttons watch the mouse on every pass.
    mouse_x = 300;
    mouse_y = 210;
    for (int b : {1, 0}) {
        mouse_b = b;
        flash();
    }
    EXPECT_TRUE(bstart.Value());
}

} // namespace

// The fast frame against the plain one: whatever put_bmp and show_to_screen do
// to save time, the presented screen must hold exactly the pixels that the
// library's own calls, made in the game's drawing order, would put there.
#include "../headless.h"

#include "shell/output/assets.h"
#include "core/game_state.h"
#include "ui/frame.h"
#include "ui/menu.h"

#include <cstdio>
#include <cstring>

namespace {

struct Screen {
    int w, h, depth;
};

void centred(BITMAP *onto, const Sprite &s, const POS &p) {
    if (BITMAP *f = s.FrameBitmap(s.Frame()))
        draw_sprite(onto, f, p.x - 16, p.y - 16);
}

// The frame composed step by step with draw_sprite, the buttons' Draw,
// textout_ex and blit, then presented on `shown`.
void compose_plainly(BITMAP *frame, BITMAP *shown) {
    clear_to_color(frame, makecol(0, 128, 0));
    if (BITMAP *back = sback.FrameBitmap(sback.Frame()))
        draw_sprite(frame, back, 0, 0);
    const Sprite *kinds[] = {nullptr, &sgreen, &syellow, &sred, &sblue};
    for (int i = 0; i < unit.fruitmax; i++)
        if (fruit[i].live && fruit[i].level >= 1 && fruit[i].level <= 4)
            centred(frame, *kinds[fruit[i].level], fruit[i].pos);
    centred(frame, splayer, player.pos);
    for (int i = 0; i < TRAIN_COUNT; i++) {
        centred(frame, strain, train[i].pos);
        if (fire[i].live)
            centred(frame, sfire, fire[i].pos);
    }
    bstart.Draw(frame);
    bend.Draw(frame);
    bresume.Draw(frame);
    boptions.Draw(frame);
    bdaily.Draw(frame);
    if (showmouse)
        draw_sprite(frame, bmouse, mouse_x, mouse_y);
    char status[256];
    std::snprintf(status, sizeof status,
                  "Game Level: %d     Score: %ld     Apples: %ld      Player Lives: %d", unit.level,
                  static_cast<long>(unit.score), static_cast<long>(unit.apples), player.live);
    textout_ex(frame, font, status, 10, 10, makecol(255, 255, 255), -1);
    blit(frame, shown, 0, 0, 0, 0, frame->w, frame->h);
}

// Pixels that differ between two bitmaps of one size and depth.
long differing_pixels(BITMAP *a, BITMAP *b) {
    long wrong = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            wrong += getpixel(a, x, y) != getpixel(b, x, y);
    return wrong;
}

// Stripes left from earlier drawing over the whole bitmap, whatever its clip
// rectangle; a clear must cover them within it.
void scribble(BITMAP *b) {
    int x1, y1, x2, y2;
    get_clip_rect(b, &x1, &y1, &x2, &y2);
    set_clip_rect(b, 0, 0, b->w - 1, b->h - 1);
    clear_to_color(b, makecol(90, 90, 90));
    for (int y = 0; y < b->h; y += 8)
        rectfill(b, 0, y, b->w - 1, y + 3, makecol(y % 256, 40, 200));
    set_clip_rect(b, x1, y1, x2, y2);
}

class CompositionEquivalence : public Headless, public ::testing::WithParamInterface<Screen> {
  protected:
    void SetUp() override {
        Headless::SetUp();
        const Screen s = GetParam();
        use_screen(s.w, s.h, s.depth);
        load_assets();
        ASSERT_NE(sback.FrameBitmap(0), nullptr);
        ASSERT_NE(bmouse, nullptr);
        plain = create_bitmap(s.w, s.h);
        shown = create_bitmap(s.w, s.h);
        green = create_bitmap(s.w, s.h);
    }

    void TearDown() override {
        for (BITMAP *b : {plain, shown, green})
            destroy_bitmap(b);
        Headless::TearDown();
    }

    // A game on the field: every kind of fruit, some not drawn, some cut by
    // the edges; trains with and without shots in flight.
    void place_game() {
        const int w = GetParam().w, h = GetParam().h;
        show_menu(false);
        follow_menu();
        unit = {3, 4560, 12, 0, h, w, 0, 17, 9, "Tarvellion"};
        player = {2, 0, 3, 5, 8000, FW_LEFT, {w / 2, h / 2}};
        const POS spots[] = {{100, 100}, {112, 108}, {-5, 200},    {w + 3, h - 2}, {300, 20},
                             {400, 470}, {639, 479}, {w - 40, 60}, {50, h},        {250, 250},
                             {260, 255}, {500, 300}, {600, 30},    {70, 400}};
        const int kinds[] = {1, 2, 3, 4, 1, 0, 2, 3, 4, 5, 4, 3, 2, 1};
        for (int i = 0; i < 14; i++)
            fruit[i] = {spots[i], 10, kinds[i], i == 4 ? 0 : -1};
        for (int i = 0; i < TRAIN_COUNT; i++) {
            train[i] = {FW_RIGHT, {16 + 200 * i, i % 2 ? h - 16 : 16}, 1, 5};
            fire[i] = {FW_DOWN, 5, i == 2 ? 0 : -1, {30 + 150 * i, 100 + 90 * i}};
        }
        for (Sprite *s : {&sgreen, &syellow, &splayer, &sfire, &sback})
            s->AutoStep();
    }

    // Presents the frame the fast way and the plain way from the same
    // leftovers; the screens must match pixel for pixel, and the buffer must
    // be left green where it is cleared, for the screens between levels.
    void expect_same_frame(const char *state) {
        scribble(buffer);
        scribble(plain);
        show_to_screen();
        put_bmp();
        show_to_screen();
        compose_plainly(plain, shown);
        EXPECT_EQ(differing_pixels(screen, shown), 0) << state;

        // What clear_to_color would leave: green within the clip rectangle.
        blit(plain, green, 0, 0, 0, 0, plain->w, plain->h);
        set_clip_rect(green, plain->cl, plain->ct, plain->cr - 1, plain->cb - 1);
        clear_to_color(green, makecol(0, 128, 0));
        set_clip_rect(green, 0, 0, green->w - 1, green->h - 1);
        EXPECT_EQ(differing_pixels(buffer, green), 0) << state << ": buffer after presenting";
    }

    BITMAP *plain = nullptr, *shown = nullptr, *green = nullptr;
};

TEST_P(CompositionEquivalence, PresentsWhatThePlainDrawingOrderPresents) {
    // Start-up: no game, everything at the corner, the menu with the pointer
    // over a lit button.
    show_menu(true);
    follow_menu();
    mouse_x = 300;
    mouse_y = 205;
    expect_same_frame("menu before any game");

    place_game();
    expect_same_frame("game in progress");

    show_menu(true);

    follow_menu();
    mouse_x = GetParam().w - 3;
    mouse_y = GetParam().h - 3;
    expect_same_frame("menu over a game");
    show_menu(false);
    follow_menu();

    // Holes in the background, where the green beneath must show: single
    // pixels at both ends of a row, a run inside one, and a whole row.
    BITMAP *back = sback.FrameBitmap(sback.Frame());
    const int mask = bitmap_mask_color(back);
    putpixel(back, 0, 0, mask);
    putpixel(back, back->w - 1, 0, mask);
    hline(back, 200, 100, 260, mask);
    putpixel(back, 300, 100, mask);
    hline(back, 0, 150, back->w - 1, mask);
    putpixel(back, back->w - 1, back->h - 1, mask);
    expect_same_frame("background with holes");

    // Drawing confined to a clip rectangle leaves the rest of the buffer as
    // it was, on both sides.
    set_clip_rect(buffer, 33, 21, 601, 377);
    set_clip_rect(plain, 33, 21, 601, 377);
    expect_same_frame("clipped buffer");
}

INSTANTIATE_TEST_SUITE_P(Screens, CompositionEquivalence,
                         ::testing::Values(Screen{640, 480, 32}, Screen{640, 480, 8},
                                           Screen{800, 600, 32}, Screen{800, 600, 16},
                                           Screen{1920, 1080, 32}, Screen{1920, 1080, 8},
                                           Screen{640, 480, 24}),
                         [](const ::testing::TestParamInfo<Screen> &info) {
                             return std::to_string(info.param.w) + "x" +
                                    std::to_string(info.param.h) + "x" +
                                    std::to_string(info.param.depth);
                         });

} // namespace

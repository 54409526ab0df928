// The field on the screen at a scale: the integer scaler against a plain
// reference at every colour depth and scale, the view chosen for a screen,
// the pointer mapped back into field pixels, the sparkle's dots as blocks,
// and the field read back from the screen.
#include "scratch.h"

#include "core/game_state.h"
#include "shell/output/window.h"
#include "ui/menu.h"
#include "ui/present.h"

#include <cstdint>
#include <string>

namespace {

class Present : public Headless {
  protected:
    void TearDown() override {
        view = {1, 0, 0};
        Headless::TearDown();
    }
};

// Every pixel a different value, spread over all the bits of the depth (at
// 15 bits only the low fifteen).
BITMAP *patterned(int depth, int w, int h) {
    BITMAP *b = create_bitmap_ex(depth, w, h);
    const uint32_t mask = depth == 32 ? 0xffffffffu : (1u << depth) - 1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            putpixel(b, x, y, static_cast<int>((0x9e3779b9u * (y * w + x + 1)) & mask));
    return b;
}

// Counts the pixels of `to` that differ from what scaling `from` by k to
// (left, top) over a background of `fill` must give.
int wrong_pixels(BITMAP *from, BITMAP *to, int k, int left, int top, int fill) {
    int wrong = 0;
    for (int y = 0; y < to->h; y++)
        for (int x = 0; x < to->w; x++) {
            const int fx = x - left, fy = y - top;
            const bool inside = fx >= 0 && fy >= 0 && fx < from->w * k && fy < from->h * k;
            const int expected = inside ? getpixel(from, fx / k, fy / k) : fill;
            wrong += getpixel(to, x, y) != expected;
        }
    return wrong;
}

TEST_F(Present, ScalerMatchesThePlainReferenceAtEveryDepthAndScale) {
    // An odd width leaves a tail after the runs the scaler widens in.
    constexpr int W = 45, H = 7, LEFT = 3, TOP = 2;
    for (int depth : {8, 15, 16, 24, 32})
        for (int k = 1; k <= 5; k++)
            for (bool screen_like : {false, true}) {
                SCOPED_TRACE(std::to_string(depth) + " bits, k = " + std::to_string(k) +
                             (screen_like ? ", through bands" : ", direct"));
                BITMAP *from = patterned(depth, W, H);
                BITMAP *to = create_bitmap_ex(depth, W * k + 2 * LEFT, H * k + 2 * TOP);
                const int fill = 0x5a5a5a & ((1 << (depth == 32 ? 24 : depth)) - 1);
                clear_to_color(to, fill);
                // Marked as the library's system bitmap the destination is
                // no memory bitmap, and the scaler takes its way for a screen.
                if (screen_like)
                    to->id |= BMP_ID_SYSTEM;
                scale_blit(from, to, k, LEFT, TOP);
                to->id &= ~BMP_ID_SYSTEM;
                EXPECT_EQ(wrong_pixels(from, to, k, LEFT, TOP, fill), 0);
                destroy_bitmap(from);
                destroy_bitmap(to);
            }
}

TEST_F(Present, ScaledFrameTallerThanOneBandStillLandsWhole) {
    BITMAP *from = patterned(32, 640, 480);
    BITMAP *to = create_bitmap_ex(32, 640 * 3, 480 * 3);
    clear_to_color(to, 0);
    to->id |= BMP_ID_SYSTEM;
    scale_blit(from, to, 3, 0, 0);
    to->id &= ~BMP_ID_SYSTEM;
    EXPECT_EQ(wrong_pixels(from, to, 3, 0, 0, 0), 0);
    destroy_bitmap(from);
    destroy_bitmap(to);
}

TEST_F(Present, ViewIsTheLargestScaleThatFitsCentred) {
    const struct {
        int field_w, field_h, screen_w, screen_h, wanted;
        VIEW view;
    } cases[] = {
        {640, 480, 640, 480, 0, {1, 0, 0}},
        {640, 480, 1280, 960, 2, {2, 0, 0}},
        {640, 480, 3840, 2160, 0, {4, 640, 120}},
        {640, 480, 1920, 1080, 0, {2, 320, 60}},
        {640, 480, 1280, 1024, 0, {2, 0, 32}},
        {640, 480, 1024, 768, 0, {1, 192, 144}},
        {640, 480, 3840, 2160, 3, {3, 960, 360}},
        {640, 480, 3840, 2160, 9, {4, 640, 120}},
        {800, 600, 1920, 1080, 0, {1, 560, 240}},
        {640, 480, 600, 400, 0, {1, 0, 0}},
        {400, 300, 16000, 12000, 0, {16, 4800, 3600}},
    };
    for (const auto &c : cases) {
        const VIEW v = view_for(c.field_w, c.field_h, c.screen_w, c.screen_h, c.wanted);
        EXPECT_EQ(std::to_string(v.scale) + " " + std::to_string(v.left) + " " +
                      std::to_string(v.top),
                  std::to_string(c.view.scale) + " " + std::to_string(c.view.left) + " " +
                      std::to_string(c.view.top))
            << c.field_w << "x" << c.field_h << " on " << c.screen_w << "x" << c.screen_h
            << ", wanted " << c.wanted;
    }
}

TEST_F(Present, PointerIsMappedIntoFieldPixels) {
    const struct {
        VIEW view;
        int mouse_x, mouse_y, field_x, field_y;
    } cases[] = {
        {{1, 0, 0}, 0, 0, 0, 0},
        {{1, 0, 0}, 639, 479, 639, 479},
        {{2, 0, 0}, 1, 1, 0, 0},
        {{2, 0, 0}, 2, 3, 1, 1},
        {{2, 0, 0}, 1279, 959, 639, 479},
        {{3, 0, 0}, 860, 602, 286, 200},
        {{2, 0, 32}, 0, 31, 0, -1},
        {{2, 0, 32}, 5, 32, 2, 0},
        {{4, 640, 120}, 639, 119, -1, -1},
        {{4, 640, 120}, 640, 120, 0, 0},
        {{4, 640, 120}, 643, 123, 0, 0},
        {{4, 640, 120}, 644, 124, 1, 1},
        {{4, 640, 120}, 3199, 2039, 639, 479},
        {{1, 192, 144}, 0, 0, -192, -144},
    };
    for (const auto &c : cases) {
        view = c.view;
        mouse_x = c.mouse_x;
        mouse_y = c.mouse_y;
        EXPECT_EQ(field_pointer_x(), c.field_x)
            << "x " << c.mouse_x << " at scale " << c.view.scale;
        EXPECT_EQ(field_pointer_y(), c.field_y)
            << "y " << c.mouse_y << " at scale " << c.view.scale;
    }
}

// The buttons take the pointer in field pixels: at scale 2 the Start button
// (280 .. 360 x 200 .. 223 in the field) is clicked where the window shows it.
TEST_F(Present, ButtonsAreClickedWhereTheScaledWindowShowsThem) {
    load_assets();
    show_menu(true);
    follow_menu();
    const struct {
        VIEW view;
        int x, y;
        bool clicked;
    } cases[] = {
        {{2, 0, 0}, 600, 420, true},     {{2, 0, 0}, 300, 210, false},
        {{2, 0, 0}, 721, 447, true},     {{2, 0, 0}, 722, 420, false},
        {{3, 0, 32}, 900, 662, true},    {{3, 0, 32}, 900, 630, false},
        {{1, 192, 144}, 492, 354, true}, {{1, 192, 144}, 300, 210, false},
    };
    for (const auto &c : cases) {
        view = c.view;
        click_at(c.x, c.y);
        EXPECT_EQ(bstart.Value(), c.clicked) << c.x << ", " << c.y << " at scale " << c.view.scale;
    }
    show_menu(false);
    follow_menu();
}

TEST_F(Present, FieldDotIsABlockOfTheScale) {
    use_screen(640, 480, 32);
    for (VIEW v : {VIEW{1, 0, 0}, VIEW{2, 0, 0}, VIEW{3, 5, 7}}) {
        view = v;
        clear_to_color(screen, makecol(0, 0, 0));
        draw_field_dot(10, 20, makecol(255, 0, 0));
        int red = 0, red_in_block = 0;
        for (int y = 0; y < screen->h; y++)
            for (int x = 0; x < screen->w; x++) {
                const bool is_red = getpixel(screen, x, y) == makecol(255, 0, 0);
                red += is_red;
                red_in_block += is_red && (x - v.left) / v.scale == 10 &&
                                (y - v.top) / v.scale == 20 && x >= v.left && y >= v.top;
            }
        EXPECT_EQ(red, v.scale * v.scale) << "scale " << v.scale;
        EXPECT_EQ(red_in_block, red) << "scale " << v.scale;
    }
}

TEST_F(Present, ShownFieldIsReadBackFromTheScaledScreen) {
    for (VIEW v : {VIEW{1, 0, 0}, VIEW{2, 0, 0}, VIEW{3, 4, 6}}) {
        use_screen(64 * v.scale + 2 * v.left, 48 * v.scale + 2 * v.top, 16);
        view = v;
        BITMAP *frame = patterned(16, 64, 48);
        present_frame(frame);
        BITMAP *copy = copy_shown_field(64, 48);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(wrong_pixels(frame, copy, 1, 0, 0, 0), 0) << "scale " << v.scale;
        destroy_bitmap(frame);
        destroy_bitmap(copy);
    }
}

} // namespace

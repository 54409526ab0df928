// Sprite: loading numbered frame files, stepping through them, the two ways
// of drawing, and what happens at the edges of its storage.
#include "scratch.h"

#include "ui/Sprite.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int AUTO = 1000; // in a list of moves: AutoStep rather than Step(n)
constexpr int NOTHING = -1;
const Rgb BLACK{0, 0, 0};

Rgb frame_colour(int i) {
    return {40 + 40 * i, 90, 160};
}

void write_frames(const std::string &name, int count) {
    for (int i = 0; i < count; i++)
        write_picture(name + std::to_string(i) + ".dat", 32, 32, frame_colour(i));
}

class SpriteTest : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        probe = create_bitmap(200, 200);
        clear_to_color(probe, 0);
    }
    void TearDown() override {
        destroy_bitmap(probe);
        Headless::TearDown();
    }

    // The frame a sprite shows, told by its colour when drawn at its top-left
    // point onto a black probe.
    int shown(const Sprite &s) {
        clear_to_color(probe, 0);
        s.blt(probe);
        for (int i = 0; i < 7; i++)
            if (pixel_rgb(probe, 0, 0) == frame_colour(i))
                return i;
        EXPECT_EQ(pixel_rgb(probe, 0, 0), BLACK);
        return NOTHING;
    }

    ScratchDir dir;
    BITMAP *probe = nullptr;
};

TEST_F(SpriteTest, StepsThroughItsFrames) {
    const struct {
        int count;
        std::vector<int> moves, frames; // the current frame after each move
    } cases[] = {
        {2, {AUTO, AUTO, AUTO, AUTO, AUTO}, {1, 0, 1, 0, 1}},
        {3, {AUTO, AUTO, AUTO, AUTO}, {1, 2, 0, 1}},
        {4, {3, AUTO}, {3, 0}},
        {4, {2, -1, 4, 99, 0}, {2, 2, 2, 2, 0}},
        {0, {AUTO, AUTO, 0}, {0, 0, 0}},
    };
    write_frames("f", 4);
    for (const auto &c : cases) {
        Sprite s;
        s.Create("f", c.count, 32, 32);
        for (std::size_t m = 0; m < c.moves.size(); m++) {
            if (c.moves[m] == AUTO)
                s.AutoStep();
            else
                s.Step(c.moves[m]);
            EXPECT_EQ(s.Frame(), c.frames[m]) << c.count << " frames, move " << m;
            EXPECT_EQ(shown(s), c.count ? c.frames[m] : NOTHING);
        }
    }
}

TEST_F(SpriteTest, DrawsAtTheNominalOffsetOrAtTheOrigin) {
    const struct {
        int gw, gh;
        bool centred;
        int x, y, left, top; // where the 32 x 32 picture must land
    } cases[] = {
        {32, 32, true, 0, 0, -16, -16},  {32, 32, true, 100, 50, 84, 34},
        {33, 31, true, 50, 50, 34, 35},  {8, 8, true, 199, 199, 195, 195},
        {640, 480, false, 90, 90, 0, 0}, {32, 32, false, 0, 0, 0, 0},
    };
    write_frames("f", 2);
    for (const auto &c : cases) {
        Sprite s;
        s.Create("f", 2, c.gw, c.gh);
        s.AutoStep();
        clear_to_color(probe, 0);
        if (c.centred)
            s.blt(probe, c.x, c.y);
        else
            s.blt(probe);
        int wrong = 0;
        for (int y = 0; y < probe->h; y++)
            for (int x = 0; x < probe->w; x++) {
                const bool inside = x >= c.left && x < c.left + 32 && y >= c.top && y < c.top + 32;
                wrong += pixel_rgb(probe, x, y) != (inside ? frame_colour(1) : BLACK);
            }
        EXPECT_EQ(wrong, 0) << c.gw << "x" << c.gh << " at " << c.x << "," << c.y;
    }
}

TEST_F(SpriteTest, SkipsWhatItCannotLoadOrHold) {
    write_frames("f", 7);
    std::remove("f1.dat");
    Sprite s;
    s.Create("f", 7, 32, 32);
    EXPECT_EQ(s.FrameCount(), 5);
    s.Step(1); // counted, but never drawn
    EXPECT_EQ(shown(s), NOTHING);
    s.blt(probe, 16, 16);
    EXPECT_EQ(pixel_rgb(probe, 16, 16), BLACK);
    s.Step(4);
    s.Step(5);
    EXPECT_EQ(shown(s), 4);
    s.AutoStep();
    EXPECT_EQ(shown(s), 0);

    // "abcdefghij0.dat" fills 15 of the 16 characters; one letter more does
    // not fit, and the name cut short must not be loaded either.
    const std::string fits = "abcdefghij", too_long = fits + "k";
    write_frames(fits, 1);
    write_frames(too_long, 1);
    write_picture(too_long + "0.da", 32, 32, frame_colour(0));
    s.Create(fits.c_str(), 1, 32, 32);
    EXPECT_EQ(shown(s), 0);
    s.Create(too_long.c_str(), 1, 32, 32);
    EXPECT_EQ(s.FrameCount(), 1);
    EXPECT_EQ(shown(s), NOTHING);
}

TEST_F(SpriteTest, FramesAreReleasedAtShutdownOrLeftOnceTheLibraryIsGone) {
    write_frames("green", 2);
    sgreen.Create("green", 2, 32, 32);
    destory_all();
    EXPECT_EQ(sgreen.FrameCount(), 0);
    EXPECT_EQ(shown(sgreen), NOTHING);

    // destroy_bitmap after allegro_exit crashes.
    EXPECT_EXIT(
        {
            Sprite *s = new Sprite;
            s->Create("green", 2, 32, 32);
            allegro_exit();
            delete s;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace

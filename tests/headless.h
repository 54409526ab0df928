// A test fixture with the library brought up without a display: a memory
// bitmap stands in for the screen, SCREEN_W and SCREEN_H answer its size,
// buffer exists, and the records and tuning values are back at their
// program-start state before every test. The game's music is noted instead of
// played (see last_music).
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

class Headless : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the screen and buffer with ones of this size and depth (the
    // fixture starts at 640 x 480 x 32).
    void use_screen(int width, int height, int depth);

    // Loads the game's data files from the data directory through the game's
    // own loader, as start-up does: pictures, sounds, music, sprites and the
    // menu buttons. A second call loads everything afresh.
    void load_assets();

  private:
    void release_screen();
    void release_assets();
    bool assets_loaded = false;
};

// The colour of a pixel as red, green, blue, whatever the depth.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};
Rgb pixel_rgb(BITMAP *bitmap, int x, int y);
std::ostream &operator<<(std::ostream &out, const Rgb &c);

// Without a system driver the library has no timer, and its play_midi()
// crashes installing one; in the unit tests a stand-in takes its place and
// notes what the game asked it to play, which SetUp forgets.
struct MusicRequest {
    MIDI *midi = nullptr;
    int loop = 0;
};
extern MusicRequest last_music;

// The input stage of a pass on the keys, mouse and pad as they are now, as
// run_pass() takes it after composing the frame; then the passes of the keys'
// rest, if it began one, each after its wait. Returns the milliseconds taken.
double key_work();

// The directory holding the game's data files.
const char *data_dir();

// Helpers for tests that read or write files, or need the menu buttons:
// a throw-away working directory, picture files made on the spot, and the
// three buttons set up as the game sets them up.
#pragma once

#include "../headless.h"

#include "shell/assets.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline bool operator!=(const Rgb &a, const Rgb &b) {
    return !(a == b);
}

// A fresh directory that is the working directory while the object lives.
class ScratchDir {
  public:
    ScratchDir() {
        char here[4096];
        EXPECT_NE(getcwd(here, sizeof here), nullptr);
        previous = here;
        std::string pattern = ::testing::TempDir() + "tarvellion-XXXXXX";
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        path = pattern;
        EXPECT_EQ(chdir(path.c_str()), 0);
    }
    ~ScratchDir() {
        EXPECT_EQ(chdir(previous.c_str()), 0);
        std::filesystem::remove_all(path);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    std::string path;

  private:
    std::string previous;
};

// Writes a BMP of one colour, in the working directory.
inline void write_picture(const std::string &name, int w, int h, int r, int g, int b) {
    BITMAP *picture = create_bitmap(w, h);
    ASSERT_NE(picture, nullptr);
    clear_to_color(picture, makecol(r, g, b));
    EXPECT_EQ(save_bmp(name.c_str(), picture, default_palette), 0) << name;
    destroy_bitmap(picture);
}

// The three menu buttons with the places and sizes the game gives them.
inline void create_menu_buttons() {
    bstart.Create("Start", 280, 200, 24, 80);
    bend.Create("End", 280, 230, 24, 80);
    bresume.Create("Continue", 280, 170, 24, 80);
}

// One left click at (x, y), fed to the buttons the way each pass does: a pass
// with the button down, then one with it up.
inline void click_at(int x, int y) {
    mouse_x = x;
    mouse_y = y;
    for (int b : {1, 0}) {
        mouse_b = b;
        bstart.Flash();
        bend.Flash();
        bresume.Flash();
    }
}

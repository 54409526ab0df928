// Helpers for tests that need files or the menu: a throw-away working
// directory, one-colour pictures, and a click fed to the menu buttons (made by
// the fixture's load_assets()) the way the passes of the game do.
#pragma once

#include "../headless.h"

#include "shell/output/assets.h"

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
    ScratchDir() : previous(std::filesystem::current_path()) {
        std::string pattern = ::testing::TempDir() + "tarvellion-XXXXXX";
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        path = pattern;
        std::filesystem::current_path(path);
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

  private:
    std::filesystem::path previous, path;
};

inline void write_picture(const std::string &name, int w, int h, Rgb c) {
    BITMAP *picture = create_bitmap(w, h);
    clear_to_color(picture, makecol(c.r, c.g, c.b));
    EXPECT_EQ(save_bmp(name.c_str(), picture, default_palette), 0) << name;
    destroy_bitmap(picture);
}

// A pass with the left button down at (x, y), then one with it up.
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

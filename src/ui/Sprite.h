// Sprite: a picture of up to five frames loaded from numbered files, drawn at
// a fixed top-left point or centred on a point. The game's eight sprites live
// in pictures.cpp; frame.cpp draws and steps them, the main loop steps the
// background at each level.
#pragma once

#include "picture_files.h"

#include <allegro.h>

#include <cstdint>
#include <cstdio>

class Sprite {
  public:
    Sprite() = default;
    Sprite(const Sprite &) = delete;
    Sprite &operator=(const Sprite &) = delete;

    // Frames still held once the library is shut down are left to the end of
    // the process: releasing them then would call into a library that is gone.
    ~Sprite() {
        if (system_driver)
            Release();
    }

    // Loads frames "<file>0.dat" .. "<file><count-1>.dat". A missing frame
    // stays null and is never drawn; frames beyond five are not kept. A frame
    // file that is there but damaged is reported with allegro_message naming
    // it, the sprite is left without frames, and the result is false.
    bool Create(const char *file, int32_t count, int32_t gw, int32_t gh) {
        Release();
        if (count > MAX_FRAMES)
            count = MAX_FRAMES;
        if (count < 0)
            count = 0;
        for (int32_t i = 0; i < count; i++) {
            char name[NAME_SIZE];
            const int length = std::snprintf(name, sizeof name, "%s%d.dat", file, i);
            if (length < 0 || length >= NAME_SIZE)
                continue;
            if (load_picture(name, pallete, buf[i]) == PictureLoad::DAMAGED) {
                report_unusable_picture(name);
                Release();
                return false;
            }
        }
        giw = gw;
        gih = gh;
        sx = 0;
        sy = 0;
        gi = 0;
        maxbmp = count;
        return true;
    }

    // Destroys the frames; shutdown calls this before the library goes away.
    void Release() {
        for (BITMAP *&frame : buf) {
            if (frame)
                destroy_bitmap(frame);
            frame = nullptr;
        }
        maxbmp = 0;
        gi = 0;
    }

    void blt(BITMAP *o) const {
        if (BITMAP *frame = current())
            draw_sprite(o, frame, sx, sy);
    }

    // The offset comes from the nominal size, not the loaded picture's.
    void blt(BITMAP *o, int32_t x, int32_t y) const {
        if (BITMAP *frame = current())
            draw_sprite(o, frame, x - giw / 2, y - gih / 2);
    }

    void AutoStep() {
        gi = gi + 1;
        if (gi >= maxbmp)
            gi = 0;
    }

    void Step(int32_t i) {
        if (i >= 0 && i < maxbmp)
            gi = i;
    }

    int32_t Frame() const { return gi; }
    int32_t FrameCount() const { return maxbmp; }
    BITMAP *FrameBitmap(int32_t i) const { return i >= 0 && i < maxbmp ? buf[i] : nullptr; }

  private:
    static constexpr int MAX_FRAMES = 5;
    static constexpr int NAME_SIZE = 16;

    BITMAP *current() const { return gi < maxbmp ? buf[gi] : nullptr; }

    BITMAP *buf[MAX_FRAMES] = {};
    int32_t maxbmp = 0;
    int32_t sx = 0;
    int32_t sy = 0;
    int32_t gi = 0;
    int32_t giw = 0;
    int32_t gih = 0;
    PALETTE pallete = {};
};

// Frame composition; called by the main loop and the screens between levels.
#include "frame.h"

#include "high_score_screens.h"
#include "menu.h"
#include "present.h"
#include "pictures.h"
#include "../core/game_state.h"
#include "../core/player_control.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

BITMAP *buffer;
std::string demo_label;
const char *pause_key_name = "ENTER";

namespace {

constexpr int ANIMATION_PERIOD = 5; // passes of unit.timer per animation frame
constexpr int DEMO_LABEL_RISE = 40; // from the field's bottom edge to the label's middle
constexpr int LABEL_H = 24;

// "Enter goes on", or the pause key's own name as the player reads it.
std::string goes_on_text() {
    std::string name = pause_key_name;
    for (std::size_t i = 1; i < name.size(); i++)
        name[i] = name[i] == '_' ? ' ' : static_cast<char>(std::tolower(name[i]));
    return name + " goes on";
}

// The first pixel in the mask colour among n, or null. These are the fast
// searches the C library has for bytes and, where wchar_t is 32 bits wide,
// for 32-bit words.
const uint8_t *find_mask(const uint8_t *row, std::size_t n, uint8_t mask) {
    return static_cast<const uint8_t *>(std::memchr(row, mask, n));
}

const uint16_t *find_mask(const uint16_t *row, std::size_t n, uint16_t mask) {
    const uint16_t *hit = std::find(row, row + n, mask);
    return hit == row + n ? nullptr : hit;
}

const uint32_t *find_mask(const uint32_t *row, std::size_t n, uint32_t mask) {
    if constexpr (sizeof(wchar_t) == sizeof(uint32_t)) {
        const wchar_t *hit =
            std::wmemchr(reinterpret_cast<const wchar_t *>(row), static_cast<wchar_t>(mask), n);
        return reinterpret_cast<const uint32_t *>(hit);
    } else {
        const uint32_t *hit = std::find(row, row + n, mask);
        return hit == row + n ? nullptr : hit;
    }
}

// Draws the picture at (0, 0) exactly as draw_sprite does, within the clip
// rectangle: pixels in the mask colour leave what lies beneath. A row without
// one is copied whole; the rest of a row from its first one pixel by pixel.
template <typename Pixel> void draw_rows(BITMAP *picture, BITMAP *onto) {
    const Pixel mask = static_cast<Pixel>(bitmap_mask_color(picture));
    const int left = std::max(onto->cl, 0);
    const int right = std::min(onto->cr, picture->w);
    const int top = std::max(onto->ct, 0);
    const int bottom = std::min(onto->cb, picture->h);
    if (left >= right)
        return;
    const auto n = static_cast<std::size_t>(right - left);
    for (int y = top; y < bottom; y++) {
        const Pixel *from = reinterpret_cast<const Pixel *>(picture->line[y]) + left;
        Pixel *to = reinterpret_cast<Pixel *>(onto->line[y]) + left;
        const Pixel *hole = find_mask(from, n, mask);
        const std::size_t whole = hole ? static_cast<std::size_t>(hole - from) : n;
        std::memcpy(to, from, whole * sizeof(Pixel));
        for (std::size_t x = whole; x < n; x++)
            if (from[x] != mask)
                to[x] = from[x];
    }
}

// The background fills the field, and drawn with draw_sprite its mask test on
// every pixel made it the dearest part of a frame. Memory bitmaps of one depth
// are drawn here row by row instead, with the same result; anything else, and
// a buffer whose clipping is off, still goes through draw_sprite. The
// background's top-left point is always (0, 0): Sprite::Create sets it and
// nothing moves it.
void draw_background() {
    BITMAP *picture = sback.FrameBitmap(sback.Frame());
    if (!picture)
        return;
    const int depth = bitmap_color_depth(picture);
    const bool direct = is_memory_bitmap(picture) && is_memory_bitmap(buffer) && buffer->clip &&
                        depth == bitmap_color_depth(buffer);
    if (direct && depth == 8)
        draw_rows<uint8_t>(picture, buffer);
    else if (direct && (depth == 15 || depth == 16))
        draw_rows<uint16_t>(picture, buffer);
    else if (direct && depth == 32)
        draw_rows<uint32_t>(picture, buffer);
    else
        sback.blt(buffer);
}

Sprite *fruit_sprite(int32_t kind) {
    switch (kind) {
    case 1:
        return &sgreen;
    case 2:
        return &syellow;
    case 3:
        return &sred;
    case 4:
        return &sblue;
    default:
        return nullptr;
    }
}

// Fills the clip rectangle as clear_to_color does, which writes pixel by
// pixel: here one row is filled and copied down at the speed of memcpy.
template <typename Pixel> void fill_rows(BITMAP *b, Pixel colour) {
    if (b->cl >= b->cr || b->ct >= b->cb)
        return;
    const auto bytes = static_cast<std::size_t>(b->cr - b->cl) * sizeof(Pixel);
    Pixel *first = reinterpret_cast<Pixel *>(b->line[b->ct]) + b->cl;
    std::fill_n(first, b->cr - b->cl, colour);
    for (int y = b->ct + 1; y < b->cb; y++)
        std::memcpy(reinterpret_cast<Pixel *>(b->line[y]) + b->cl, first, bytes);
}

// A dark box across the field's middle column with a word on it.
void draw_label(BITMAP *b, const char *text, int cy) {
    constexpr int MIN_HALF_W = 60, HALF_H = 12, MARGIN = 8;
    const int half_w = std::max(MIN_HALF_W, text_length(font, text) / 2 + MARGIN);
    const int cx = b->w / 2;
    rectfill(b, cx - half_w, cy - HALF_H, cx + half_w, cy + HALF_H, makecol(0, 0, 0));
    textout_centre_ex(b, font, text, cx, cy - text_height(font) / 2, makecol(255, 255, 255), -1);
}

void clear_field(BITMAP *b, int colour) {
    const int depth = bitmap_color_depth(b);
    if (!is_memory_bitmap(b))
        clear_to_color(b, colour);
    else if (depth == 8)
        fill_rows<uint8_t>(b, static_cast<uint8_t>(colour));
    else if (depth == 15 || depth == 16)
        fill_rows<uint16_t>(b, static_cast<uint16_t>(colour));
    else if (depth == 32)
        fill_rows<uint32_t>(b, static_cast<uint32_t>(colour));
    else
        clear_to_color(b, colour);
}

} // namespace

void put_bmp() {
    draw_background();
    for (int i = 0; i < unit.fruitmax && i < FRUIT_TABLE_SIZE; i++) {
        if (!fruit[i].live)
            continue;
        if (Sprite *sprite = fruit_sprite(fruit[i].level))
            sprite->blt(buffer, fruit[i].pos.x, fruit[i].pos.y);
    }
    splayer.blt(buffer, player.pos.x, player.pos.y);
    for (int i = 0; i < TRAIN_COUNT; i++) {
        strain.blt(buffer, train[i].pos.x, train[i].pos.y);
        if (fire[i].live)
            sfire.blt(buffer, fire[i].pos.x, fire[i].pos.y);
    }
    bstart.Draw(buffer);
    bend.Draw(buffer);
    bresume.Draw(buffer);
    boptions.Draw(buffer);
    bdaily.Draw(buffer);
    if (showmouse)
        draw_menu_high_scores(buffer);
    if (showmouse && bmouse)
        draw_sprite(buffer, bmouse, field_pointer_x(), field_pointer_y());
}

void show_to_screen() {
    char status[256];
    std::snprintf(status, sizeof status,
                  "Game Level: %d     Score: %ld     Apples: %ld      Player Lives: %d", unit.level,
                  static_cast<long>(unit.score), static_cast<long>(unit.apples), player.live);
    // The rules stand still because the window lost the focus, or the
    // player paused a game; the pause key's pause says how to go on.
    const bool paused_by_key = unit.pause && !showmouse && unit.fruitmax != 0 && !focus_paused;
    if (focus_paused || paused_by_key)
        draw_label(buffer, "Paused", buffer->h / 2);
    if (paused_by_key)
        draw_label(buffer, goes_on_text().c_str(), buffer->h / 2 + LABEL_H);
    // Low on the field, between the fruit's band and the trains' edge.
    if (!demo_label.empty())
        draw_label(buffer, demo_label.c_str(), buffer->h - DEMO_LABEL_RISE);
    textout_ex(buffer, font, status, 10, 10, makecol(255, 255, 255), -1);
    present_frame(buffer);
    clear_field(buffer, makecol(0, 128, 0));
}

void flash() {
    if (unit.timer % ANIMATION_PERIOD == 0) {
        sgreen.AutoStep();
        sred.AutoStep();
        syellow.AutoStep();
        sblue.AutoStep();
        splayer.Step(player.fw);
        strain.AutoStep();
        sfire.AutoStep();
    }
    bstart.Flash();
    bend.Flash();
    bresume.Flash();
    boptions.Flash();
    bdaily.Flash();
    follow_pointer();
}

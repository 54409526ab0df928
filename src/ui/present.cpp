// The integer scaler and the view of the field on the screen; called by frame
// presentation (frame.cpp), the sparkle wait (waits.cpp), the buttons and the
// pointer picture, and the display module when it changes the mode.
//
// The scaler is the dearest step of a pass at large scales. Each source row
// is widened once, by a loop written for one scale at a time so that the
// compiler can vectorise it (a loop over a scale known only at run time is no
// faster than the library's stretch_blit), and the widened row is then copied
// k - 1 times with memcpy.
#include "present.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

bool left_button_pressed = false;

VIEW view = {1, 0, 0};

namespace {

// A 24-bit pixel as the library lays it out: three bytes, no padding.
struct Pixel24 {
    uint8_t bytes[3];
};
static_assert(sizeof(Pixel24) == 3, "24-bit pixels are three bytes");

// The screen is no memory bitmap: the library must hear of every change to
// it, so the scaled rows are gathered in a band of memory this large and
// blitted across, a few source rows at a time, staying in the processor's
// cache until they are.
constexpr int BAND_BYTES = 192 * 1024;

BITMAP *band = nullptr; // kept for the run; remade when the size or depth changes

// The pixels go in runs of a fixed length, which the compiler unrolls and
// vectorises without weighing the cost of a loop of unknown length.
template <typename Pixel, int K>
void widen(const Pixel *__restrict from, Pixel *__restrict to, int n) {
    constexpr int RUN = 32 / sizeof(Pixel) > 0 ? 32 / sizeof(Pixel) : 1;
    int x = 0;
    for (; x + RUN <= n; x += RUN)
        for (int i = 0; i < RUN; i++)
            for (int j = 0; j < K; j++)
                to[K * (x + i) + j] = from[x + i];
    for (; x < n; x++)
        for (int j = 0; j < K; j++)
            to[K * x + j] = from[x];
}

template <typename Pixel> void widen_any(const Pixel *from, Pixel *to, int n, int k) {
    for (int x = 0; x < n; x++)
        std::fill_n(to + static_cast<std::ptrdiff_t>(k) * x, k, from[x]);
}

// Source rows first .. last - 1 into to, from row top and column left on.
template <typename Pixel, int K>
void scale_rows_by(BITMAP *from, int first, int last, BITMAP *to, int left, int top) {
    const int n = from->w;
    const std::size_t bytes = static_cast<std::size_t>(n) * K * sizeof(Pixel);
    for (int y = first; y < last; y++) {
        const int row = top + (y - first) * K;
        Pixel *widened = reinterpret_cast<Pixel *>(to->line[row]) + left;
        widen<Pixel, K>(reinterpret_cast<const Pixel *>(from->line[y]), widened, n);
        for (int j = 1; j < K; j++)
            std::memcpy(reinterpret_cast<Pixel *>(to->line[row + j]) + left, widened, bytes);
    }
}

template <typename Pixel>
void scale_rows_any(BITMAP *from, int first, int last, BITMAP *to, int left, int top, int k) {
    const int n = from->w;
    const std::size_t bytes = static_cast<std::size_t>(n) * k * sizeof(Pixel);
    for (int y = first; y < last; y++) {
        const int row = top + (y - first) * k;
        Pixel *widened = reinterpret_cast<Pixel *>(to->line[row]) + left;
        widen_any(reinterpret_cast<const Pixel *>(from->line[y]), widened, n, k);
        for (int j = 1; j < k; j++)
            std::memcpy(reinterpret_cast<Pixel *>(to->line[row + j]) + left, widened, bytes);
    }
}

template <typename Pixel>
void scale_rows(BITMAP *from, int first, int last, BITMAP *to, int left, int top, int k) {
    switch (k) {
    case 1:
        scale_rows_by<Pixel, 1>(from, first, last, to, left, top);
        break;
    case 2:
        scale_rows_by<Pixel, 2>(from, first, last, to, left, top);
        break;
    case 3:
        scale_rows_by<Pixel, 3>(from, first, last, to, left, top);
        break;
    case 4:
        scale_rows_by<Pixel, 4>(from, first, last, to, left, top);
        break;
    default:
        scale_rows_any<Pixel>(from, first, last, to, left, top, k);
        break;
    }
}

void scale_rows_at_depth(BITMAP *from, int first, int last, BITMAP *to, int left, int top, int k) {
    switch (bitmap_color_depth(from)) {
    case 8:
        scale_rows<uint8_t>(from, first, last, to, left, top, k);
        break;
    case 15:
    case 16:
        scale_rows<uint16_t>(from, first, last, to, left, top, k);
        break;
    case 24:
        scale_rows<Pixel24>(from, first, last, to, left, top, k);
        break;
    default:
        scale_rows<uint32_t>(from, first, last, to, left, top, k);
        break;
    }
}

BITMAP *band_for(int depth, int w, int h) {
    if (band && (band->w != w || band->h != h || bitmap_color_depth(band) != depth)) {
        destroy_bitmap(band);
        band = nullptr;
    }
    if (!band)
        band = create_bitmap_ex(depth, w, h);
    return band;
}

bool is_scaler_depth(int depth) {
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

// Rounds towards minus infinity, so that a pointer just left of the field is
// outside it rather than on its first column.
int floor_divide(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

int largest_fitting_scale(int field_w, int field_h, int area_w, int area_h) {
    if (field_w <= 0 || field_h <= 0)
        return 1;
    return std::clamp(std::min(area_w / field_w, area_h / field_h), 1, MAX_SCALE);
}

VIEW view_for(int field_w, int field_h, int screen_w, int screen_h, int wanted_scale) {
    int k = largest_fitting_scale(field_w, field_h, screen_w, screen_h);
    if (wanted_scale > 0)
        k = std::min(k, wanted_scale);
    return {k, std::max(0, (screen_w - field_w * k) / 2),
            std::max(0, (screen_h - field_h * k) / 2)};
}

void scale_blit(BITMAP *from, BITMAP *to, int k, int left, int top) {
    const int depth = bitmap_color_depth(from);
    const bool fits = k >= 1 && left >= 0 && top >= 0 && left + from->w * k <= to->w &&
                      top + from->h * k <= to->h;
    if (!fits || depth != bitmap_color_depth(to) || !is_scaler_depth(depth) ||
        !is_memory_bitmap(from)) {
        stretch_blit(from, to, 0, 0, from->w, from->h, left, top, from->w * k, from->h * k);
        return;
    }
    if (is_memory_bitmap(to)) {
        scale_rows_at_depth(from, 0, from->h, to, left, top, k);
        return;
    }
    const int row_bytes = from->w * k * ((depth + 7) / 8);
    const int rows = std::clamp(BAND_BYTES / (row_bytes * k), 1, from->h);
    BITMAP *strip = band_for(depth, from->w * k, rows * k);
    if (!strip) {
        stretch_blit(from, to, 0, 0, from->w, from->h, left, top, from->w * k, from->h * k);
        return;
    }
    for (int y = 0; y < from->h; y += rows) {
        const int n = std::min(rows, from->h - y);
        scale_rows_at_depth(from, y, y + n, strip, 0, 0, k);
        blit(strip, to, 0, 0, left, top + y * k, from->w * k, n * k);
    }
}

void present_frame(BITMAP *frame) {
    if (!screen)
        return;
    if (view.scale == 1) {
        blit(frame, screen, 0, 0, view.left, view.top, frame->w, frame->h);
        return;
    }
    // One hold of the screen for all the bands rather than one for each.
    acquire_screen();
    scale_blit(frame, screen, view.scale, view.left, view.top);
    release_screen();
}

void draw_field_dot(int x, int y, int colour) {
    if (!screen)
        return;
    const int k = view.scale;
    const int left = view.left + x * k;
    const int top = view.top + y * k;
    if (k == 1)
        putpixel(screen, left, top, colour);
    else
        rectfill(screen, left, top, left + k - 1, top + k - 1, colour);
}

BITMAP *copy_shown_field(int field_w, int field_h) {
    if (!screen)
        return nullptr;
    BITMAP *copy = create_bitmap_ex(bitmap_color_depth(screen), field_w, field_h);
    if (!copy)
        return nullptr;
    clear_bitmap(copy);
    if (view.scale == 1) {
        blit(screen, copy, view.left, view.top, 0, 0, field_w, field_h);
        return copy;
    }
    for (int y = 0; y < field_h; y++)
        for (int x = 0; x < field_w; x++)
            putpixel(copy, x, y,
                     getpixel(screen, view.left + x * view.scale, view.top + y * view.scale));
    return copy;
}

int field_pointer_x() {
    return floor_divide(mouse_x - view.left, view.scale);
}

int field_pointer_y() {
    return floor_divide(mouse_y - view.top, view.scale);
}

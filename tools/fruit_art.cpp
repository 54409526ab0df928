// Draws the fruit pictures for make_assets; see fruit_art.h.
#include "fruit_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Rotated {
    Vec2 centre;
    float angle;

    // Coordinates along (u) and across (v) the rotated axis.
    Vec2 local(float x, float y) const {
        const float c = std::cos(angle), s = std::sin(angle);
        const float dx = x - centre.x, dy = y - centre.y;
        return {dx * c + dy * s, -dx * s + dy * c};
    }
};

Part leaf(Vec2 centre, float length, float width, float angle, const GamePalette &palette) {
    const Rotated frame{centre, angle};
    return {[=](float x, float y) {
                const Vec2 p = frame.local(x, y);
                return inside_ellipse(p.x, p.y, {0, 0}, length, width);
            },
            [=](float x, float y) {
                const Vec2 p = frame.local(x, y);
                // Two halves either side of the midrib, the upper one catching the light.
                const float midrib = std::fabs(p.y) < 0.5f ? 0.9f : 0.0f;
                return (p.y < 0 ? 0.75f : 0.4f) - 0.25f * std::fabs(p.x) / length + midrib;
            },
            palette.leaf};
}

// A bright four-pointed glint, centred on the pixel holding the design point; it only
// appears in the second frame. Its arms grow with the scale.
void add_glint(IndexedImage &image, Vec2 centre, const GamePalette &palette, const Placement &at) {
    const int x = static_cast<int>(std::floor((centre.x + at.origin.x) * at.scale));
    const int y = static_cast<int>(std::floor((centre.y + at.origin.y) * at.scale));
    const int arms = std::max(1, static_cast<int>(std::lround(2.0f * at.scale)));
    image.set(x, y, palette.white);
    for (int arm = 1; arm <= arms; ++arm) {
        const std::uint8_t colour = 2 * arm <= arms ? palette.white : palette.pale_grey;
        image.set(x - arm, y, colour);
        image.set(x + arm, y, colour);
        image.set(x, y - arm, colour);
        image.set(x, y + arm, colour);
    }
}

void draw_apple(IndexedImage &image, const GamePalette &palette, const Lighting &lighting,
                const Placement &at) {
    paint(image, rod({16.0f, 11.0f}, {17.5f, 4.0f}, 1.1f, palette.wood, lighting), at);
    const Part shading = dome({16.0f, 18.0f}, 13.0f, 11.0f, palette.apple, lighting);
    paint(image,
          {[](float x, float y) {
               return inside_ellipse(x, y, {12.8f, 18.5f}, 9.6f, 9.6f) ||
                      inside_ellipse(x, y, {19.2f, 18.5f}, 9.6f, 9.6f);
           },
           shading.light, palette.apple},
          at);
    paint(image, leaf({21.5f, 6.5f}, 4.8f, 2.3f, -0.45f, palette), at);
}

void draw_lemon(IndexedImage &image, const GamePalette &palette, const Lighting &lighting,
                const Placement &at) {
    const Rotated axis{{16.0f, 17.0f}, -0.55f};
    const float half_length = 11.0f, half_width = 8.0f;
    paint(image,
          {[=](float x, float y) {
               const Vec2 p = axis.local(x, y);
               const bool body = inside_ellipse(p.x, p.y, {0, 0}, half_length, half_width);
               const bool tip = inside_ellipse(std::fabs(p.x), p.y, {half_length, 0}, 2.6f, 2.0f);
               return body || tip;
           },
           [=](float x, float y) {
               const Vec2 p = axis.local(x, y);
               const float dx = p.x / (half_length + 1.5f), dy = p.y / (half_width + 0.5f);
               const float dz = std::sqrt(std::fmax(0.0f, 1.0f - dx * dx - dy * dy));
               // Back to screen axes for the light.
               const float c = std::cos(axis.angle), s = std::sin(axis.angle);
               const Vec3 normal = normalised({dx * c - dy * s, dx * s + dy * c, dz + 0.05f});
               return lighting.brightness(normal);
           },
           palette.lemon},
          at);
    paint(image, leaf({25.0f, 5.5f}, 3.8f, 1.8f, -1.1f, palette), at);
}

Vec2 on_curve(Vec2 a, Vec2 control, Vec2 b, float t) {
    const float u = 1.0f - t;
    return {u * u * a.x + 2 * u * t * control.x + t * t * b.x,
            u * u * a.y + 2 * u * t * control.y + t * t * b.y};
}

Part curved_stem(Vec2 a, Vec2 control, Vec2 b, const GamePalette &palette) {
    return {[=](float x, float y) {
                for (int i = 0; i < 12; ++i) {
                    const Vec2 p = on_curve(a, control, b, static_cast<float>(i) / 12.0f);
                    const Vec2 q = on_curve(a, control, b, static_cast<float>(i + 1) / 12.0f);
                    if (distance_to_segment({x, y}, p, q) <= 0.75f) {
                        return true;
                    }
                }
                return false;
            },
            [](float, float) { return 0.55f; }, palette.leaf};
}

void draw_cherries(IndexedImage &image, const GamePalette &palette, const Lighting &lighting,
                   const Placement &at) {
    const Vec2 joint{18.5f, 3.5f};
    paint(image, curved_stem({10.5f, 17.0f}, {12.0f, 7.0f}, joint, palette), at);
    paint(image, curved_stem({21.5f, 18.0f}, {21.0f, 9.0f}, joint, palette), at);
    paint(image, dome({10.5f, 22.0f}, 6.4f, 6.2f, palette.cherry, lighting), at);
    paint(image, dome({21.5f, 23.5f}, 6.4f, 6.2f, palette.cherry, lighting), at);
    paint(image, leaf({24.0f, 5.0f}, 4.6f, 2.1f, -0.3f, palette), at);
}

void draw_grapes(IndexedImage &image, const GamePalette &palette, const Lighting &lighting,
                 const Placement &at) {
    paint(image, rod({16.5f, 7.0f}, {17.5f, 2.0f}, 1.0f, palette.wood, lighting), at);
    paint(image, leaf({10.5f, 4.5f}, 4.6f, 2.1f, 0.35f, palette), at);
    const std::vector<Vec2> berries = {{9.5f, 11.5f},  {16.5f, 10.5f}, {23.5f, 11.5f},
                                       {13.0f, 18.0f}, {20.0f, 18.0f}, {16.5f, 24.5f}};
    for (const Vec2 &berry : berries) {
        paint(image, dome(berry, 4.4f, 4.4f, palette.grape, lighting), at);
    }
}

} // namespace

void paint_fruit(IndexedImage &image, Fruit fruit, int frame, const Placement &placement) {
    const GamePalette &palette = game_palette();
    const Lighting lighting;
    Vec2 glint{};
    switch (fruit) {
    case Fruit::green_apple:
        draw_apple(image, palette, lighting, placement);
        glint = {10.5f, 13.5f};
        break;
    case Fruit::yellow_lemon:
        draw_lemon(image, palette, lighting, placement);
        glint = {11.5f, 14.5f};
        break;
    case Fruit::red_cherries:
        draw_cherries(image, palette, lighting, placement);
        glint = {19.5f, 20.5f};
        break;
    case Fruit::blue_grapes:
        draw_grapes(image, palette, lighting, placement);
        glint = {14.5f, 8.5f};
        break;
    }
    if (frame == 1) {
        add_glint(image, glint, palette, placement);
    }
}

IndexedImage draw_fruit(Fruit fruit, int frame) {
    IndexedImage image(32, 32, GamePalette::transparent);
    paint_fruit(image, fruit, frame, {});
    return image;
}

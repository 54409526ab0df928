// Draws the player, locomotive and shot pictures for make_assets; see actor_art.h.
#include "actor_art.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

// The player is designed facing up; each other facing is the same figure turned in
// quarter turns clockwise about the picture centre, lit by the same sun.
struct QuarterTurns {
    int turns;

    Vec2 to_design(float x, float y) const {
        float u = x - 16.0f, v = y - 16.0f;
        for (int i = 0; i < turns; ++i) {
            const float t = u;
            u = v;
            v = -t;
        }
        return {u, v};
    }

    Vec2 to_screen(Vec2 design) const {
        for (int i = 0; i < turns; ++i) {
            const float t = design.x;
            design.x = -design.y;
            design.y = t;
        }
        return design;
    }
};

Part turned_dome(const QuarterTurns &turn, Vec2 centre, float rx, float ry, const Ramp &ramp,
                 const Lighting &lighting, float dimming = 1.0f) {
    return {[=](float x, float y) {
                const Vec2 p = turn.to_design(x, y);
                return inside_ellipse(p.x, p.y, centre, rx, ry);
            },
            [=](float x, float y) {
                const Vec2 p = turn.to_design(x, y);
                const float dx = (p.x - centre.x) / rx, dy = (p.y - centre.y) / ry;
                const float dz = std::sqrt(std::max(0.0f, 1.0f - dx * dx - dy * dy));
                const Vec2 n = turn.to_screen({dx, dy});
                return dimming * lighting.brightness(normalised({n.x, n.y, dz + 0.05f}));
            },
            ramp};
}

bool inside_box(float x, float y, float left, float top, float right, float bottom) {
    return x >= left && x < right && y >= top && y < bottom;
}

// A flat panel seen side-on, lighter towards its top edge.
Part panel(float left, float top, float right, float bottom, const Ramp &ramp, float bright,
           float dark) {
    return {[=](float x, float y) { return inside_box(x, y, left, top, right, bottom); },
            [=](float, float y) { return bright + (dark - bright) * (y - top) / (bottom - top); },
            ramp};
}

// A spoked wheel seen side-on; spoke_angle turns it.
Part wheel(Vec2 centre, float radius, float spoke_angle, const GamePalette &palette) {
    return {[=](float x, float y) { return inside_ellipse(x, y, centre, radius, radius); },
            [=](float x, float y) {
                const float dx = x - centre.x, dy = y - centre.y;
                const float r = std::sqrt(dx * dx + dy * dy);
                if (r > radius - 1.1f) {
                    return dy < 0 ? 0.45f : 0.2f; // tyre
                }
                if (r < 1.0f) {
                    return 0.95f; // hub
                }
                float nearest_spoke = 10.0f;
                for (int k = 0; k < 4; ++k) {
                    const float a = spoke_angle + static_cast<float>(k) * pi / 2;
                    const float across = std::fabs(-dx * std::sin(a) + dy * std::cos(a));
                    nearest_spoke = std::min(nearest_spoke, across);
                }
                return nearest_spoke < 0.6f ? 0.8f : 0.35f;
            },
            palette.cherry};
}

} // namespace

void paint_player(IndexedImage &image, int facing, const Placement &at) {
    const GamePalette &palette = game_palette();
    const Lighting lighting;
    const QuarterTurns turn{facing};
    paint(image, turned_dome(turn, {0.0f, 6.8f}, 4.6f, 3.2f, palette.wood, lighting, 0.8f), at);
    paint(image, turned_dome(turn, {-7.2f, -5.6f}, 2.4f, 2.4f, palette.skin, lighting), at);
    paint(image, turned_dome(turn, {7.2f, -5.6f}, 2.4f, 2.4f, palette.skin, lighting), at);
    paint(image, turned_dome(turn, {0.0f, 1.5f}, 10.5f, 5.0f, palette.shirt, lighting), at);
    paint(image, turned_dome(turn, {0.0f, 0.5f}, 5.4f, 5.4f, palette.cap, lighting), at);
    // The cap's white peak sticks out where the figure is heading.
    Part peak = turned_dome(turn, {0.0f, -4.8f}, 4.6f, 4.2f, palette.grey, lighting);
    peak.covers = [turn](float x, float y) {
        const Vec2 p = turn.to_design(x, y);
        return p.y < -3.2f && inside_ellipse(p.x, p.y, {0.0f, -4.8f}, 4.6f, 4.2f);
    };
    // Kept bright whichever way it faces, so the heading reads against the sun.
    const auto dome_light = peak.light;
    peak.light = [dome_light](float x, float y) { return 0.55f + 0.45f * dome_light(x, y); };
    paint(image, peak, at);
}

IndexedImage draw_player(int facing) {
    IndexedImage image(32, 32, GamePalette::transparent);
    paint_player(image, facing, {});
    return image;
}

IndexedImage draw_train(int frame) {
    const GamePalette &palette = game_palette();
    const Lighting lighting;
    IndexedImage image(32, 32, GamePalette::transparent);

    // Smoke puffs rise and drift back from the chimney; three frames make one cycle.
    for (int k = 2; k >= 0; --k) {
        const float s = (static_cast<float>(k) + static_cast<float>(frame) / 3.0f) / 3.0f;
        paint(image, dome({6.5f + 15.0f * s, 6.0f - 4.0f * s}, 1.7f + 1.9f * s, 1.5f + 1.5f * s,
                          palette.smoke, lighting));
    }

    paint(image, rod({7.0f, 14.0f}, {7.0f, 10.0f}, 1.6f, palette.steel, lighting));
    paint(image, dome({7.0f, 9.2f}, 2.8f, 1.3f, palette.steel, lighting));
    paint(image, dome({14.0f, 14.0f}, 2.5f, 2.2f, palette.lemon, lighting));

    const float boiler_axis = 18.0f, boiler_radius = 4.2f;
    paint(image,
          {[=](float x, float y) {
               const bool barrel = inside_box(x, y, 4.0f, boiler_axis - boiler_radius, 21.0f,
                                              boiler_axis + boiler_radius);
               const bool nose = inside_ellipse(x, y, {4.0f, boiler_axis}, 2.2f, boiler_radius);
               return barrel || nose;
           },
           [=](float x, float y) {
               const float across = std::clamp((y - boiler_axis) / boiler_radius, -1.0f, 1.0f);
               const float band =
                   (std::fabs(x - 10.5f) < 0.6f || std::fabs(x - 16.5f) < 0.6f) ? 0.25f : 0.0f;
               const float metal = lighting.brightness(
                   normalised({0.0f, across, std::sqrt(1.0f - across * across) + 0.05f}));
               return 0.75f * metal + band;
           },
           palette.steel});

    paint(image, panel(20.0f, 10.5f, 29.5f, 22.5f, palette.cherry, 0.75f, 0.35f));
    paint(image, panel(22.0f, 12.5f, 27.5f, 16.5f, palette.grape, 0.95f, 0.6f));
    paint(image, panel(19.0f, 8.5f, 30.5f, 10.5f, palette.steel, 0.45f, 0.2f));
    paint(image, panel(1.5f, 22.0f, 30.5f, 24.0f, palette.steel, 0.4f, 0.15f));
    paint(image, {[](float x, float y) {
                      return y >= 24.0f && y < 29.0f && x >= 0.5f && x < 1.5f + (y - 24.0f) * 0.8f;
                  },
                  [](float, float) { return 0.4f; }, palette.steel});

    const float crank = static_cast<float>(frame) * 2.0f * pi / 3.0f;
    const float spokes = static_cast<float>(frame) * pi / 6.0f;
    const float wheel_xs[] = {8.0f, 16.0f, 24.0f};
    for (float x : wheel_xs) {
        paint(image, wheel({x, 27.5f}, 3.4f, spokes, palette));
    }
    const Vec2 pin_offset{1.7f * std::cos(crank), 1.7f * std::sin(crank)};
    paint(image,
          rod({wheel_xs[0] + pin_offset.x, 27.5f + pin_offset.y},
              {wheel_xs[2] + pin_offset.x, 27.5f + pin_offset.y}, 0.6f, palette.steel, lighting));
    return image;
}

IndexedImage draw_shot(int frame) {
    const GamePalette &palette = game_palette();
    IndexedImage image(32, 32, GamePalette::transparent);
    const float phase = static_cast<float>(frame) * 2.1f;
    auto edge = [phase](float angle) {
        return 8.0f + 0.6f * std::sin(3.0f * angle + phase) +
               0.5f * std::sin(5.0f * angle - 2.0f * phase) +
               0.4f * std::sin(8.0f * angle + 3.0f * phase);
    };
    auto polar = [](float x, float y, float &radius, float &angle) {
        const float dx = x - 16.0f, dy = y - 16.0f;
        radius = std::sqrt(dx * dx + dy * dy);
        angle = std::atan2(dy, dx);
    };
    paint(image, {[=](float x, float y) {
                      float r, a;
                      polar(x, y, r, a);
                      return r <= edge(a);
                  },
                  [=](float x, float y) {
                      float r, a;
                      polar(x, y, r, a);
                      return std::pow(1.0f - r / edge(a), 0.7f) * 1.15f;
                  },
                  palette.fire});
    // Sparks thrown off the flame, at different places in each frame.
    for (int k = 0; k < 4; ++k) {
        const float a =
            phase * 1.7f + static_cast<float>(k) * pi / 2.0f + 0.4f * static_cast<float>(frame);
        const float r = 11.5f + static_cast<float>((k + frame) % 3);
        image.set(static_cast<int>(16.0f + r * std::cos(a)),
                  static_cast<int>(16.0f + r * std::sin(a)),
                  palette.fire.shade((k + frame) % 2 == 0 ? 6 : 5));
    }
    return image;
}

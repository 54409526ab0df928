// Shape painting for the sprite pictures; see shape_painter.h.
#include "shape_painter.h"

#include <algorithm>
#include <cmath>
#include <vector>

Vec3 normalised(Vec3 v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float Lighting::brightness(Vec3 normal) const {
    const float diffuse = std::max(0.0f, dot(normal, towards_light));
    const Vec3 halfway = normalised({towards_light.x, towards_light.y, towards_light.z + 1.0f});
    const float specular = std::pow(std::max(0.0f, dot(normal, halfway)), shininess) * gloss;
    return std::clamp(ambient + (1.0f - ambient) * diffuse * 0.85f + specular, 0.0f, 1.0f);
}

void paint(IndexedImage &image, const Part &part, const Placement &placement) {
    const int w = image.width(), h = image.height();
    auto design = [&](int x, int y) {
        return Vec2{(static_cast<float>(x) + 0.5f) / placement.scale - placement.origin.x,
                    (static_cast<float>(y) + 0.5f) / placement.scale - placement.origin.y};
    };
    std::vector<char> covered(static_cast<std::size_t>(w * h), 0);
    auto index = [w](int x, int y) { return static_cast<std::size_t>(y * w + x); };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Vec2 p = design(x, y);
            covered[index(x, y)] = part.covers(p.x, p.y);
        }
    }
    auto is_covered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && covered[index(x, y)];
    };
    const int reach = placement.contour;
    auto near_the_shape = [&](int x, int y) {
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                if (dx * dx + dy * dy <= reach * reach && is_covered(x + dx, y + dy)) {
                    return true;
                }
            }
        }
        return false;
    };
    if (part.outlined) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (!is_covered(x, y) && near_the_shape(x, y)) {
                    image.set(x, y, part.ramp.darkest());
                }
            }
        }
    }
    // Shade 0 is kept for the contour so the body never melts into its own outline.
    const int shades = part.ramp.count - 1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (covered[index(x, y)]) {
                const Vec2 p = design(x, y);
                const float light = part.light(p.x, p.y);
                const int level = 1 + static_cast<int>(std::clamp(light, 0.0f, 0.999f) *
                                                       static_cast<float>(shades));
                image.set(x, y, part.ramp.shade(level));
            }
        }
    }
}

bool inside_ellipse(float x, float y, Vec2 centre, float rx, float ry) {
    const float dx = (x - centre.x) / rx, dy = (y - centre.y) / ry;
    return dx * dx + dy * dy <= 1.0f;
}

float distance_to_segment(Vec2 p, Vec2 a, Vec2 b) {
    const float abx = b.x - a.x, aby = b.y - a.y;
    const float length_squared = abx * abx + aby * aby;
    float t = length_squared > 0 ? ((p.x - a.x) * abx + (p.y - a.y) * aby) / length_squared : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float dx = p.x - (a.x + abx * t), dy = p.y - (a.y + aby * t);
    return std::sqrt(dx * dx + dy * dy);
}

Part dome(Vec2 centre, float rx, float ry, const Ramp &ramp, const Lighting &lighting) {
    return {[=](float x, float y) { return inside_ellipse(x, y, centre, rx, ry); },
            [=](float x, float y) {
                const float dx = (x - centre.x) / rx, dy = (y - centre.y) / ry;
                const float dz = std::sqrt(std::max(0.0f, 1.0f - dx * dx - dy * dy));
                return lighting.brightness(normalised({dx, dy, dz + 0.05f}));
            },
            ramp};
}

Part rod(Vec2 a, Vec2 b, float radius, const Ramp &ramp, const Lighting &lighting) {
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    const Vec2 across = {-(b.y - a.y) / length, (b.x - a.x) / length};
    return {[=](float x, float y) {
                return distance_to_segment({x, y}, a, b) <= radius;
            },
            [=](float x, float y) {
                const float side = ((x - a.x) * across.x + (y - a.y) * across.y) / radius;
                const float s = std::clamp(side, -1.0f, 1.0f);
                const float dz = std::sqrt(1.0f - s * s);
                return lighting.brightness(normalised({across.x * s, across.y * s, dz + 0.05f}));
            },
            ramp};
}

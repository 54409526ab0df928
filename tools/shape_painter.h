// The small toolkit the sprite pictures are drawn with: a shape is a test of which pixels
// it covers plus a lighting function, painted in one ramp of the game palette with a
// one-pixel dark contour around it. Painting shapes back to front gives outlined,
// shaded pixel art. Used by sprite_art.cpp.
#pragma once

#include "indexed_image.h"
#include "palette.h"

#include <functional>

struct Vec2 {
    float x;
    float y;
};

struct Vec3 {
    float x;
    float y;
    float z;
};

Vec3 normalised(Vec3 v);
float dot(Vec3 a, Vec3 b);

// Sunlight from the upper left, shared by every sprite so they all look lit alike.
struct Lighting {
    Vec3 towards_light = normalised({-0.5f, -0.65f, 0.6f});
    float ambient = 0.12f;
    float shininess = 22.0f;
    float gloss = 0.55f;

    // 0 (dark) .. 1 (highlight) for a surface facing `normal` (z towards the viewer).
    float brightness(Vec3 normal) const;
};

struct Part {
    std::function<bool(float x, float y)> covers;
    std::function<float(float x, float y)> light;
    Ramp ramp;
    bool outlined = true;
};

// Where a part designed in units of its own lands on the canvas: the canvas pixel whose
// centre is p shows the design point p / scale - origin. The contour keeps its width in
// canvas pixels whatever the scale, so a picture drawn small stays outlined and one
// drawn large gets a line in proportion. The icon is drawn this way at every size.
struct Placement {
    Vec2 origin{0.0f, 0.0f};
    float scale = 1.0f;
    int contour = 1;
};

// Samples each pixel at its centre. The contour takes the pixels just outside the shape
// (4-neighbours, or all within `contour` pixels), so a part painted over another draws
// its edge across it.
void paint(IndexedImage &image, const Part &part, const Placement &placement = {});

bool inside_ellipse(float x, float y, Vec2 centre, float rx, float ry);
float distance_to_segment(Vec2 p, Vec2 a, Vec2 b);

// A lit ellipsoid seen from above: fruit, heads, wheels.
Part dome(Vec2 centre, float rx, float ry, const Ramp &ramp, const Lighting &lighting);
// A lit round rod between two points: stems, rails of the picture, smoke stacks.
Part rod(Vec2 a, Vec2 b, float radius, const Ramp &ramp, const Lighting &lighting);

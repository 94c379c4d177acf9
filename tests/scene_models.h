// Small hand-built models for the renderer's pixel tests: flat faces at a chosen depth, laid out in
// pixel offsets from the figure's origin, and the scene they render to.
#pragma once

#include "geometry/solidmodel.h"
#include "view/renderer.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace kesmora::testing {

// Appends a flat face at the given depth, with vertices of its own, and the colour number a build
// would give its position. Corners are pixel offsets from the figure's origin.
inline int addFace(Figure& t, const std::vector<std::pair<double, double>>& corners, double depth) {
    const int face = t.faces.size();
    std::vector<int> indices;
    for (const auto& [x, y] : corners) {
        indices.push_back(t.vertices.size());
        t.vertices.push_back({x, y, depth});
    }
    t.faces.push_back(indices);
    t.faceRecords.push_back({{0, 0, depth}, face % 23 + 1});
    return face;
}

inline std::vector<std::pair<double, double>> rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

inline std::vector<std::pair<double, double>> regular(int n, double cx, double cy, double r) {
    std::vector<std::pair<double, double>> corners;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        corners.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    return corners;
}

inline QImage render(const SolidModel& m, DrawMode mode, QSize size = {400, 200}, bool marks = false) {
    RenderSettings settings;
    settings.mode = mode;
    settings.markPoints = marks;
    QImage image;
    SceneRenderer().renderScene(image, size, m, settings);
    return image;
}

// Bounding box of the non-white pixels in columns [x0, x1).
inline QRect inkBox(const QImage& image, int x0, int x1) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
}

inline bool allWhite(const QImage& image) {
    return inkBox(image, 0, image.width()).isNull();
}

} // namespace kesmora::testing

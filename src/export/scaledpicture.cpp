// The picture of the drawing area at another size (scaledpicture.h).
#include "scaledpicture.h"

#include "figurefile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kesmora {

double pictureFactor(QSize shown, QSize size) {
    if (shown.isEmpty() || size.isEmpty()) return 1.0;
    return std::min(static_cast<double>(size.width()) / shown.width(),
                    static_cast<double>(size.height()) / shown.height());
}

ScaledScene scaledScene(const SolidModel& model, const RenderSettings& settings, QSize shown, QSize size) {
    ScaledScene scene{model, settings};
    const double f = pictureFactor(shown, size);
    for (Figure* figure : scene.model.figures())
        for (Point3D& p : figure->vertices)
            p = {p.x * f, p.y * f, p.z * f};
    scene.model.scale *= f;
    scene.settings.lineWidth = std::clamp(static_cast<int>(std::lround(f * settings.lineWidth)), 1, 100);
    return scene;
}

void writeScaledScenePicture(const SolidModel& model, const RenderSettings& settings, QSize shown, QSize size,
                             const std::string& title, const std::string& file, bool svg) {
    if (size.width() < 1 || size.height() < 1 || size.width() > kLargestPictureSide ||
        size.height() > kLargestPictureSide)
        throw std::runtime_error("Ein Bild ist 1 bis 10 000 Bildpunkte breit und hoch.");
    const ScaledScene scene = scaledScene(model, settings, shown, size);
    writeScenePicture(scene.model, scene.settings, size, title, file, svg);
}

} // namespace kesmora

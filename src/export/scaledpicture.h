// The picture of the drawing area at another size than the screen's: the same scene, enlarged as a
// whole, so that it looks like the screen, only sharper.
#pragma once

#include "geometry/solidmodel.h"
#include "view/rendersettings.h"

#include <QSize>

#include <string>

namespace kesmora {

// The largest side a saved picture may have.
inline constexpr int kLargestPictureSide = 10000;

// How much larger a picture of `size` pixels draws the scene shown at `shown`: the smaller of the
// two sides' ratios, so that nothing the screen shows is cut off. 1 for an empty size.
double pictureFactor(QSize shown, QSize size);

// The model and render settings that draw at `size` what `model` and `settings` draw at `shown`: the
// model's vertices enlarged by pictureFactor, the lines and marks as many pixels wide (rounded, at
// least 1). The face records keep their places, so the faces are drawn in the same order.
struct ScaledScene {
    SolidModel model;
    RenderSettings settings;
};
ScaledScene scaledScene(const SolidModel& model, const RenderSettings& settings, QSize shown, QSize size);

// Writes the scene shown at `shown` as a picture of `size` pixels (writeScenePicture with
// scaledScene). Sizes outside 1 to kLargestPictureSide are refused with a German message.
void writeScaledScenePicture(const SolidModel& model, const RenderSettings& settings, QSize shown, QSize size,
                             const std::string& title, const std::string& file, bool svg);

} // namespace kesmora

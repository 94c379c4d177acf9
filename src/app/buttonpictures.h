// Pictures of the flat image buttons, drawn at start so no image files are needed.
#pragma once

#include <QColor>
#include <QIcon>

namespace kesmora {

QIcon enlargePicture();                                 // four arrows pointing out to the corners
QIcon reducePicture();                                  // four arrows pointing in
QIcon resetPicture();                                   // two green circular arrows
QIcon colourButtonPicture(int vertices, QColor colour); // a column of swatches and the vertex count

} // namespace kesmora

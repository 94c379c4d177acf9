// The drawing modes, the face colours and the render settings the window owns and the renderer reads.
#include "rendersettings.h"

namespace kesmora {

namespace {

constexpr std::array<QRgb, 23> kFacePalette{
    qRgb(0, 0, 128),   qRgb(255, 0, 0),   qRgb(255, 0, 255),  qRgb(0, 128, 0),     qRgb(128, 0, 128),
    qRgb(255, 255, 0), qRgb(64, 64, 64),  qRgb(0, 255, 0),    qRgb(204, 204, 204), qRgb(128, 128, 128),
    qRgb(0, 0, 255),   qRgb(128, 0, 0),   qRgb(0, 255, 255),  qRgb(128, 128, 0),   qRgb(192, 192, 192),
    qRgb(0, 128, 128), qRgb(192, 0, 0),   qRgb(0, 192, 0),    qRgb(0, 0, 192),     qRgb(192, 192, 0),
    qRgb(192, 0, 192), qRgb(0, 192, 192), qRgb(204, 255, 255)};

} // namespace

std::string_view drawModeCaption(DrawMode mode) {
    switch (mode) {
    case DrawMode::EdgeModel:
        return "Kantenmodell";
    case DrawMode::HiddenEdges:
        return "verdeckte Kanten";
    case DrawMode::ColouredFaces:
        return "farbige Fl\u00e4chen";
    case DrawMode::MultiColouredFaces:
        return "bunte Fl\u00e4chen";
    case DrawMode::Interpenetration:
        return "Durchdringung ";
    case DrawMode::Interpenetration2:
        return "Durchdringung 2";
    case DrawMode::Interpenetration3:
        return "Durchdringung 3";
    }
    return {};
}

int polygonColourSlot(int vertexCount) {
    for (int slot = 0; slot < static_cast<int>(kPolygonColourVertexCounts.size()); ++slot) {
        if (kPolygonColourVertexCounts[slot] == vertexCount) return slot;
    }
    return -1;
}

QRgb facePaletteColour(int colourNumber) {
    constexpr int n = static_cast<int>(kFacePalette.size());
    const long long index = ((static_cast<long long>(colourNumber) - 1) % n + n) % n;
    return kFacePalette[static_cast<std::size_t>(index)];
}

QRgb RenderSettings::polygonColour(int vertexCount) const {
    const int slot = polygonColourSlot(vertexCount);
    return slot < 0 ? kOtherPolygonColour : polygonColours[slot].rgb();
}

} // namespace kesmora

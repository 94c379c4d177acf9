// The drawing modes, the face colours and the render settings the window owns and the renderer reads.
#pragma once

#include <QColor>
#include <QRgb>

#include <array>
#include <string_view>

namespace kesmora {

// Numbered like the radio buttons RB1 .. rb7 on the mode panel.
enum class DrawMode {
    EdgeModel = 1,          // RB1 "Kantenmodell"
    HiddenEdges = 2,        // RB2 "verdeckte Kanten"
    ColouredFaces = 3,      // RB3 "farbige Flächen"
    MultiColouredFaces = 4, // RB4 "bunte Flächen"
    Interpenetration = 5,   // RB5 "Durchdringung "
    Interpenetration2 = 6,  // Rb6 "Durchdringung 2"
    Interpenetration3 = 7,  // rb7 "Durchdringung 3"
};

inline constexpr std::array<DrawMode, 7> kDrawModes{DrawMode::EdgeModel,        DrawMode::HiddenEdges,
                                                    DrawMode::ColouredFaces,    DrawMode::MultiColouredFaces,
                                                    DrawMode::Interpenetration, DrawMode::Interpenetration2,
                                                    DrawMode::Interpenetration3};

// Radio button caption, UTF-8. RB5's caption really ends in a blank.
std::string_view drawModeCaption(DrawMode mode);

// Vertex counts with a colour of their own in "farbige Flächen", in the order of the colour
// buttons S12, S25, S3, S4, S5, S6, S7.
inline constexpr std::array<int, 7> kPolygonColourVertexCounts{3, 4, 5, 6, 8, 10, 12};
inline constexpr std::array<QColor, 7> kInitialPolygonColours{
    QColor(255, 255, 0), QColor(255, 255, 128), QColor(255, 32, 32), QColor(0, 255, 255),
    QColor(255, 0, 255), QColor(0, 0, 255),     QColor(64, 192, 64)};
inline constexpr QRgb kOtherPolygonColour = qRgb(128, 255, 128); // fixed; no button changes it

// Slot in polygonColours for a face of this many vertices, or -1 for the fixed colour.
int polygonColourSlot(int vertexCount);

// Colour of "bunte Flächen" for a face record's colour number 1 .. 23. Numbers outside that range
// (never produced by a build) wrap around the palette instead of reading past it.
QRgb facePaletteColour(int colourNumber);

inline constexpr QRgb kBackgroundColour = qRgb(255, 255, 255);
inline constexpr QRgb kPenColour = qRgb(0, 0, 0);
inline constexpr QRgb kDualOutlineColour = qRgb(0, 0, 255);
inline constexpr QRgb kMarkColour = qRgb(255, 255, 0);
inline constexpr QRgb kSolidOutlineColour = qRgb(255, 0, 0); // interpenetration modes
inline constexpr QRgb kTintColour = qRgb(160, 255, 160);     // solid fill of "Durchdringung 3"
inline constexpr QRgb kDualFillColour = qRgb(255, 255, 0);   // interpenetration modes

struct RenderSettings {
    DrawMode mode = DrawMode::Interpenetration2; // selected when the window opens
    bool markPoints = false;                     // check box "Punkte markieren"
    std::array<QColor, 7> polygonColours = kInitialPolygonColours;
    // Leave out faces that later faces paint over entirely (occlusion.h). The picture is the same
    // either way; switched off only to check exactly that.
    bool leaveOutCovered = true;
    // Lines, dots and vertex marks are drawn this many pixels wide (a picture saved larger than the
    // screen, drawn with the model enlarged by as much); 1 on screen. Wider lines are drawn by Qt's
    // painter, and no face is left out then.
    int lineWidth = 1;

    QRgb polygonColour(int vertexCount) const;
};

} // namespace kesmora

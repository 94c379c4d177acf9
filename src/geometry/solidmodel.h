// The solid and its dual as the program holds them: fixed-capacity tables that the build fills
// and the view turns and zooms in place.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kesmora {

struct Point3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// A face's centroid and its colour number ((position mod 23) + 1).
struct FaceRecord {
    Point3D centroid;
    std::int32_t colour = 0;
};

inline constexpr int kMaxVertices = 261;   // capacity of a vertex table
inline constexpr int kMaxFaces = 201;      // capacity of a face table
inline constexpr int kMaxNameable = 208;   // vertices a single byte can name (codes 48..255)
inline constexpr int kVertexCodeBase = 48; // vertex i is written as the byte 48 + i
// Screen pixels per model unit that fitting a solid to the picture and "Grundeinstellung" give.
inline constexpr double kResetScale = 120.0;

// A face is the string of its vertices' codes in boundary order; each byte is one vertex.
using FaceString = std::string;

inline constexpr int vertexOfCode(char ch) {
    return static_cast<unsigned char>(ch) - kVertexCodeBase;
}
inline constexpr char codeOfVertex(int i) {
    return static_cast<char>(static_cast<unsigned char>(i + kVertexCodeBase));
}

// Whether a figure's faces close up into one surface that every ray from the vertices' centroid
// meets once (geometry/shape.h), and which faces' boundary order runs against the orientation the
// others share (the face tables keep the order they were given).
struct SurfaceShape {
    bool starShaped = false;
    std::array<bool, kMaxFaces> reversed{};
    // The radius of the ball about the vertices' centroid that lies inside every face's plane, over
    // the distance of vertex 0 from that centroid: turning and zooming leave the ratio as it is.
    double inradiusRatio = 0;
};

struct SolidModel {
    std::array<Point3D, kMaxVertices> vertices{};
    std::int32_t vertexCount = 0;
    std::array<FaceString, kMaxFaces> faces{};
    std::int32_t faceCount = 0;
    std::array<FaceRecord, kMaxFaces> faceRecords{};

    std::array<Point3D, kMaxVertices> dualVertices{};
    std::int32_t dualVertexCount = 0;
    std::array<FaceString, kMaxFaces> dualFaces{};
    std::int32_t dualFaceCount = 0;
    std::array<FaceRecord, kMaxFaces> dualFaceRecords{};

    // Screen pixels per model unit; the vertex tables stand multiplied by it.
    double scale = kResetScale;

    // Set by the build (shape.h) for the solid and for the dual. Turning and zooming keep it; the
    // renderer relies on it only to leave out faces that later faces paint over entirely.
    SurfaceShape shape;
    SurfaceShape dualShape;
};

} // namespace kesmora

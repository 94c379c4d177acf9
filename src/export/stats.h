// Measurements of the solid or its dual: counts, face types, vertex configurations, Euler
// characteristic, edge lengths, dihedral angles, surface and volume, convexity and planarity.
#pragma once

#include "mesh.h"

#include <QJsonObject>

#include <map>
#include <string>
#include <vector>

namespace kesmora {

struct DihedralGroup {
    double degrees = 0;                 // mean of the group
    int count = 0;                      // edges
    std::vector<std::string> faceTypes; // "3-4": the vertex counts of the two faces, smaller first
};

// Edges of one length, within kLengthGroupTolerance of the group's shortest.
struct LengthGroup {
    double length = 0; // mean of the group
    int count = 0;
};

// Vertices with the same faces around them: their corner counts in the order around the vertex,
// written in the smallest of its rotations and reflections (3.4.3.4, not 4.3.4.3).
struct VertexConfiguration {
    std::vector<int> faceSizes;
    int count = 0;
};

// A radius about the centroid of the vertices, in the figure's unit of length (see Stats::unit).
struct RadiusFigure {
    bool measured = false;
    bool exists = false; // all distances one (to 1e-9 of the largest): the sphere exists
    double least = 0;
    double most = 0;
    std::string exact; // closed form of the radius where it exists and one is recognised
};

// The edges of one kind: between faces of these corner counts, at one angle.
struct DihedralClassFigure {
    int smallerFace = 0;
    int largerFace = 0;
    double degrees = 0;
    int count = 0;
    std::string exact; // "arccos(−√5/3)", or empty
};

// The vertices of one kind: the same faces around them at one solid angle.
struct SolidAngleFigure {
    std::vector<int> configuration;
    double steradians = 0;
    int count = 0;
};

struct Stats {
    int vertices = 0;
    int edges = 0;
    int faces = 0;
    std::map<int, int> faceTypes; // vertices per face -> faces
    int euler = 0;
    double shortestEdge = 0;
    double longestEdge = 0;
    std::vector<LengthGroup> edgeLengths; // ascending
    // By the number of faces at the vertex, then by the corner counts. A vertex whose faces do not
    // close around it (an open or pinched surface) lists its faces' corner counts ascending.
    std::vector<VertexConfiguration> vertexConfigurations;
    double surfaceArea = 0;
    double volume = 0; // enclosed by the outward-turned faces; 0 unless closed and oriented
    std::vector<DihedralGroup> dihedrals; // ascending; only edges between two faces
    bool closed = false;
    bool oriented = false; // the faces could be turned outward consistently
    bool convex = false;
    bool planar = false;
    int nonPlanarFaces = 0;
    double worstFlatness = 0; // largest distance of a vertex from its face's plane, per unit of extent
    int degenerateFaces = 0;  // faces without area; never part of planarity, angles or a convex body

    // Symmetry found from the geometry: the group in Schoenflies notation and its order; chiral
    // when it has no mirror, inversion or rotoreflection. Empty name: none could be found (all
    // vertices on one line through the centre).
    std::string symmetryGroup;
    int symmetryOrder = 0;
    bool chiral = false;
    std::string schlaefli; // "{3,5}" for a regular solid, else empty

    // The unit of the figures below: the edge length where all edges are one length, else the
    // longest edge (0 without edges, and then the figures below are not measured).
    double unit = 0;
    bool unitIsEdge = false;
    // A surface that passes through itself (a star polyhedron, a compound): surfaceArea and volume
    // above count overlapping parts several times; the enclosed region's outer hull and volume
    // are measured where that can be done.
    bool piercesItself = false;
    bool enclosedMeasured = false;
    double enclosedSurface = 0;
    double enclosedVolume = 0;
    // Faces by corner count and by how often their boundary winds around their centre (2 for a
    // pentagram).
    std::map<std::pair<int, int>, int> faceKinds;
    // The surface and volume in the unit: of the enclosed region where it was measured, else the
    // sums over the faces.
    double surfaceInUnits = 0;
    double volumeInUnits = 0;
    std::string surfaceExact; // closed forms, or empty
    std::string volumeExact;
    RadiusFigure circumradius; // to the vertices
    RadiusFigure midradius;    // to the lines of the edges
    RadiusFigure inradius;     // to the planes of the faces
    std::vector<DihedralClassFigure> dihedralClasses; // by face pair, then angle
    std::vector<SolidAngleFigure> solidAngles;        // by configuration, then angle
};

// Angles closer than this (in degrees) fall into one group; far above the rounding noise of the
// catalogue's ten-digit coordinates, far below the 0.01 degrees the output shows.
inline constexpr double kAngleGroupTolerance = 0.005;

// Edge lengths closer than this, relative to the longer, count as one length: above the rounding
// of the catalogue's seven-digit blocks, below the four decimals the program shows.
inline constexpr double kLengthGroupTolerance = 1e-5;

Stats measure(Mesh mesh);

// The unit of Stats::unit without the rest of the measurement: the edge length where all edges
// are one length (within kLengthGroupTolerance), else the longest edge; 0 without edges.
struct LengthUnit {
    double length = 0;
    bool isEdge = false;
};
LengthUnit lengthUnit(const Mesh& mesh);
double longestEdgeOf(const Mesh& mesh);

std::string statsText(const Stats& stats, const std::string& title);
QJsonObject statsJson(const Stats& stats);

} // namespace kesmora

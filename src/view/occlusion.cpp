// Faces painted over entirely by later faces of a closed figure around its centroid.
#include "occlusion.h"

#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kesmora {

namespace {

// How far inside the disc of the figure's inscribed ball all corners of a face must lie, in
// pixels: the pixels of its outline have their centres at most 2.2 pixels from the face (a pixel's
// centre lies half a pixel off the point it is drawn for, one more for the corner pixels), and the
// faces cover every pixel centre more than 0.71 inside the figure's outline (the rounding of the
// vertices moves no point of the figure further); the rest is room to spare.
constexpr double kDepthInside = 5.0;

// The reach of a face's pixels beyond the box of its corners.
constexpr int kOutlineReach = 3;

// Each face left out is checked against the box of every folded face, so a figure with many folded
// faces (one of very many small faces, where the rounding folds them by the thousand) would cost
// the product of both; beyond this many nothing is left out, which draws the same picture.
constexpr int kMostFoldedFaces = 64;

// Coordinates far beyond the image were clamped by the projection and no longer describe the figure.
constexpr int kCoordinateLimit = 1 << 19;

int signOf(std::int64_t v) {
    return (v > 0) - (v < 0);
}

// Changes of sign, going round, in a cyclic sequence of -1/0/+1 with the zeros left out.
struct SignChanges {
    int first = 0;
    int last = 0;
    int changes = 0;
    void add(int s) {
        if (s == 0) return;
        if (first == 0)
            first = s;
        else if (s != last)
            ++changes;
        last = s;
    }
    int total() const { return changes + (first != 0 && last != first ? 1 : 0); }
};

constexpr int kFolded = 2; // not a turn: the face is neither convex nor flat

// The turn of a projected face: +1 or -1 for a convex polygon, 0 for one with all its corners on a
// line (it fills nothing), kFolded for anything else (folded by the rounding, or a star).
int convexTurn(const DrawnFigure& figure, FaceView corners, QRect& box) {
    const int n = corners.size();
    const QPoint* screen = figure.screen;
    auto at = [&](int i) { return screen[corners[i % n]]; };
    int turn = 0;
    bool flat = true;
    SignChanges dx, dy;
    QPoint a = at(0), b = at(1);
    int left = a.x(), right = left, top = a.y(), bottom = top;
    for (int i = 0; i < n; ++i) {
        const QPoint c = at(i + 2);
        left = std::min(left, b.x());
        right = std::max(right, b.x());
        top = std::min(top, b.y());
        bottom = std::max(bottom, b.y());
        const std::int64_t cross = static_cast<std::int64_t>(b.x() - a.x()) * (c.y() - b.y()) -
                                   static_cast<std::int64_t>(b.y() - a.y()) * (c.x() - b.x());
        dx.add(signOf(b.x() - a.x()));
        dy.add(signOf(b.y() - a.y()));
        const int s = signOf(cross);
        if (s != 0) {
            flat = false;
            if (turn == 0)
                turn = s;
            else if (s != turn)
                turn = kFolded;
        }
        a = b;
        b = c;
    }
    box = QRect(QPoint(left, top), QPoint(right, bottom));
    if (flat) return 0;
    // A convex polygon runs back and forth once in x and once in y; a star winds more often.
    if (turn == kFolded || dx.total() > 2 || dy.total() > 2) return kFolded;
    return turn;
}

bool cornersValid(FaceView corners, int vertexCount) {
    if (corners.size() < 3) return false;
    for (const int v : corners)
        if (v < 0 || v >= vertexCount) return false;
    return true;
}

} // namespace

void CoveredFaces::clear(int n) {
    marks_.assign(static_cast<std::size_t>(std::max(n, 0)), false);
}

void CoveredFaces::reserve(int n) {
    const auto size = static_cast<std::size_t>(std::max(n, 0));
    marks_.reserve(size);
    if (turns_.size() < size) {
        turns_.resize(size);
        boxes_.resize(size);
        folded_.resize(size);
    }
}

void FrameBuffers::fit(const SolidModel& model) {
    const auto grow = [](auto& buffer, int n) {
        if (buffer.size() < static_cast<std::size_t>(n)) buffer.resize(static_cast<std::size_t>(n));
    };
    grow(solidScreen, model.solid.vertices.size());
    grow(dualScreen, model.dual.vertices.size());
    const int longest = std::max(model.solid.faces.longestFace(), model.dual.faces.longestFace());
    grow(points, longest);
    grow(lines, longest);
    const int faces = std::max(model.solid.faces.size(), model.dual.faces.size());
    solidList.reserve(faces);
    dualList.reserve(faces);
    covered.reserve(faces);
}

int findCoveredFaces(const DrawnFigure& figure, const DepthList& list, int count, QPoint origin,
                     CoveredFaces& covered) {
    covered.clear(count);
    if (!figure.shape.starShaped || !figure.screen || figure.screenOrigin != origin ||
        count != figure.faces.size() || count != list.size() || figure.vertices.size() < 4 ||
        figure.shape.reversed.size() != static_cast<std::size_t>(count))
        return 0;

    // The disc the figure's inscribed ball projects to, about the vertices' centroid.
    double cx = 0, cy = 0, cz = 0;
    for (int v = 0; v < figure.vertices.size(); ++v) {
        cx += figure.vertices[v].x;
        cy += figure.vertices[v].y;
        cz += figure.vertices[v].z;
        if (std::abs(figure.screen[v].x()) > kCoordinateLimit || std::abs(figure.screen[v].y()) > kCoordinateLimit)
            return 0;
    }
    cx /= figure.vertices.size();
    cy /= figure.vertices.size();
    cz /= figure.vertices.size();
    const Point3D& v0 = figure.vertices[0];
    const double reach = std::sqrt((v0.x - cx) * (v0.x - cx) + (v0.y - cy) * (v0.y - cy) + (v0.z - cz) * (v0.z - cz));
    const double radius = figure.shape.inradiusRatio * reach - kDepthInside;
    if (!(radius > 0)) return 0;
    const double centreX = origin.x() + cx;
    const double centreY = origin.y() + cy;
    auto deep = [&](QPoint p) {
        const double dx = p.x() - centreX, dy = p.y() - centreY;
        return dx * dx + dy * dy <= radius * radius;
    };

    // The turn of every face as drawn, oriented alike. A face the rounding has folded fills by
    // another rule than its turn says, so the counts may not cancel within its box: no face whose
    // pixels reach into that box is left out.
    const auto size = static_cast<std::size_t>(count);
    std::vector<signed char>& turns = covered.turns_;
    std::vector<QRect>& boxes = covered.boxes_;
    std::vector<QRect>& folded = covered.folded_;
    if (turns.size() < size) {
        turns.resize(size);
        boxes.resize(size);
        folded.resize(size);
    }
    std::fill(turns.begin(), turns.begin() + static_cast<std::ptrdiff_t>(size), 0);
    int foldedCount = 0;
    for (int j = 0; j < count; ++j) {
        const int face = list[j].face;
        if (face < 0 || face >= figure.faces.size()) return 0;
        const FaceView corners = figure.faces[face];
        if (!cornersValid(corners, figure.vertices.size())) return 0;
        QRect& box = boxes[static_cast<std::size_t>(j)];
        const int turn = convexTurn(figure, corners, box);
        if (turn == kFolded) {
            if (foldedCount == kMostFoldedFaces) return 0;
            folded[static_cast<std::size_t>(foldedCount++)] = box;
            continue;
        }
        turns[static_cast<std::size_t>(j)] =
            static_cast<signed char>(figure.shape.reversed[static_cast<std::size_t>(face)] ? -turn : turn);
    }

    // The faces before the first one turning against the first turning face.
    int first = 0;
    while (first < count && turns[static_cast<std::size_t>(first)] == 0)
        ++first;
    if (first == count) return 0;
    const int way = turns[static_cast<std::size_t>(first)];

    int marked = 0;
    for (int j = first; j < count && turns[static_cast<std::size_t>(j)] != -way; ++j) {
        if (turns[static_cast<std::size_t>(j)] != way) continue;
        const FaceView corners = figure.faces[list[j].face];
        bool inside = std::all_of(corners.begin(), corners.end(), [&](int v) { return deep(figure.screen[v]); });
        if (inside && foldedCount > 0) {
            const QRect reach = boxes[static_cast<std::size_t>(j)].adjusted(-kOutlineReach, -kOutlineReach,
                                                                             kOutlineReach, kOutlineReach);
            for (int k = 0; k < foldedCount && inside; ++k)
                inside = !reach.intersects(folded[static_cast<std::size_t>(k)]);
        }
        if (inside) {
            covered.marks_[static_cast<std::size_t>(j)] = true;
            ++marked;
        }
    }
    return marked;
}

} // namespace kesmora

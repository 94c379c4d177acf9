// The outlines and lines a redraw stroked, kept so that the next redraw can erase them by stroking
// them again in the background colour: the same stroker writes the very same pixels, and an edge
// picture of a small solid is a few thousand of them, against a box of a hundred thousand to clear.
#pragma once

#include <QLine>
#include <QPoint>
#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kesmora {

struct StrokeLog {
    enum class Kind { Lines, Outline, DottedOutline };
    struct Stroke {
        Kind kind;
        int first; // into lines (Lines) or points (outlines)
        int count;
    };
    std::vector<Stroke> strokes;
    std::vector<QLine> lines;
    std::vector<QPoint> points;
    // Every pixel the redraw wrote came from a logged stroke; otherwise the log cannot erase it.
    bool complete = true;
    // About how many pixels the strokes wrote (each segment its longer side) and how many segments
    // they have, to weigh erasing them against whitening their box.
    qint64 length = 0;
    qint64 segments = 0;

    // Empties the log, keeping its storage.
    void clear() {
        strokes.clear();
        lines.clear();
        points.clear();
        complete = true;
        length = 0;
        segments = 0;
    }
    // Room for as much as `other` holds, so that two logs taking turns allocate only while they grow.
    void reserveLike(const StrokeLog& other) {
        strokes.reserve(other.strokes.size());
        lines.reserve(other.lines.size());
        points.reserve(other.points.size());
    }
    // Once the log is incomplete, nothing more is logged.
    void addLines(const QLine* from, int n) {
        if (!complete) return;
        strokes.push_back({Kind::Lines, static_cast<int>(lines.size()), n});
        lines.insert(lines.end(), from, from + n);
        for (int i = 0; i < n; ++i)
            length += segmentLength(from[i].p1(), from[i].p2());
        segments += n;
    }
    void addOutline(const QPoint* from, int n, bool dotted) {
        if (!complete) return;
        strokes.push_back({dotted ? Kind::DottedOutline : Kind::Outline, static_cast<int>(points.size()), n});
        points.insert(points.end(), from, from + n);
        for (int i = 0; i < n; ++i)
            length += segmentLength(from[i], from[(i + 1) % n]);
        segments += n;
    }

  private:
    static qint64 segmentLength(QPoint a, QPoint b) {
        const QPoint d = b - a;
        return std::max(std::abs(qint64{d.x()}), std::abs(qint64{d.y()})) + 1;
    }
};

} // namespace kesmora

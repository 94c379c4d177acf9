// The pixels the direct drawing (directdraw.h) writes: a 32-bit image's scanlines, or a layer of
// one byte per pixel naming a colour.
#pragma once

#include <QtGlobal>

#include <cstdint>

namespace kesmora {

struct StrokeLog;

// The pixels a painter paints on, when they may be written directly.
struct PixelTarget {
    std::uint32_t* bits = nullptr;
    qsizetype stride = 0; // pixels from one scanline to the next
    int width = 0;
    int height = 0;
    // Where set, the strokes written directly are logged here, and anything else marks the log
    // incomplete (strokelog.h).
    StrokeLog* log = nullptr;

    explicit operator bool() const { return bits != nullptr; }
};

// A layer of one byte per pixel naming a colour, 0 for none: the near half of "Durchdringung 3"
// is drawn into one, a quarter of the memory of a 32-bit layer, before it is ANDed into the scene
// (indexlayer.h).
struct IndexTarget {
    std::uint8_t* bits = nullptr;
    qsizetype stride = 0;
    int width = 0;
    int height = 0;
};

// Vertices and line ends farther than this from the image are left to Qt, which clips such
// outlines before it scan-converts them; nearer ones never reach the fixed-point limits of the
// fill and the stroker.
inline constexpr int kDirectCoordinateLimit = 16383;

// Spans are stored with AVX2 where the processor has it; the tests switch that off to check the
// plain stores as well. The switch holds for the whole process.
void allowWideStores(bool allowed);

} // namespace kesmora

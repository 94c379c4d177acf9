// Private to the direct drawing (directdraw.h): the pixel writers the scanline fill, the cosmetic
// stroker and the index layer share, and the run-time switch to AVX2 stores.
#pragma once

#include "pixeltarget.h"

#include <QPoint>
#include <QRgb>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KESMORA_AVX2_SPANS 1
#else
#define KESMORA_AVX2_SPANS 0
#endif

namespace kesmora::directdraw {

inline std::uint32_t opaque(QRgb colour) {
    return colour | 0xFF000000u;
}

inline bool withinLimit(QPoint p) {
    return std::abs(p.x()) <= kDirectCoordinateLimit && std::abs(p.y()) <= kDirectCoordinateLimit;
}

// Pixels p[0 .. length) set to one value. Faces are a few dozen pixels wide, so what counts is few
// branches per row: whole 8-pixel stores, overlapping where the width is not a multiple of 8. Written with
// GCC vector types, so that inside the fill's AVX2 rows the stores are AVX2 ones and elsewhere SSE2.
using Lanes8 = std::uint32_t __attribute__((vector_size(32)));
using Lanes4 = std::uint32_t __attribute__((vector_size(16)));

inline void storeRun(std::uint32_t* p, int length, std::uint32_t value) {
    std::uint32_t* const end = p + length;
    if (length >= 16) {
        const Lanes8 v = Lanes8{} + value;
        if (length <= 32) {
            // the common face width: four stores, no loop to mispredict
            std::memcpy(p, &v, sizeof v);
            std::memcpy(p + 8, &v, sizeof v);
            std::memcpy(end - 16, &v, sizeof v);
            std::memcpy(end - 8, &v, sizeof v);
            return;
        }
        for (std::uint32_t* q = p; q < end - 8; q += 8)
            std::memcpy(q, &v, sizeof v);
        std::memcpy(end - 8, &v, sizeof v);
        return;
    }
    if (length >= 8) {
        const Lanes8 v = Lanes8{} + value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 8, &v, sizeof v);
        return;
    }
    if (length >= 4) {
        const Lanes4 v = Lanes4{} + value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 4, &v, sizeof v);
        return;
    }
    for (int i = 0; i < length; ++i)
        p[i] = value;
}

// Pixels written straight away, in painting order.
struct DirectPixels {
    std::uint32_t* bits;
    qsizetype stride;
    std::uint32_t colour;

    void span(int y, int from, int to) const { storeRun(bits + y * stride + from, to - from, colour); }
    void pixel(int x, int y) const { bits[y * stride + x] = colour; }
};

// Bytes p[0 .. length) set to one value, as storeRun does it for pixels; a library memset call
// per row of a face costs more than the row.
inline void storeBytes(std::uint8_t* p, int length, std::uint8_t value) {
    using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
    using Bytes32 = std::uint8_t __attribute__((vector_size(32)));
    std::uint8_t* const end = p + length;
    if (length >= 16) {
        if (length <= 32) {
            const Bytes16 v = Bytes16{} + value;
            std::memcpy(p, &v, sizeof v);
            std::memcpy(end - 16, &v, sizeof v);
            return;
        }
        const Bytes32 v = Bytes32{} + value;
        for (std::uint8_t* q = p; q < end - 32; q += 32)
            std::memcpy(q, &v, sizeof v);
        std::memcpy(end - 32, &v, sizeof v);
        return;
    }
    if (length >= 8) {
        const std::uint64_t v = 0x0101010101010101u * value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 8, &v, sizeof v);
        return;
    }
    if (length >= 4) {
        const std::uint32_t v = 0x01010101u * value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 4, &v, sizeof v);
        return;
    }
    for (int i = 0; i < length; ++i)
        p[i] = value;
}

// Colour indices of a one-byte layer, written straight away in painting order.
struct IndexPixels {
    std::uint8_t* bits;
    qsizetype stride;
    std::uint8_t colour;

    void span(int y, int from, int to) const { storeBytes(bits + y * stride + from, to - from, colour); }
    void pixel(int x, int y) const { bits[y * stride + x] = colour; }
};

#if KESMORA_AVX2_SPANS
// allowWideStores (pixeltarget.h) sets this one switch for the whole process.
inline std::atomic<bool> wideStoresAllowed{true};

// Whether the wide paths of the fill and the index layer may run: the processor has AVX2 and the
// tests have not switched it off.
inline bool hasAvx2() {
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2 && wideStoresAllowed.load(std::memory_order_relaxed);
}
#endif

} // namespace kesmora::directdraw

// The colour-index layer ANDed into the scene, eight or sixteen pixels at a time where the layer
// is mostly empty.
#include "indexlayer.h"

#include "pixelwrites_p.h"

#include <algorithm>

namespace kesmora {

namespace {

// Per pixel: the colour the layer byte names (all bits set for 0) ANDed in, the byte cleared.
void andPixels(std::uint32_t* to, std::uint8_t* from, int x, int end, const std::uint32_t* colours) {
    for (; x < end; ++x) {
        to[x] &= from[x] ? colours[from[x]] : ~std::uint32_t{0};
        from[x] = 0;
    }
}

void andRows(const PixelTarget& scene, const IndexTarget& layer, QRect box, const std::uint32_t* colours,
             int) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        std::uint32_t* to = scene.bits + static_cast<qsizetype>(y) * scene.stride;
        std::uint8_t* from = layer.bits + static_cast<qsizetype>(y) * layer.stride;
        int x = box.left();
        // whole runs of white skipped eight bytes at a time
        for (; x + 8 <= box.right() + 1; x += 8) {
            std::uint64_t bytes;
            std::memcpy(&bytes, from + x, sizeof bytes);
            if (bytes != 0) andPixels(to, from, x, x + 8, colours);
        }
        andPixels(to, from, x, box.right() + 1, colours);
    }
}

#if KESMORA_AVX2_SPANS
// Eight pixels: the low eight index bytes widened to lanes, each lane's colour chosen by comparison.
__attribute__((target("avx2"))) inline void andEight(std::uint32_t* to, __m128i bytes, const __m256i* colour,
                                                     const __m256i* index, int colourCount) {
    const __m256i lanes = _mm256_cvtepu8_epi32(bytes);
    __m256i mask = _mm256_set1_epi32(-1);
    for (int c = 1; c < colourCount; ++c)
        mask = _mm256_blendv_epi8(mask, colour[c], _mm256_cmpeq_epi32(lanes, index[c]));
    auto* p = reinterpret_cast<__m256i*>(to);
    _mm256_storeu_si256(p, _mm256_and_si256(_mm256_loadu_si256(p), mask));
}

__attribute__((target("avx2"))) void andRowsWide(const PixelTarget& scene, const IndexTarget& layer,
                                                 QRect box, const std::uint32_t* colours, int colourCount) {
    // The colours and their indices as lanes once, not per step (the near half has two).
    constexpr int kHeld = 4;
    if (colourCount > kHeld) {
        andRows(scene, layer, box, colours, colourCount);
        return;
    }
    __m256i colour[kHeld], index[kHeld];
    for (int c = 1; c < colourCount; ++c) {
        colour[c] = _mm256_set1_epi32(static_cast<int>(colours[c]));
        index[c] = _mm256_set1_epi32(c);
    }
    for (int y = box.top(); y <= box.bottom(); ++y) {
        std::uint32_t* to = scene.bits + static_cast<qsizetype>(y) * scene.stride;
        std::uint8_t* from = layer.bits + static_cast<qsizetype>(y) * layer.stride;
        int x = box.left();
        for (; x + 16 <= box.right() + 1; x += 16) {
            auto* q = reinterpret_cast<__m128i*>(from + x);
            const __m128i bytes = _mm_loadu_si128(q);
            if (_mm_testz_si128(bytes, bytes)) continue; // white: nothing to AND, nothing to clear
            andEight(to + x, bytes, colour, index, colourCount);
            andEight(to + x + 8, _mm_srli_si128(bytes, 8), colour, index, colourCount);
            _mm_storeu_si128(q, _mm_setzero_si128());
        }
        andPixels(to, from, x, box.right() + 1, colours);
    }
}
#endif

} // namespace

void andLayer(const PixelTarget& scene, const IndexTarget& layer, QRect box, const std::uint32_t* colours,
              int colourCount) {
    box &= QRect(0, 0, std::min(scene.width, layer.width), std::min(scene.height, layer.height));
    if (box.isEmpty()) return;
#if KESMORA_AVX2_SPANS
    if (directdraw::hasAvx2()) {
        andRowsWide(scene, layer, box, colours, colourCount);
        return;
    }
#endif
    andRows(scene, layer, box, colours, colourCount);
}

} // namespace kesmora

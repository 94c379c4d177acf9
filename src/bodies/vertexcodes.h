// The catalogue's face lines: each byte names one vertex, vertex i as the byte 48 + i, so a face
// line can name 208 vertices; a coordinate block holds at most 261 of them. The catalogue reader
// and the catalogue generator are the only ones that see these codes: everything past the reader
// holds faces as vertex indices.
#pragma once

#include "geometry/dual.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kesmora {

inline constexpr int kMaxVertices = 261;   // vertices a coordinate block may hold
inline constexpr int kMaxNameable = 208;   // vertices a single byte can name (codes 48..255)
inline constexpr int kVertexCodeBase = 48; // vertex i is written as the byte 48 + i

inline constexpr int vertexOfCode(char ch) {
    return static_cast<unsigned char>(ch) - kVertexCodeBase;
}
inline constexpr char codeOfVertex(int i) {
    return static_cast<char>(static_cast<unsigned char>(i + kVertexCodeBase));
}

// A face line's vertices, and the face line of vertices (each below kMaxNameable).
inline std::vector<int> verticesOfCodes(std::string_view codes) {
    std::vector<int> face;
    face.reserve(codes.size());
    for (char ch : codes)
        face.push_back(vertexOfCode(ch));
    return face;
}
template <typename Face> std::string codesOfVertices(const Face& face) {
    std::string codes;
    for (const int v : face)
        codes.push_back(codeOfVertex(v));
    return codes;
}

} // namespace kesmora

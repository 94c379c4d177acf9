// Writing a mesh as OFF, OBJ and STL, with numbers that never follow the locale.
#include "meshfiles.h"

#include "geometry/edgemap.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace kesmora {

namespace {

// The shortest text that reads back as the same double: a file opened again gives the very
// vertices written, however large the coordinates (a polar reciprocal's reach a thousand).
std::string number(double v) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, v);
    return std::string(text, result.ptr);
}

std::string point(const Point3D& p) {
    return number(p.x) + " " + number(p.y) + " " + number(p.z);
}

// Triangles of the fans, each with its unit normal.
struct Triangle {
    Point3D normal, a, b, c;
};
std::vector<Triangle> fans(const Mesh& mesh) {
    std::vector<Triangle> out;
    for (const auto& face : mesh.faces) {
        for (std::size_t i = 1; i + 1 < face.size(); ++i) {
            const Point3D& a = mesh.vertices[face[0]];
            const Point3D& b = mesh.vertices[face[i]];
            const Point3D& c = mesh.vertices[face[i + 1]];
            out.push_back({unit(cross(b - a, c - a)), a, b, c});
        }
    }
    return out;
}

void putFloat(std::ostream& out, double v) {
    const float f = static_cast<float>(v);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    const char bytes[4] = {static_cast<char>(bits & 0xff), static_cast<char>((bits >> 8) & 0xff),
                           static_cast<char>((bits >> 16) & 0xff), static_cast<char>((bits >> 24) & 0xff)};
    out.write(bytes, 4);
}

void putPoint(std::ostream& out, const Point3D& p) {
    putFloat(out, p.x);
    putFloat(out, p.y);
    putFloat(out, p.z);
}

} // namespace

void writeOff(const Mesh& mesh, std::ostream& out) {
    out << "OFF\n"
        << mesh.vertices.size() << ' ' << mesh.faces.size() << ' ' << edgeMap(mesh.faces).edges.size()
        << '\n';
    for (const Point3D& p : mesh.vertices)
        out << point(p) << '\n';
    for (const auto& face : mesh.faces) {
        out << face.size();
        for (int v : face)
            out << ' ' << v;
        out << '\n';
    }
}

void writeObj(const Mesh& mesh, const std::string& title, std::ostream& out) {
    out << "# " << title << "\n# geschrieben von Kesmora; Flächen von außen gesehen gegen den Uhrzeigersinn\n";
    for (const Point3D& p : mesh.vertices)
        out << "v " << point(p) << '\n';
    for (const auto& face : mesh.faces) {
        out << 'f';
        for (int v : face)
            out << ' ' << v + 1;
        out << '\n';
    }
}

void writeStlBinary(const Mesh& mesh, const std::string& title, std::ostream& out) {
    std::array<char, 80> header{};
    const std::string text = "Kesmora: " + title;
    std::memcpy(header.data(), text.data(), std::min(text.size(), header.size()));
    out.write(header.data(), header.size());
    const auto triangles = fans(mesh);
    const auto count = static_cast<std::uint32_t>(triangles.size());
    const char countBytes[4] = {static_cast<char>(count & 0xff), static_cast<char>((count >> 8) & 0xff),
                                static_cast<char>((count >> 16) & 0xff), static_cast<char>(count >> 24)};
    out.write(countBytes, 4);
    for (const Triangle& t : triangles) {
        putPoint(out, t.normal);
        putPoint(out, t.a);
        putPoint(out, t.b);
        putPoint(out, t.c);
        out.write("\0\0", 2);
    }
}

void writeStlAscii(const Mesh& mesh, const std::string& title, std::ostream& out) {
    std::string name = title;
    for (char& ch : name)
        if (ch == ' ' || ch == '\n') ch = '_';
    out << "solid " << name << '\n';
    for (const Triangle& t : fans(mesh)) {
        out << "  facet normal " << point(t.normal) << "\n    outer loop\n";
        for (const Point3D* p : {&t.a, &t.b, &t.c})
            out << "      vertex " << point(*p) << '\n';
        out << "    endloop\n  endfacet\n";
    }
    out << "endsolid " << name << '\n';
}

} // namespace kesmora

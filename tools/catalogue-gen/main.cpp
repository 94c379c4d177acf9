// catalogue-gen --self-test: checks the generator's helpers (see selftest.cpp).
// catalogue-gen OUTDIR: writes OUTDIR/coordinates.txt (CoordTable) and OUTDIR/faces.txt
// (FaceTable) for every body the body lists of categories 0, 2 and 3 offer, deterministically.
//
// Format: blocks "[id]", count line, content lines; each file ends with "[#]"; LF line
// ends; face lines are raw single bytes (vertex i = byte 48 + i). Blocks stand in ascending id
// order.
#include "bodies.h"
#include "layout.h"
#include "selftest.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

void appendLine(std::string& s, const std::string& line) {
    s += line;
    s += '\n';
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: catalogue-gen OUTDIR | catalogue-gen --self-test\n";
        return 2;
    }
    const std::string dir = argv[1];
    if (dir == "--self-test") return gen::runSelfTest(std::cout);
    try {
        const std::vector<gen::CatalogueBody> bodies = gen::catalogueBodies();
        std::string coords, faces;
        for (const gen::CatalogueBody& b : bodies) {
            const std::string header = "[" + std::to_string(b.blockId) + "]";
            if (b.solid.vertices.size() > 120 || b.solid.faces.size() > 120)
                throw std::runtime_error(b.name + ": more than 120 vertices or faces");
            if (!b.generated) {
                appendLine(coords, header);
                if (!b.coordLines.empty()) {
                    appendLine(coords, std::to_string(b.coordLines.size()));
                    for (const std::string& l : b.coordLines)
                        appendLine(coords, l);
                } else {
                    appendLine(coords, std::to_string(b.solid.vertices.size()));
                    for (const kesmora::Point3D& v : b.solid.vertices)
                        appendLine(coords, gen::formatVertex(v));
                }
            }
            appendLine(faces, header);
            if (!b.faceLines.empty()) {
                appendLine(faces, std::to_string(b.faceLines.size()));
                for (const std::string& l : b.faceLines)
                    appendLine(faces, l);
            } else {
                appendLine(faces, std::to_string(b.solid.faces.size()));
                for (const auto& f : b.solid.faces) {
                    if (f.size() < 3) throw std::runtime_error(b.name + ": face with fewer than 3 vertices");
                    const std::string line = gen::faceString(f);
                    if (gen::looksLikeHeader(line))
                        throw std::runtime_error(b.name + ": header-like face line");
                    appendLine(faces, line);
                }
            }
        }
        appendLine(coords, "[#]");
        appendLine(faces, "[#]");
        writeFile(dir + "/coordinates.txt", coords);
        writeFile(dir + "/faces.txt", faces);
    } catch (const std::exception& e) {
        std::cerr << "catalogue-gen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

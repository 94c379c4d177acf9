// The catalogue data as the tests read them: the data files read block by block, the bodies loaded
// from them as the program reads them, and the measures and checks the data tests share; what
// each body is stands in catalogue_expected.h. Tests only.
#pragma once

#include "bodies/dispatch.h"
#include "bodies/vertexcodes.h"
#include "catalogue/tables.h"
#include "catalogue_expected.h"
#include "geometry/dual.h"
#include "geometry/point3d.h"
#include "geometry/solidmodel.h"
#include "tempdir.h"

#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kesmora::test::catalogue {

using kesmora::test::readAll;

// ------------------------------------------------------------------ reading the data files

inline std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            out.push_back(bytes.substr(start));
            break;
        }
        out.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

struct Block {
    int headerLine = -1;
    std::vector<std::string> content;
};

// Walks the table block by block: header "[id]", count, count lines; then "[#]".
struct BlockFile {
    std::vector<std::string> lines;
    std::map<int, Block> blocks;
    std::vector<int> order;
    std::string error;
};

inline BlockFile readBlocks(const std::filesystem::path& path) {
    BlockFile b;
    b.lines = lines(readAll(path));
    std::size_t i = 0;
    const QRegularExpression header(QStringLiteral(R"(^\[(-?[0-9]+)\]$)"));
    while (i < b.lines.size()) {
        if (b.lines[i] == "[#]") {
            if (i + 1 != b.lines.size()) b.error = "lines after [#]";
            return b;
        }
        const QRegularExpressionMatch m = header.match(QString::fromLatin1(b.lines[i]));
        if (!m.hasMatch()) {
            b.error = "no header at line " + std::to_string(i + 1);
            return b;
        }
        const int id = m.captured(1).toInt();
        if (b.blocks.count(id)) {
            b.error = "duplicate block " + std::to_string(id);
            return b;
        }
        if (i + 1 >= b.lines.size()) {
            b.error = "missing count";
            return b;
        }
        const int n = std::stoi(b.lines[i + 1]);
        if (n < 0 || i + 2 + n > b.lines.size()) {
            b.error = "bad count";
            return b;
        }
        Block blk;
        blk.headerLine = static_cast<int>(i);
        for (int k = 0; k < n; ++k)
            blk.content.push_back(b.lines[i + 2 + k]);
        b.blocks[id] = blk;
        b.order.push_back(id);
        i += 2 + n;
    }
    b.error = "no [#] line";
    return b;
}

const BlockFile& coordFile() {
    static const BlockFile f = readBlocks(std::filesystem::path(KESMORA_DATA_DIR) / "coordinates.txt");
    return f;
}
const BlockFile& faceFile() {
    static const BlockFile f = readBlocks(std::filesystem::path(KESMORA_DATA_DIR) / "faces.txt");
    return f;
}

// ------------------------------------------------------------------ geometry helpers

using kesmora::Point3D;

struct Solid {
    std::vector<Point3D> v;
    std::vector<std::vector<int>> f;
    std::vector<std::string> faceLines;
};

// The body as the program reads it: coordinates by ParseCoordinateLine, faces as byte strings.
inline bool loadSolid(const Expected& e, Solid& s, std::string& why) {
    const auto fb = faceFile().blocks.find(e.block);
    if (fb == faceFile().blocks.end()) {
        why = "face block missing";
        return false;
    }
    s.faceLines = fb->second.content;
    if (!e.generated) {
        const auto cb = coordFile().blocks.find(e.block);
        if (cb == coordFile().blocks.end()) {
            why = "coordinate block missing";
            return false;
        }
        for (const std::string& l : cb->second.content) {
            const kesmora::CoordinateTriple p = kesmora::ParseCoordinateLine(l);
            s.v.push_back({p.x, p.y, p.z});
        }
    }
    for (const std::string& l : s.faceLines) {
        std::vector<int> face;
        for (char ch : l)
            face.push_back(kesmora::vertexOfCode(ch));
        s.f.push_back(face);
    }
    return true;
}

inline std::vector<const Expected*> bodies(bool includeGenerated) {
    std::vector<const Expected*> out;
    for (const Expected& e : kExpected) {
        if (e.generated && !includeGenerated) continue;
        if (e.category == 3 && !faceFile().blocks.count(e.block)) continue; // Johnson data not there yet
        out.push_back(&e);
    }
    return out;
}

inline std::map<std::string, int> parseCounts(const std::string& text) {
    std::map<std::string, int> m;
    std::istringstream in(text);
    std::string item;
    while (in >> item) {
        const auto x = item.find('x');
        m[item.substr(x + 1)] += std::stoi(item.substr(0, x));
    }
    return m;
}

using Edge = std::pair<int, int>;
inline Edge edgeOf(int a, int b) {
    return a < b ? Edge{a, b} : Edge{b, a};
}

inline std::map<Edge, std::vector<int>> edgeFaces(const Solid& s) {
    std::map<Edge, std::vector<int>> m;
    for (int i = 0; i < static_cast<int>(s.f.size()); ++i) {
        const auto& face = s.f[i];
        for (std::size_t k = 0; k < face.size(); ++k)
            m[edgeOf(face[k], face[(k + 1) % face.size()])].push_back(i);
    }
    return m;
}

// Canonical vertex configuration: lexicographically smallest rotation or reflection (as numbers).
inline std::string canonical(std::vector<int> seq) {
    std::vector<int> best;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t r = 0; r < seq.size(); ++r) {
            std::rotate(seq.begin(), seq.begin() + 1, seq.end());
            if (best.empty() || seq < best) best = seq;
        }
        std::reverse(seq.begin(), seq.end());
    }
    std::string s;
    for (std::size_t i = 0; i < best.size(); ++i)
        s += (i ? "." : "") + std::to_string(best[i]);
    return s;
}

// Faces around each vertex in cyclic order (via shared edges, whatever the faces' sense); empty
// when they do not form one disc.
inline std::vector<std::vector<int>> facesAround(const Solid& s) {
    const auto ef = edgeFaces(s);
    const int nv = static_cast<int>(s.v.size());
    std::vector<std::vector<int>> out(nv);
    for (int v = 0; v < nv; ++v) {
        std::vector<int> incident;
        for (int i = 0; i < static_cast<int>(s.f.size()); ++i)
            if (std::find(s.f[i].begin(), s.f[i].end(), v) != s.f[i].end()) incident.push_back(i);
        if (incident.empty()) continue;
        std::vector<int> ring{incident[0]};
        int cur = incident[0];
        int cameFrom = -1; // the neighbour vertex of the edge we crossed into cur
        for (std::size_t step = 0; step < incident.size(); ++step) {
            const auto& face = s.f[cur];
            const std::size_t at = std::find(face.begin(), face.end(), v) - face.begin();
            const int a = face[(at + 1) % face.size()], b = face[(at + face.size() - 1) % face.size()];
            const int through = (a == cameFrom) ? b : a;
            const auto it = ef.find(edgeOf(v, through));
            if (it == ef.end() || it->second.size() != 2) break;
            const int other = it->second[0] == cur ? it->second[1] : it->second[0];
            if (other == incident[0]) break;
            ring.push_back(other);
            cur = other;
            cameFrom = through;
        }
        std::set<int> distinct(ring.begin(), ring.end());
        if (ring.size() == incident.size() && distinct.size() == ring.size()) out[v] = ring;
    }
    return out;
}

// Blocks [1] and [3] are kept as the catalogue has always had them; their faces have no consistent
// sense.
inline bool quotedSense(const Expected& e) {
    return e.category == 0 && (e.index == 0 || e.index == 2);
}

inline double sizeOf(const Solid& s) {
    double m = 0;
    for (const Point3D& p : s.v)
        m = std::max(m, norm(p));
    return m;
}

inline Point3D newellNormal(const Solid& s, const std::vector<int>& face) {
    Point3D n;
    for (std::size_t k = 0; k < face.size(); ++k)
        n = n + cross(s.v[face[k]], s.v[face[(k + 1) % face.size()]]);
    return (1 / norm(n)) * n;
}

inline Point3D centroidOf(const Solid& s, const std::vector<int>& face) {
    Point3D c;
    for (int i : face)
        c = c + s.v[i];
    return (1.0 / face.size()) * c;
}

inline std::string label(const Expected& e) {
    return "category " + std::to_string(e.category) + " index " + std::to_string(e.index) + " [" +
           std::to_string(e.block) + "] " + e.name;
}

// Dual construction as the program runs it, on the stored data.
inline std::unique_ptr<kesmora::SolidModel> modelOf(const Solid& s) {
    auto m = std::make_unique<kesmora::SolidModel>();
    m->solid.vertices.resize(static_cast<int>(s.v.size()));
    for (std::size_t i = 0; i < s.v.size(); ++i)
        m->solid.vertices[i] = {s.v[i].x, s.v[i].y, s.v[i].z};
    for (const std::string& line : s.faceLines)
        m->solid.faces.push_back(kesmora::verticesOfCodes(line));
    return m;
}

// ------------------------------------------------------------------ tests: files

// The faces by their number of corners and the vertex configurations, against the table.
inline void expectFaceKindsAndVertexConfigurations(const Solid& s, const Expected& e) {
    std::map<std::string, int> faceCounts;
    for (const auto& face : s.f)
        ++faceCounts[std::to_string(face.size())];
    EXPECT_EQ(faceCounts, parseCounts(e.faces));

    const auto around = facesAround(s);
    std::map<std::string, int> configs;
    for (std::size_t v = 0; v < around.size(); ++v) {
        ASSERT_FALSE(around[v].empty()) << "vertex " << v << " is not surrounded by a disc of faces";
        std::vector<int> sizes;
        for (int f : around[v])
            sizes.push_back(static_cast<int>(s.f[f].size()));
        ++configs["(" + canonical(sizes) + ")"];
    }
    EXPECT_EQ(configs, parseCounts(e.configs));
}

// Every dual face of four or more corners runs along its boundary: consecutive corners are the
// dual vertices of faces that share an edge of the solid.
inline void expectDualFacesFollowTheirBoundary(const Solid& s, const kesmora::SolidModel& m) {
    std::set<std::pair<int, int>> adjacent;
    for (const auto& [edge, fs] : edgeFaces(s))
        if (fs.size() == 2) {
            adjacent.insert({fs[0], fs[1]});
            adjacent.insert({fs[1], fs[0]});
        }
    for (int v = 0; v < m.dual.faces.size(); ++v) {
        const kesmora::FaceView d = m.dual.faces[v];
        if (d.size() < 4) continue;
        for (int k = 0; k < d.size(); ++k) {
            const int a = d[k], b = d[(k + 1) % d.size()];
            EXPECT_TRUE(adjacent.count({a, b}))
                << "dual face of vertex " << v << ": faces " << a << " and " << b << " share no edge";
        }
    }
}

const Expected& find(int category, const std::string& name) {
    for (const Expected& e : kExpected)
        if (e.category == category && name == e.name) return e;
    throw std::runtime_error("no such body " + name);
}

// Runs `check` on every hidden body's stored solid, each under its own trace; a body whose blocks
// cannot be read ends the test.
template <typename F> void forEachHiddenSolid(F&& check) {
    for (const Hidden& h : kHidden) {
        SCOPED_TRACE(label(h.e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(h.e, s, why)) << why;
        check(h, h.e, s);
    }
}

} // namespace kesmora::test::catalogue

// The net folding up into its solid: flat, each piece lies in one plane in the shape it has on the
// paper; folded, every face is where the solid has it; on the way no face changes its shape.
#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/netfold.h"
#include "export/netlayout.h"
#include "geometry/point3d.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cmath>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

SolidModel catalogueBody(Category category, const std::string& utf8Name) {
    static const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    Selection s;
    s.currentCategory = category;
    const std::string name = utf8ToLatin1(utf8Name);
    neuwert(s, tables, name);
    return buildSolid(tables, s, name);
}

double distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

TEST(NetFolding, FlatItIsThePrintedNetFoldedItIsTheSolid) {
    struct Case {
        Category category;
        const char* name;
        NetSide side;
        double edge; // millimetres; 0: as large as a page takes
    };
    for (const Case& c : {Case{Category::Polyeder, "Hexaeder, Würfel", NetSide::Solid, 0},
                          Case{Category::Polyeder, "Ikosaeder", NetSide::Dual, 0},
                          Case{Category::Archimedean, "Ikosidodekaederstumpf", NetSide::Solid, 30},
                          Case{Category::Johnson, "Johnson Polyeder 07", NetSide::Solid, 40}}) {
        SCOPED_TRACE(c.name);
        NetRequest request = netRequest(catalogueBody(c.category, c.name), QString::fromUtf8(c.name), c.side);
        request.edgeMillimetres = c.edge;
        const NetLayout layout = layoutNet(request);
        const NetFolding folding(request.mesh, layout);
        EXPECT_EQ(folding.pieceCount(), layout.pieceCount);
        const Mesh& mesh = request.mesh;

        // Folded: every corner where the solid has it.
        const Mesh folded = folding.at(1, mesh);
        ASSERT_EQ(folded.faces.size(), mesh.faces.size());
        const double size = extent(mesh);
        for (std::size_t f = 0; f < mesh.faces.size(); ++f)
            for (std::size_t k = 0; k < mesh.faces[f].size(); ++k)
                EXPECT_LT(norm(folded.vertices[static_cast<std::size_t>(folded.faces[f][k])] -
                               mesh.vertices[static_cast<std::size_t>(mesh.faces[f][k])]),
                          1e-9 * size);

        // Flat: each piece in one plane, its corners as far apart as on the paper (at one scale).
        const Mesh flat = folding.at(0, mesh);
        double scale = 0;
        for (int piece = 0; piece < layout.pieceCount; ++piece) {
            std::vector<Point3D> points;
            std::vector<QPointF> paper;
            for (std::size_t f = 0; f < layout.faces.size(); ++f) {
                if (layout.faces[f].piece != piece) continue;
                for (std::size_t k = 0; k < flat.faces[f].size(); ++k) {
                    points.push_back(flat.vertices[static_cast<std::size_t>(flat.faces[f][k])]);
                    paper.push_back(layout.faces[f].corners[k]);
                }
            }
            ASSERT_GE(points.size(), 3u);
            // The plane of the first face holds every corner of the piece.
            const Point3D n = unit(cross(points[1] - points[0], points[2] - points[0]));
            for (const Point3D& p : points)
                EXPECT_LT(std::fabs(dot(n, p - points[0])), 1e-9 * size);
            // The first piece faces the viewer, who looks along z.
            if (piece == layout.faces[0].piece) {
                EXPECT_GT(std::fabs(n.z), 1 - 1e-9);
            }
            for (std::size_t i = 0; i < points.size(); i += 3)
                for (std::size_t j = i + 1; j < points.size(); j += 5) {
                    const double onPaper = distance(paper[i], paper[j]);
                    if (onPaper < 1e-6) continue;
                    const double ratio = norm(points[i] - points[j]) / onPaper;
                    if (scale == 0) scale = ratio;
                    EXPECT_NEAR(ratio / scale, 1, 1e-9);
                }
        }

        // On the way every face keeps its shape: all sides shrink by the one factor that keeps the
        // figure as large as the solid.
        const Mesh half = folding.at(0.5, mesh);
        double factor = 0;
        for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
            const auto& a = folded.faces[f];
            const auto& b = half.faces[f];
            for (std::size_t k = 0; k < a.size(); ++k)
                for (std::size_t l = k + 1; l < a.size(); ++l) {
                    const double before = norm(folded.vertices[static_cast<std::size_t>(a[k])] -
                                               folded.vertices[static_cast<std::size_t>(a[l])]);
                    const double after = norm(half.vertices[static_cast<std::size_t>(b[k])] -
                                              half.vertices[static_cast<std::size_t>(b[l])]);
                    if (factor == 0) factor = after / before;
                    EXPECT_NEAR(after / before / factor, 1, 1e-9);
                }
        }
        EXPECT_GT(factor, 0);
        EXPECT_LE(factor, 1 + 1e-12);
    }
}

TEST(NetFolding, ANetOfAnotherBodyIsRefused) {
    const NetRequest cube = netRequest(catalogueBody(Category::Polyeder, "Hexaeder, Würfel"), "Würfel", NetSide::Solid);
    const NetRequest ico = netRequest(catalogueBody(Category::Polyeder, "Ikosaeder"), "Ikosaeder", NetSide::Solid);
    EXPECT_THROW(NetFolding(ico.mesh, layoutNet(cube)), NetError);
    const NetFolding folding(cube.mesh, layoutNet(cube));
    EXPECT_THROW(folding.at(0.5, ico.mesh), NetError);
}

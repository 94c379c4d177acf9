// Pages and pieces of the nets of every listed body and of every flat dual at 30, 40 and 60 mm
// edges on A4, beside the pages the faces alone would take: the table in bench/RESULTS.md.
//
//   build/bench/kesmora-net-sheets > sheets.md
#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/netlayout.h"
#include "geometry/edgemap.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

using namespace kesmora;

namespace {

// The faces' area on paper at the net's scale, in mm².
double faceArea(const NetLayout& net) {
    double sum = 0;
    for (const NetFace& f : net.faces) {
        double twice = 0;
        const Polygon& c = f.corners;
        for (std::size_t k = 0; k < c.size(); ++k)
            twice += c[k].x() * c[(k + 1) % c.size()].y() - c[(k + 1) % c.size()].x() * c[k].y();
        sum += std::fabs(twice) / 2;
    }
    return sum;
}

} // namespace

int main() {
    const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    std::printf("| body | edge mm | faces / A4 | bound | at least | pages | pieces | ms |\n"
                "|---|---|---|---|---|---|---|---|\n");
    int laidOut = 0, overBound = 0, overLeast = 0, pageSum = 0, pieceSum = 0;
    double seconds = 0;
    for (Category category : kCategories)
        for (const std::string& name : fillBodyList(tables, category)) {
            Selection s;
            s.currentCategory = category;
            neuwert(s, tables, name);
            const SolidModel model = buildSolid(tables, s, name);
            const QString shown = QString::fromStdString(latin1ToUtf8(name));
            for (const NetSide side : {NetSide::Solid, NetSide::Dual}) {
                NetRequest r;
                try {
                    r = netRequest(model, shown, side);
                } catch (const NetError&) {
                    continue;
                }
                for (const double edge : {30.0, 40.0, 60.0}) {
                    r.edgeMillimetres = edge;
                    const std::string what = latin1ToUtf8(name) + (side == NetSide::Dual ? " (dual)" : "");
                    const auto start = std::chrono::steady_clock::now();
                    try {
                        const NetLayout net = layoutNet(r);
                        const double ms =
                            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                                .count();
                        seconds += ms / 1000;
                        const double pages = faceArea(net) / 52630;
                        const int bound = static_cast<int>(std::ceil(1.75 * pages - 1e-9));
                        // Faces too large to share a sheet: no packing does with fewer.
                        const int least = sheetsAtLeast(net);
                        ++laidOut;
                        overBound += net.sheetCount > bound;
                        overLeast += net.sheetCount > std::max(bound, least);
                        pageSum += net.sheetCount;
                        pieceSum += net.pieceCount;
                        std::printf("| %s | %.0f | %.2f | %d | %d | %d%s | %d | %.0f |\n", what.c_str(), edge,
                                    pages, bound, least, net.sheetCount,
                                    net.sheetCount > std::max(bound, least) ? " (over)"
                                    : net.sheetCount > bound                ? " (faces too large)"
                                                                            : "",
                                    net.pieceCount, ms);
                    } catch (const NetError& e) {
                        if (e.kind == NetError::Kind::Warped || e.kind == NetError::Kind::NotConvex) break;
                        std::printf("| %s | %.0f | – | – | – | refused: %s | | |\n", what.c_str(), edge,
                                    e.what());
                    }
                }
            }
        }
    std::printf("\n%d nets, %d pages, %d pieces, %d over the bound, %d of them where no packing keeps it, "
                "%.1f s laying them out\n",
                laidOut, pageSum, pieceSum, overBound, overBound - overLeast, seconds);
    return 0;
}

// The net command: a body's solid, dual or polar reciprocal unfolded onto a page of SVG.
#include "net.h"

#include "catalogue/latin1.h"
#include "export/netpage.h"
#include "export/unfold.h"
#include "session.h"

namespace kesmora::inspect {

Options netOptions() {
    return bodyCommand("net")
        .flag("--dual")
        .flag("--reciprocal")
        .exclusive("--dual", "--reciprocal")
        .size("--page", 50, 10000, "millimetres")
        .text("-o", "FILE.svg")
        .required();
}

int netCommand(const CatalogueTables& tables, const CommandLine& line) {
    const int category = line.number("CATEGORY", 0);
    const std::string name = utf8ToLatin1(line.text("NAME"));
    const bool dual = line.given("--dual"), reciprocal = line.given("--reciprocal");
    const Size pageSize = line.size("--page", {210, 297});
    const double pageWidth = pageSize.width, pageHeight = pageSize.height;
    const std::string out = line.text("-o");
    const BuiltBody body = buildAsTheWindowDoes(tables, category, name,
                                                reciprocal ? DualKind::PolarReciprocal : DualKind::Catalogue);
    const std::string shown = latin1ToUtf8(name);

    Mesh solid = solidMesh(body.model);
    if (!orientOutward(solid) || !isClosed(solid))
        throw std::runtime_error("the faces of " + shown + " do not close up into a solid");
    Mesh mesh;
    std::string title;
    if (reciprocal) {
        mesh = dualMesh(body.model);
        if (!orientOutward(mesh) || !isClosed(mesh))
            throw std::runtime_error("the reciprocal of " + shown + " does not close up");
        title = shown + ": polar reciprocal";
    } else if (dual) {
        mesh = dualMesh(body.model);
        if (!orientOutward(mesh) || !isClosed(mesh))
            throw std::runtime_error("the dual of " + shown + " does not close up into a solid");
        title = shown + (category == 3 ? ": quasi-dual" : ": dual");
    } else {
        mesh = solid;
        title = shown;
    }
    int warped = 0;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        if (flatness(mesh, f) > 1e-6 * extent(mesh)) ++warped;
    if (warped > 0)
        throw std::runtime_error(
            title + " has " + std::to_string(warped) + " warped faces, which no sheet of paper folds into" +
            (dual ? "; --reciprocal gives the polar reciprocal, whose faces are flat" : ""));
    for (const Polygon& p : flatFaces(mesh))
        if (!isConvex(p, 1e-9 * extent(mesh)))
            throw std::runtime_error(title +
                                     " has a face that is not convex; nets are made of convex faces only");

    const auto net = unfold(mesh);
    if (!net)
        throw std::runtime_error("no spanning tree of the faces of " + title + " unfolds without overlaps");
    writeNetPage(mesh, *net, QSizeF(pageWidth, pageHeight), title + " \u2013 net", out);
    return 0;
}

} // namespace kesmora::inspect

// The net command: a body's solid, dual or polar reciprocal laid out on sheets of SVG or PDF.
#include "net.h"

#include "export/netlayout.h"
#include "export/netpage.h"
#include "export/output.h"
#include "session.h"

#include <QFileInfo>

namespace kesmora::inspect {

Options netOptions() {
    return bodyCommand("net")
        .flag("--dual")
        .flag("--reciprocal")
        .exclusive("--dual", "--reciprocal")
        .size("--page", 50, 10000, "Millimetern")
        .whole("--edge", 1, 10000)
        .choice("--tabs", {{"one", static_cast<int>(NetTabs::OneSide)},
                           {"both", static_cast<int>(NetTabs::BothSides)},
                           {"alternating", static_cast<int>(NetTabs::Alternating)}})
        .text("-o", "DATEI.svg|DATEI.pdf")
        .required()
        .check([](const CommandLine& line) {
            const std::string out = line.text("-o");
            const QString suffix = QFileInfo(QString::fromStdString(out)).suffix().toLower();
            if (!isStandardOutput(out) && !suffix.isEmpty() && suffix != "svg" && suffix != "pdf")
                throw Usage("-o von net nimmt DATEI.svg oder DATEI.pdf, nicht \"" + out + "\"");
        });
}

int netCommand(Catalogue& catalogue, const CommandLine& line) {
    const bool dual = line.given("--dual"), reciprocal = line.given("--reciprocal");
    const Size page = line.size("--page", {210, 297});
    const std::string out = line.text("-o");
    const BuiltBody body = buildNamedBody(catalogue, line, HiddenBodies::LeftOut,
                                          reciprocal ? DualKind::PolarReciprocal : DualKind::Catalogue);

    NetRequest request = netRequest(body.model, QString::fromStdString(body.shownName()),
                                    reciprocal ? NetSide::Reciprocal
                                    : dual     ? NetSide::Dual
                                               : NetSide::Solid);
    request.edgeMillimetres = line.number("--edge", 0);
    request.pageMillimetres = QSizeF(page.width, page.height);
    request.tabs = static_cast<NetTabs>(line.number("--tabs", static_cast<int>(NetTabs::OneSide)));
    try {
        writeNet(layoutNet(request), out);
    } catch (const NetError& e) {
        if (dual && e.kind == NetError::Kind::Warped)
            throw std::runtime_error(
                std::string(e.what()) +
                " Mit --reciprocal entsteht der polar reziproke Körper, dessen Flächen eben sind.");
        throw;
    }
    return 0;
}

} // namespace kesmora::inspect

// Nets a model builder can cut out and glue: the unfolded faces at a real size, split into pieces
// that fit the page where needed, a tab on one side of every glue edge and the same number on both
// sides of it. The inspector and the window lay out, paint and save nets with the same calls:
//
//   const NetLayout net = layoutNet(netRequest(model, name, NetSide::Dual));
//   writeNet(net, "netz.pdf");                  // export/netpage.h: .svg (-1, -2 … per sheet) or .pdf
//   paintNetSheets(printer, net);              // any QPagedPaintDevice, each sheet fitted to its page
#pragma once

#include "mesh.h"
#include "unfold.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <stdexcept>
#include <string>
#include <vector>

namespace kesmora {

enum class NetSide { Solid, Dual, Reciprocal };

// Where the glue tabs go: on one side of every glue edge; on both (glued to each other, for thick
// card); or on one side, the sides taking turns along the edges.
enum class NetTabs { OneSide, BothSides, Alternating };

// Why a body has no net; the text (German, UTF-8) is for the user.
struct NetError : std::runtime_error {
    enum class Kind { NotClosed, Warped, NotConvex, NoNet, TooLarge, TooSmall };
    NetError(Kind kind, const QString& text) : std::runtime_error(text.toStdString()), kind(kind) {}
    Kind kind;
};

struct NetRequest {
    Mesh mesh;        // closed, faces turned outward; netRequest() makes it from a model
    QString bodyName; // the catalogue name, for the title
    NetSide side = NetSide::Solid;
    // What the dual or reciprocal side is, which names it in the title; netRequest() takes the
    // model's for the dual.
    DualShape dualShape = DualShape::Plain;
    double edgeMillimetres = 0; // the longest edge on paper; 0: as large as one page takes
    QSizeF pageMillimetres{210, 297};
    NetTabs tabs = NetTabs::OneSide;
};

// The solid, the dual or the polar reciprocal of the model as a mesh turned outward; throws
// NetError when its faces do not close up.
NetRequest netRequest(const SolidModel& model, const QString& bodyName, NetSide side);

// A face on its sheet: corners in the mesh face's order, in millimetres from the sheet's top left.
struct NetFace {
    int sheet = 0;
    int piece = 0; // numbered across all sheets
    Polygon corners;
};

// A glue tab on side `side` of face `face` (from its corner side to side + 1); corners 0 and 1 are
// the ends of that side.
struct NetTab {
    int face = 0;
    int side = 0;
    Polygon corners;
};

// The number of a glue edge written inside a face, along its side: `at` is the middle of the
// text, `degrees` its turn on the page (clockwise, y downward), `height` the text height in mm.
struct NetLabel {
    int face = 0;
    int side = 0;
    int number = 0;
    QPointF at;
    double degrees = 0;
    double height = 0;
    // Underlined where the number, upside down, reads as another one (6 and 9, 16 and 91 …).
    bool underlined = false;
    // The sheet the partner side is on, where that is another sheet; -1 otherwise.
    int partnerSheet = -1;
    bool compact = false; // the partner's sheet written short ("17→3") where the side is short
};

// Whether the number, turned upside down, reads as a different number: only 0, 1, 6, 8 and 9 read
// as digits that way, 6 and 9 as each other.
bool readsAsAnotherUpsideDown(int number);

// The text of a glue number: "17", or "17 → S. 3" where the partner side is on sheet 3.
QString labelText(const NetLabel& label);

struct NetLine {
    int sheet = 0;
    QPointF a, b;
};

struct NetLayout {
    QString title;              // "Kuboktaeder – Netz"
    std::vector<QString> hints; // the instruction lines under the title
    QSizeF pageMillimetres;
    QRectF header, footer; // where title and hints, and the page line go on every sheet
    int sheetCount = 0;
    int pieceCount = 0;
    double millimetresPerUnit = 0; // the mesh's lengths times this are the lengths on paper
    double longestEdge = 0;        // in millimetres on paper, printed on every sheet with a check bar
    std::vector<NetFace> faces;    // one per mesh face, in mesh order
    std::vector<NetTab> tabs;
    std::vector<NetLabel> labels;
    std::vector<std::vector<int>> sideNumbers; // per face and side: the glue number, 0 on a fold
    std::vector<NetLine> folds, valleys;       // valleys fold the other way, where the surface bends in
    std::string tree;                          // which spanning tree gave the net, for the record
};

// The checks of layoutNet that need no layout: a closed surface of flat convex faces. Throws
// NetError with the German reason where the figure has no net.
void checkNetFaces(const NetRequest& request);

// Lays the net out, in pieces where it does not fit the page or where no net in one piece has room
// for a tab on every glue edge; throws NetError with a German message when the body has no net or,
// at the asked edge length, a face does not fit on the page.
NetLayout layoutNet(const NetRequest& request);

// The fewest sheets the net's faces can go on however they are cut and packed, in the room between
// header and footer: faces so large that no two share a sheet take one each.
int sheetsAtLeast(const NetLayout& net);

// Text of the page number line: "Seite 1 von 3".
QString pageLine(int sheet, int sheetCount);

// Text beside the 10 mm check bar: "Längste Kante 30 mm" ("47,5 mm" where not whole).
QString scaleLine(double longestEdge);

} // namespace kesmora

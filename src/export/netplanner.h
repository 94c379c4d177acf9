// The plan of one net before it goes on the sheets: the unfolded faces at their size on paper, the
// pieces they are cut into so that each fits the page, the folds, and a glue tab on every glue edge.
#pragma once

#include "mesh.h"
#include "netlayout.h"
#include "netplane.h"
#include "unfold.h"

#include "geometry/edgemap.h"

#include <QPointF>
#include <QSizeF>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace kesmora::nets {

struct Tab {
    FaceSide side;
    Polygon corners;
};

// Everything about one net before it goes on the sheets, in millimetres, mirrored for the page.
struct Plan {
    Net net;
    std::vector<Polygon> faces;
    std::vector<int> pieceOf;
    int pieces = 1;
    std::vector<bool> fold; // per edge
    std::vector<Tab> tabs;
};

// Plans the nets of one mesh for a page with room `room` (the area the pieces and their tabs go
// in); `edgeMillimetres` is the longest edge on paper, 0 for as large as the page takes.
class Planner {
  public:
    Planner(const Mesh& mesh, double edgeMillimetres, QSizeF room, NetTabs tabs = NetTabs::OneSide);

    double longest() const { return longest_; }
    double shortest() const { return shortest_; }
    const EdgeMap& map() const { return map_; }

    // Whether every face, alone, fits the page at the asked size.
    bool facesFit() const;

    // The net in one piece, or in the pieces the page asks for, with a tab on every glue edge;
    // nothing where a tab has no room, or, with `refuseSlits`, where a cut leaves a narrow slit
    // (`slit`, when given, then tells that every tab had room and only the slit stood in the way).
    std::optional<Plan> plan(const Net& net, bool refuseSlits, bool* slit = nullptr) const;

    // The net cut into more pieces until each has room for its tabs and none has a slit: each time
    // the two faces in the way of each other go to different pieces, at worst down to single faces.
    // The cuts stay in `net`. Without a length asked for, the scale is `shrink` times the one at
    // which the whole net fits the page.
    std::optional<Plan> planInPieces(Net& net, double shrink) const;

    // How a piece chooses the face it grows by.
    enum class Growth {
        Round,  // the face whose middle comes nearest the piece's
        Filling // the face that adds least to the piece's hull beyond its own area
    };

    // The net in compact pieces, each as large as the page takes: a piece grows from a face with few
    // faces left around it, one face at a time as `growth` chooses, as long as that face lies on no
    // other, leaves no slit narrower than a tab and the piece still fits the page, its hull no
    // larger than `share` of the page's room; then the next piece starts. Only with an edge length
    // asked for.
    Net compactPieces(double share = 1, Growth growth = Growth::Round) const;

    // Cuts piece `piece` of the plan in two at the fold that leaves the two halves nearest in size;
    // the cut stays in `net`, the plan's net or a copy of it. False for a piece of one face.
    static bool halve(Net& net, const Plan& p, int piece);

    // Joins the pieces of faces f and g of the plan along their glue edge `e`: g's piece turned and
    // moved onto f's side of it, its tree hung from g. False where its faces would then lie on
    // f's piece. The change stays in `net`, a copy of the plan's.
    bool join(Net& net, const Plan& p, int e) const;

    // The plan's scale: millimetres per unit of the mesh.
    double scaleOf(const Plan& p) const;

  private:
    Plan laidOut(const Net& net, double shrink) const;
    static bool separate(Net& net, const Plan& p, int a, int b);
    std::vector<QPointF> cornersOf(const Plan& p, const std::vector<int>& faces) const;
    void split(Plan& p) const;
    std::optional<std::pair<int, int>> slitIn(const Plan& p) const;
    std::optional<Polygon> tabShape(const Plan& p, FaceSide s, FaceSide t, double share, double leanA,
                                    double leanB) const;
    bool placeTabs(Plan& p, std::pair<int, int>* apart = nullptr) const;
    template <class InTheWay>
    std::pair<int, int> inTheWayOf(const Plan& p, const MeshEdge& m,
                                   const std::vector<std::pair<double, double>>& leans,
                                   const InTheWay& inTheWay) const;

    const Mesh& mesh_;
    EdgeMap map_;
    std::vector<Polygon> flat_;
    double edge_;
    QSizeF room_;
    double longest_ = 0;
    double shortest_ = INFINITY;
    NetTabs tabs_;
};

} // namespace kesmora::nets

// The net shown folding up by "Ansicht › Netz falten", and the body it was made for.
#pragma once

#include "export/netfold.h"
#include "mainwindow.h"

namespace kesmora {

struct TMainForm::ShownFolding {
    NetFolding folding;
    BodySource body;
    int pieces = 0;
    Dialogs::NetChoice choice; // the figure, edge length and tabs of the net
    bool ofDual = false;       // the dual's net, folding in the dual's place
};

} // namespace kesmora

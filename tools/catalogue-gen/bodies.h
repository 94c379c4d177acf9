// The bodies the catalogue lists, with their block ids, built from constructions.
#pragma once

#include "catalogue/category.h"
#include "geom.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace gen {

struct CatalogueBody {
    int category = 0;       // 0 "Polyeder", 2 "Archimedische Körper", 3 "Johnson Polyeder"
    int index = 0;          // bodyIndex: position in the catalogue section, excluded names counted
    std::string name;       // UTF-8 here; only used for messages and the "Antiprisma" test
    int blockId = 0;        // CoordTable and FaceTable block id
    bool generated = false; // vertices from the parametric generators: face block only
    Polyhedron solid;       // faces CCW from outside; vertices empty for generated bodies
    // Verbatim lines for the blocks the catalogue description quotes (empty: from `solid`).
    std::vector<std::string> coordLines;
    std::vector<std::string> faceLines;
};

// Block id of a body, as the program's build looks it up.
int blockIdOf(int category, int index);
// The category the window offers for a catalogue section; throws for a section it does not offer.
inline kesmora::Category offeredCategory(int section) {
    const auto category = kesmora::categoryOfSection(section);
    if (!category) throw std::runtime_error("section " + std::to_string(section) + " is not offered");
    return *category;
}

// Catalogue index (category 3) of "Johnson Polyeder NN"; -1 if the number is not in the list.
int johnsonIndexOf(int number);

// Every body of categories 0, 2 and 3, listed or hidden by excluded.txt, ready to be written
// (oriented; the listed ones with their face order prepared for the dual construction).
std::vector<CatalogueBody> catalogueBodies();

} // namespace gen

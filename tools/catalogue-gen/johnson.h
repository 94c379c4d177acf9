// The Johnson solids of the catalogue, built from constructions.
#pragma once

#include "geom.h"

#include <string>
#include <vector>

namespace gen {

struct JohnsonBody {
    int number = 0;   // standard Johnson number, 1..92
    Polyhedron solid; // unit edge, centred, stored orientation applied
};

// Every Johnson solid the catalogue lists (77 of them), in ascending Johnson number.
std::vector<JohnsonBody> johnsonBodies();

// The 15 Johnson solids excluded.txt hides, ascending, ready for the tables; their face order is
// left as the hull gives it (see avoidHeaderLines).
std::vector<JohnsonBody> hiddenJohnsonBodies();
std::vector<int> hiddenJohnsonNumbers();

// The listed Johnson numbers, ascending.
std::vector<int> johnsonNumbers();
// One listed solid, ready for the tables (as johnsonBodies gives it).
Polyhedron johnsonSolid(int number);
// Position of "Johnson Polyeder NN" in the category-3 list (excluded names counted), and the name.
int johnsonBodyIndex(int number);
std::string johnsonName(int number);

} // namespace gen

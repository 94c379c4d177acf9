// One run of the catalogue fuzzer: arbitrary bytes taken as the four tables, every offered body
// built, checked and drawn. Shared by the libFuzzer target and the plain corpus test.
#pragma once

#include "geometry/solidmodel.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace kesmora::fuzz {

// Separates the four tables in an input, in the order coordinates, faces, excluded names,
// catalogue. Missing tables are empty.
inline constexpr std::string_view kSeparator = "\n%%%%\n";

std::string joinTables(std::string_view coords, std::string_view faces, std::string_view excluded,
                       std::string_view catalogue);

struct Outcome {
    int offered = 0;       // bodies the three body lists offered
    int built = 0;         // bodies built and drawn, the hidden ones included
    int refused = 0;       // stopped by a catalogue or geometry error, as a user would see it
    int sections = 0;      // categories whose body list could be filled
    int hiddenOffered = 0; // bodies the lists offer only with "ausgeblendete Körper zeigen"
    int hiddenBuilt = 0;   // of these, built and drawn
};

// Empty when the model holds what every later step relies on (counts within the tables, every
// face character naming a loaded vertex, finite coordinates); otherwise what is wrong.
std::string modelFault(const SolidModel& model);

// A broken model or an error message without its file: thrown so that the fuzzer stops on it and
// the corpus test reports it.
struct Fault : std::logic_error {
    using std::logic_error::logic_error;
};

// At most this many bodies per category are built, so that a table of a hundred thousand names
// does not turn one input into minutes of work; the real catalogue offers at most 77.
inline constexpr int kMaxBodiesPerCategory = 300;

// Loads the tables from `input`, fills the body list of categories 0, 2 and 3 as
// "ausgeblendete Körper zeigen" fills them, the hidden bodies included, and for each offered body
// takes it over, builds it, turns and zooms it and draws it into a small image in one of the seven
// modes. Catalogue and geometry errors are what a user would see as a message
// and count as refused; a Fault, any other exception or a sanitizer report is a finding.
Outcome exercise(std::string_view input);

} // namespace kesmora::fuzz

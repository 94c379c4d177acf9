// One run of the polyhedron-file fuzzer: arbitrary bytes taken as an OFF or OBJ file, read, built
// with both duals, measured, written in every format and the written OFF and OBJ read again.
// Shared by the libFuzzer target and the plain corpus test.
#pragma once

#include <string_view>

namespace kesmora::fuzz {

struct FileOutcome {
    bool read = false;    // the text read as a polyhedron file
    int built = 0;        // builds that gave a model: with the dual from the face centroids, with the reciprocal
    int reciprocals = 0;  // of these, the polar reciprocal built as the dual
    int written = 0;      // files written of the solid and the dual, in the four formats
    int readAgain = 0;    // of these, OFF and OBJ read back with the same counts
};

// Reads `input` as a polyhedron file (OFF where its first word ends in "OFF", otherwise OBJ),
// builds it with the dual from the face centroids and with the polar reciprocal, measures solid
// and dual as the properties window does, writes both in every export format and reads the OFF
// and OBJ back. A PolyhedronFileError or GeometryError with a message is what a user would see
// and ends the run; a Fault (fuzz_entry.h), any other exception or a sanitizer report is a finding.
FileOutcome exerciseFile(std::string_view input);

} // namespace kesmora::fuzz

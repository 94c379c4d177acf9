// libFuzzer entry: each input is the text of a polyhedron file, OFF or OBJ.
#include "file_entry.h"

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Under the German locale printf and strtod would use a decimal comma: the reader and the writers
// must not depend on it. Where that locale is not installed the run is under C.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fault escapes as an exception, which ends the run with the input saved as a crash.
    kesmora::fuzz::exerciseFile(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

// libFuzzer entry: each input is the four catalogue tables joined by the separator line.
#include "fuzz_entry.h"

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The program runs under its users' locale, which its Qt application object takes from the
// environment; under the German one printf and strtod use a decimal comma. The fuzzer runs under
// that locale where it is installed, and under C where it is not.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fault escapes as an exception, which ends the run with the input saved as a crash.
    kesmora::fuzz::exercise(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

// libFuzzer entry: each input is the four catalogue tables joined by the separator line.
#include "fuzz_entry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fault escapes as an exception, which ends the run with the input saved as a crash.
    kesmora::fuzz::exercise(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

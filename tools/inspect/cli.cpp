// Command-line pieces shared by the inspector's commands.
#include "cli.h"

#include "catalogue/tables.h"

#include <charconv>
#include <cstdio>

namespace kesmora::inspect {

int parseCategory(const std::string& s) {
    if (s == "0" || s == "2" || s == "3") return std::stoi(s);
    throw std::runtime_error("unknown category \"" + s + "\" (use 0, 2 or 3)");
}

void parseSize(const std::string& text, int& width, int& height) {
    int w = 0, h = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &rest) != 2 || w < 1 || h < 1 || w > 10000 || h > 10000)
        throw Usage("--size takes WxH, for example 1008x534");
    width = w;
    height = h;
}

int parseWhole(const std::string& text, int low, int high, const std::string& message) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) throw Usage(message);
    return value;
}

void parseTurn(const std::string& text, double (&degrees)[3]) {
    // The catalogue's own strict number reading: no "nan" or "inf", nothing that overflows to them.
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t comma = k < 2 ? text.find(',', start) : text.size();
        const auto value = comma == std::string::npos
                               ? std::nullopt
                               : convertNumber(std::string_view(text).substr(start, comma - start));
        if (!value) throw Usage("--turn takes XY,YZ,XZ: three finite numbers of degrees, for example 10,0,5");
        degrees[k] = *value;
        start = comma + 1;
    }
}

const std::string& optionValue(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw Usage(args[i] + " needs a value");
    return args[++i];
}

} // namespace kesmora::inspect

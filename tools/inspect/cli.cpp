// Command-line pieces shared by the inspector's commands.
#include "cli.h"

#include "catalogue/tables.h"

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

std::array<double, 3> parseTurn(const std::string& text) {
    std::array<double, 3> turn{};
    std::string_view rest = text;
    for (std::size_t k = 0; k < turn.size(); ++k) {
        const std::size_t comma = rest.find(',');
        const bool last = k + 1 == turn.size();
        const auto value = convertNumber(rest.substr(0, comma));
        if (!value || last != (comma == std::string_view::npos))
            throw Usage("--turn takes XY,YZ,XZ in degrees");
        turn[k] = *value;
        rest.remove_prefix(last ? rest.size() : comma + 1);
    }
    return turn;
}

const std::string& optionValue(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw Usage(args[i] + " needs a value");
    return args[++i];
}

} // namespace kesmora::inspect

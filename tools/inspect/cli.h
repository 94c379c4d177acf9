// What the inspector's commands share on the command line: the usage error, the category, sizes
// and option values.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kesmora::inspect {

// A command line the inspector cannot take: reported with the usage text and exit status 2.
struct Usage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int parseCategory(const std::string& text);

// "WxH" with both sides between 1 and 10000.
void parseSize(const std::string& text, int& width, int& height);

// A whole number from low to high and nothing else, or Usage(message).
int parseWhole(const std::string& text, int low, int high, const std::string& message);

// "XY,YZ,XZ": three finite numbers of degrees.
void parseTurn(const std::string& text, double (&degrees)[3]);

// The value after option args[i]; moves i onto it.
const std::string& optionValue(const std::vector<std::string>& args, std::size_t& i);

} // namespace kesmora::inspect

// The command line of an inspector command, declared in one place: its options with the kind of
// value each takes, and its positional arguments. Parsing gives typed values, or throws Usage with
// a message that names the argument at fault.
#pragma once

#include "catalogue/category.h"

#include <array>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kesmora::inspect {

// A command line the inspector cannot take: reported with the usage text and exit status 2.
struct Usage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A body not found by the name given: reported with up to three suggestions, without the usage
// text, and exit status 2.
struct NotFound : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Turns in the planes x-y, y-z and x-z, in degrees.
using Degrees = std::array<double, 3>;

// A word of a choice and the value it stands for.
using Word = std::pair<std::string, int>;

// The typed values of one parsed command line.
class CommandLine {
  public:
    bool given(const std::string& name) const { return values_.count(name) > 0; }
    // The value of a whole-number or choice argument, or `otherwise` when it was not given.
    int number(const std::string& name, int otherwise) const;
    Size size(const std::string& name, Size otherwise) const;
    Degrees degrees(const std::string& name, Degrees otherwise) const;
    std::string text(const std::string& name, const std::string& otherwise = {}) const;
    // The repeated groups of positional arguments, each as given.
    const std::vector<std::vector<std::string>>& groups() const { return groups_; }
    // What follows the first positional argument when parsing stops there.
    const std::vector<std::string>& rest() const { return rest_; }

  private:
    friend class Options;
    using Value = std::variant<bool, int, Size, Degrees, std::string>;
    std::map<std::string, Value> values_;
    std::vector<std::vector<std::string>> groups_;
    std::vector<std::string> rest_;
};

// The declaration of a command's arguments. Options begin with "-" and may stand anywhere; each
// option that takes a value may be given once, and its value is the next argument, taken as it is
// ("-o -", "--turn -10,0,0"). "--" ends the options. Positional arguments fill the declared ones
// in order, then the repeated groups.
class Options {
  public:
    explicit Options(std::string command);

    Options& flag(const std::string& name);
    // A whole number from low to high, nothing before or after it.
    Options& whole(const std::string& name, int low, int high);
    // "WxH", both whole numbers from low to high; `unit` is named in the message.
    Options& size(const std::string& name, int low, int high, const std::string& unit = {});
    // "XY,YZ,XZ": three finite numbers.
    Options& degrees(const std::string& name);
    // Any text; `value` names it in messages ("FILE").
    Options& text(const std::string& name, const std::string& value);
    // One of the words, read as the value paired with it.
    Options& choice(const std::string& name, std::vector<Word> words);
    // The option declared last must be given.
    Options& required();
    // Two flags that contradict each other.
    Options& exclusive(const std::string& first, const std::string& second);
    // A rule about how the arguments go together, applied once all are read; throws Usage.
    Options& check(std::function<void(const CommandLine&)> rule);

    // Positional arguments, in order; those declared optional come last.
    Options& positional(const std::string& name, bool needed = true);
    Options& positionalChoice(const std::string& name, std::vector<Word> words, bool needed = true);
    // After the positional arguments: any number of groups of these, at least one when `needed`.
    // The arguments after the first of a group are taken as they are, even when they begin
    // with "-" (a caption "-" or "--fast").
    Options& groups(std::vector<std::string> names, bool needed);
    // The option declared last takes the place of all the positional arguments: with it they may
    // not be given, without it those declared needed must be.
    Options& insteadOfPositionals();
    // Parsing ends at the first positional argument, which with all after it is left in rest():
    // the options before a command.
    Options& stopAtFirstPositional();

    CommandLine parse(const std::vector<std::string>& args) const;

  private:
    enum class Kind { Flag, Whole, Size, Degrees, Text, Choice };
    struct Spec {
        std::string name;
        Kind kind = Kind::Text;
        int low = 0, high = 0;
        std::string value; // the value's name in messages; for sizes their unit
        std::vector<Word> words;
        bool needed = false;
    };
    Options& add(Spec spec, std::vector<Spec>& to);
    const Spec* option(const std::string& name) const;
    CommandLine::Value read(const Spec& spec, const std::string& text) const;
    Usage positionalsAndTheirReplacement() const;

    std::string command_;
    std::vector<Spec> options_;
    std::vector<Spec> positionals_;
    std::vector<std::pair<std::string, std::string>> exclusive_;
    std::vector<std::function<void(const CommandLine&)>> rules_;
    std::vector<std::string> groupNames_;
    bool groupNeeded_ = false;
    bool stopAtFirstPositional_ = false;
    std::string insteadOfPositionals_; // the option that stands for them, if any
};

// The start of a command about one body: CATEGORY (0, 2 or 3) and NAME, or instead of them
// --file PATH, a polyhedron file (OFF or OBJ). Without `needed` neither is needed.
// The position of --morph, checked: 0 to 1.
double morphPosition(const CommandLine& line);

Options bodyCommand(const std::string& command, bool needed = true);

// The category of KATEGORIE, checked by bodyCommand: a section number or a category's name
// (catalogue/namematch.h).
Category categoryOf(const CommandLine& line);

} // namespace kesmora::inspect
